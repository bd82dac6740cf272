#include "ui/dialogs/CommonDlg.h"

#include "platform/ResourceText.h"
#include "ui/Translate.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/LinkLabel.h"
#include "ui/dialogs/ManualPath.h"
#include "ui/dialogs/UIFontTable.h"
#include "ui/dialogs/WindowPrompts.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>

#include <span>

namespace ui {

namespace {

struct Line {
    unsigned id;
    const char* text;
    bool gapBefore = false; // a little space sets it apart from the line above
};

constexpr unsigned kIdHeading = 1294;
// The certification number is the device's, whatever the language says.
constexpr unsigned kIdCertification = 1193;
const char kCertification[] = "医療機器認証番号：418QWMTR00052000";

constexpr Line kVariousLines[] = {
    {1299, "Rhythmora 心電図データ管理ソフトウェア"},
    {1324, "Version: 1.0.1"},
    {1300, "REF TRV-RHY-0101"},
    {1302, "UDI (01)TRV520(21)SW-1.0.1"},
    {1301, "本製品はIPAフォントを使用しています。", true},
};
constexpr Line kVariousLink{1298, "ソフトウェアライセンスを表示する"};
const char kVariousHeading[] = "各種情報";
constexpr unsigned kVariousBlockId = 1304;
constexpr int kVariousBlockHeight = 250;

constexpr Line kRegulatoryLines[] = {
    {1323, "分類：管理医療機器 特定保守管理医療機器"},
    {1304, "一般的名称：発作時心臓活動記録装置"},
    {1191, "販売名：Torvane 携帯型心電計", true},
    {1192, "Vtq520"},
    {kIdCertification, ""},
    {1194, "製造販売業者：Torvane株式会社", true},
    {1195, "所在地は添付文書をご覧ください。"},
};
constexpr Line kRegulatoryLink{1196, "添付文書はこちら", true};
const char kRegulatoryHeading[] = "規制情報";
constexpr unsigned kRegulatoryBlockId = 1298;
constexpr int kRegulatoryBlockHeight = 285;

struct Texts {
    QWidget* heading;
    CLinkLabel* link;
};

Texts BuildTexts(QWidget* block, const char* heading, std::span<const Line> lines,
                 const Line& link) {
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(24, 20, 24, 20);
    column->setSpacing(6);
    const Texts texts{MakeStatic(block, kIdHeading, QString::fromUtf8(heading)),
                      new CLinkLabel(QString::fromUtf8(link.text), block)};
    column->addWidget(texts.heading);
    column->addSpacing(14);
    for (const Line& line : lines) {
        if (line.gapBefore) {
            column->addSpacing(10);
        }
        column->addWidget(MakeStatic(block, line.id, QString::fromUtf8(line.text)));
    }
    SetControlId(texts.link, link.id);
    if (link.gapBefore) {
        column->addSpacing(10);
    }
    column->addWidget(texts.link, 0, Qt::AlignLeft);
    column->addStretch(1);
    return texts;
}

} // namespace

CommonDlg::CommonDlg(int templateId, QWidget* parent)
    : QDialog(parent), m_nTemplateId(templateId), m_openDocument(OpenDocument) {
    const bool various = templateId != kRegulatory;
    MakeCaptionlessPopup(this, ToQt(platform::LoadText(57344)));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(0);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* whiteBlock = new QWidget(this);
    SetWhiteBackground(whiteBlock);
    SetControlId(whiteBlock, various ? kVariousBlockId : kRegulatoryBlockId);
    whiteBlock->setMinimumHeight(various ? kVariousBlockHeight : kRegulatoryBlockHeight);
    const Texts texts =
        various ? BuildTexts(whiteBlock, kVariousHeading, kVariousLines, kVariousLink)
                : BuildTexts(whiteBlock, kRegulatoryHeading, kRegulatoryLines, kRegulatoryLink);
    m_pHeading = texts.heading;
    m_pLink = texts.link;
    const unsigned documentId = various ? kLicenceTextId : kAttachedDocumentTextId;
    m_pLink->SetOnClick([this, documentId] { OpenManualDocument(documentId); });
    outer->addWidget(whiteBlock);

    m_pOk = new CCommonButton(QStringLiteral("OK"), this);
    SetControlId(m_pOk, platform::kIdOk);
    m_pOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(20, 14, 20, 14);
    buttons->addStretch(1);
    buttons->addWidget(m_pOk);
    buttons->addStretch(1);
    outer->addLayout(buttons);
    connect(m_pOk, &QPushButton::clicked, this, [this] { done(platform::kIdOk); });
    setTabOrder(m_pLink, m_pOk);
}

void CommonDlg::InitDialog() {
    TranslateDialog(this, static_cast<unsigned>(m_nTemplateId));
    StylePrimary(m_pOk);
    ApplyUIFont(this, 1, true);
    ApplyUIFont(m_pHeading, 7, false);
    ApplyUIFont(m_pOk, 4, false);
    ApplyUIFont(m_pLink, 8, false);
    if (m_nTemplateId == kRegulatory) {
        if (auto* certification = Control(kIdCertification)) {
            certification->setText(QString::fromUtf8(kCertification));
        }
    }
    m_pOk->setFocus();
}

QLabel* CommonDlg::Control(unsigned id) const {
    for (QLabel* label : findChildren<QLabel*>()) {
        if (ControlId(label) == id) {
            return label;
        }
    }
    return nullptr;
}

int CommonDlg::DoModal() {
    InitDialog();
    return exec();
}

void CommonDlg::SetDocumentOpener(std::function<bool(const std::string&)> opener) {
    m_openDocument = std::move(opener);
}

void CommonDlg::OpenManualDocument(unsigned stringId) {
    const std::string path = BuildManualPath(stringId);
    if (m_openDocument && m_openDocument(path)) {
        return;
    }
    std::string message = platform::LoadText(61448);
    if (!path.empty()) {
        message += "\n" + path;
    }
    CWindowPrompts windowPrompts;
    platform::IUserPrompts& prompts = m_pPrompts != nullptr ? *m_pPrompts : windowPrompts;
    prompts.ShowMessage(message, platform::MessageIcon::Hand);
}

void CommonDlg::reject() {
    done(platform::kIdCancel);
}

void CommonDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawThinBorder(painter, this);
}

} // namespace ui
