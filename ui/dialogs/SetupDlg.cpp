#include "ui/dialogs/SetupDlg.h"

#include "app/ECGOptions.h"
#include "app/FolderChoice.h"
#include "platform/ResourceText.h"
#include "ui/Translate.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/UIFontTable.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace ui {

namespace {

const char kTemplateCaption[] = "オプション";
const char kTemplateGroup[] = "データフォルダー";
const char kTemplateFolderLabel[] = "心電図データを保存するフォルダー：";
const char kTemplateHint[] =
    "SDカードやドライブの最上位ではなく、パソコンのフォルダーを選んでください。";
const char kTemplateBrowse[] = "参照...";
const char kTemplateOk[] = "OK";
const char kTemplateCancel[] = "キャンセル";

constexpr unsigned kTextBrowseTitle = 10047; // "Select Computer Save Folder."

constexpr int kMargin = 20;
// Room for a typical home-folder path without scrolling the edit box.
constexpr int kMinFolderWidth = 420;

QString BrowseForFolder(QWidget* owner, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, ToQt(platform::LoadText(kTextBrowseTitle)),
                                             start, QFileDialog::ShowDirsOnly);
}

} // namespace

CSetupDlg::CSetupDlg(app::CECGOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options), m_chooseFolder(BrowseForFolder) {
    BuildControls();
}

void CSetupDlg::BuildControls() {
    setWindowTitle(QString::fromUtf8(kTemplateCaption));
    SetWhiteBackground(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kMargin, kMargin - 4, kMargin, 16);
    column->setSpacing(12);
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* group = new QGroupBox(QString::fromUtf8(kTemplateGroup), this);
    SetControlId(group, kIdFolderGroup);
    auto* inGroup = new QVBoxLayout(group);
    inGroup->setContentsMargins(12, 10, 12, 12);
    inGroup->setSpacing(6);

    QLabel* folderLabel =
        MakeStatic(group, kIdFolderLabel, QString::fromUtf8(kTemplateFolderLabel));
    m_pFolder = new QLineEdit(group);
    SetControlId(m_pFolder, kIdFolderEdit);
    m_pFolder->setReadOnly(true);
    m_pFolder->setMinimumWidth(kMinFolderWidth);
    folderLabel->setBuddy(m_pFolder);
    m_pBrowse = new CCommonButton(QString::fromUtf8(kTemplateBrowse), group);
    SetControlId(m_pBrowse, kIdBrowse);
    auto* folderRow = new QHBoxLayout;
    folderRow->setSpacing(8);
    folderRow->addWidget(m_pFolder, 1);
    folderRow->addWidget(m_pBrowse);
    QLabel* hint = MakeStatic(group, kIdHintLabel, QString::fromUtf8(kTemplateHint));
    hint->setWordWrap(true);
    inGroup->addWidget(folderLabel);
    inGroup->addLayout(folderRow);
    inGroup->addWidget(hint);
    column->addWidget(group);

    m_pOk = new CCommonButton(QString::fromUtf8(kTemplateOk), this);
    SetControlId(m_pOk, platform::kIdOk);
    m_pCancel = new CCommonButton(QString::fromUtf8(kTemplateCancel), this);
    SetControlId(m_pCancel, platform::kIdCancel);
    m_pOk->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    buttons->addWidget(m_pOk);
    buttons->addWidget(m_pCancel);
    column->addLayout(buttons);

    setTabOrder(m_pFolder, m_pBrowse);
    setTabOrder(m_pBrowse, m_pOk);
    setTabOrder(m_pOk, m_pCancel);
    connect(m_pBrowse, &QPushButton::clicked, this, &CSetupDlg::OnBrowse);
    connect(m_pOk, &QPushButton::clicked, this, &CSetupDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CSetupDlg::reject);
}

void CSetupDlg::SetPrompts(platform::IUserPrompts* prompts) {
    m_pPrompts = prompts;
}

void CSetupDlg::SetFolderChooser(FolderChooser chooser) {
    m_chooseFolder = chooser ? std::move(chooser) : FolderChooser(BrowseForFolder);
}

platform::IUserPrompts& CSetupDlg::Prompts() {
    return m_pPrompts != nullptr ? *m_pPrompts : m_windowPrompts;
}

void CSetupDlg::InitDialog() {
    TranslateDialog(this, kTemplateId);
    ApplyUIFont(this, 1, true);
    StylePrimary(m_pOk);
    StyleSecondary(m_pCancel);
    StyleSecondary(m_pBrowse);
    m_pFolder->setText(ToQt(m_options.dirHdd));
    // The start of a long path says most about where it lies.
    m_pFolder->setCursorPosition(0);
    adjustSize();
    m_pBrowse->setFocus();
}

int CSetupDlg::DoModal() {
    InitDialog();
    return exec();
}

void CSetupDlg::OnBrowse() {
    QString chosen = m_chooseFolder(this, m_pFolder->text());
    if (chosen.isEmpty()) {
        return;
    }
    if (!chosen.endsWith(QLatin1Char('/'))) {
        chosen += QLatin1Char('/');
    }
    m_pFolder->setText(chosen);
    m_pFolder->setCursorPosition(0);
}

void CSetupDlg::accept() {
    const std::string folder = m_pFolder->text().toStdString();
    const app::FolderRefusal refusal = app::CheckDataFolder(folder, app::ReadDriveTable());
    if (refusal != app::FolderRefusal::kNone) {
        Prompts().ShowMessage(app::RefusalText(refusal), platform::MessageIcon::Exclamation);
        return;
    }
    m_options.SetDirHdd(folder);
    done(platform::kIdOk);
}

void CSetupDlg::reject() {
    done(platform::kIdCancel);
}

} // namespace ui
