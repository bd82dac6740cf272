#include "ui/dialogs/SearchDlg.h"

#include "app/ECGOptions.h"
#include "platform/UserPrompts.h"
#include "ui/Translate.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/DialogPlacement.h"
#include "ui/dialogs/UIFontTable.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPainter>

#include <algorithm>

namespace ui {

namespace {

const char kTemplateCaption[] = "検索";
const char kTemplateAll[] = "全て";
const char* const kTemplateGroups[records::kSearchSwitchCount] = {
    "乱れなし", "心拍遅め", "心拍速め", "拍動に乱れ", "波形に乱れ", "解析できません",
};
const char kTemplateOk[] = "OK";
const char kTemplateCancel[] = "キャンセル";

// The grey rule under the "all" box.
constexpr int kRuleTop = 40;
constexpr int kRuleInset = 16;
const QColor kRuleColour(128, 128, 128);

} // namespace

CSearchDlg::CSearchDlg(app::CECGOptions& options, QWidget* parent)
    : QDialog(parent), m_options(options) {
    BuildControls();
}

void CSearchDlg::BuildControls() {
    setWindowTitle(QString::fromUtf8(kTemplateCaption));
    SetWhiteBackground(this);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kRuleInset + 4, 6, kRuleInset + 4, 16);
    column->setSpacing(6);
    column->setSizeConstraint(QLayout::SetFixedSize);

    m_pAll = new QCheckBox(QString::fromUtf8(kTemplateAll), this);
    SetControlId(m_pAll, kIdAll);
    // The box sits in the band above the rule, the groups below it.
    m_pAll->setFixedHeight(kRuleTop - 6 - 4);
    column->addWidget(m_pAll);
    column->addSpacing(12);
    for (int i = 0; i < records::kSearchSwitchCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kTemplateGroups[i]), this);
        SetControlId(box, kIdFirstGroup + static_cast<unsigned>(i));
        column->addWidget(box);
        m_groups[static_cast<std::size_t>(i)] = box;
        connect(box, &QCheckBox::clicked, this, &CSearchDlg::OnGroupClicked);
    }
    connect(m_pAll, &QCheckBox::clicked, this, &CSearchDlg::OnAllClicked);

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
    column->addSpacing(14);
    column->addLayout(buttons);
    connect(m_pOk, &QPushButton::clicked, this, &CSearchDlg::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CSearchDlg::reject);
}

void CSearchDlg::InitDialog() {
    TranslateDialog(this, kTemplateId);
    ApplyUIFont(this, 1, true);
    StylePrimary(m_pOk);
    StyleSecondary(m_pCancel);

    bool anyOn = false;
    for (std::size_t i = 0; i < m_groups.size(); ++i) {
        const bool on = m_options.searchColumns[i] != 0;
        m_groups[i]->setChecked(on);
        anyOn = anyOn || on;
    }
    m_pAll->setChecked(false);
    // No switch on means no filter: every group is shown, so every box is.
    if (!anyOn) {
        m_pAll->setChecked(true);
        for (QCheckBox* box : m_groups) {
            box->setChecked(true);
        }
    }
    ensurePolished();
    adjustSize();
    MoveOnScreen(this, QPoint(m_options.searchDlgX, m_options.searchDlgY));
    m_pAll->setFocus();
}

int CSearchDlg::DoModal() {
    InitDialog();
    return exec();
}

void CSearchDlg::OnAllClicked(bool on) {
    for (QCheckBox* box : m_groups) {
        box->setChecked(on);
    }
}

void CSearchDlg::OnGroupClicked(bool on) {
    if (!on) {
        m_pAll->setChecked(false);
        return;
    }
    const bool allOn = std::all_of(m_groups.begin(), m_groups.end(),
                                   [](QCheckBox* box) { return box->isChecked(); });
    if (allOn) {
        m_pAll->setChecked(true);
    }
}

void CSearchDlg::accept() {
    const bool all = m_pAll->isChecked();
    for (std::size_t i = 0; i < m_groups.size(); ++i) {
        m_options.SetSearchColumn(static_cast<int>(i), all || m_groups[i]->isChecked() ? 1 : 0);
    }
    done(platform::kIdOk);
}

void CSearchDlg::reject() {
    done(platform::kIdCancel);
}

void CSearchDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only a shown window knows the size of its frame; placed again, the
    // frame too stays on the screen.
    MoveOnScreen(this, QPoint(m_options.searchDlgX, m_options.searchDlgY));
}

void CSearchDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(kRuleColour);
    painter.drawLine(kRuleInset, kRuleTop, width() - kRuleInset - 1, kRuleTop);
}

} // namespace ui
