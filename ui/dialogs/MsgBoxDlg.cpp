#include "ui/dialogs/MsgBoxDlg.h"

#include "platform/ResourceText.h"
#include "platform/UserPrompts.h"
#include "ui/Artwork.h"
#include "ui/Translate.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/UIFontTable.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include <algorithm>

namespace ui {

namespace {

// The template's texts; a language file may replace those with ids.
const char kTemplateOk[] = "OK";
const char kTemplateCancel[] = "キャンセル";
const char kYes[] = "はい(&Y)";
const char kNo[] = "いいえ(&N)";
const char kPrint[] = "印刷";
const char kTemplateMarked[] = "印刷ボックスでマークした（";
const char kTemplateMarkedTail[] = "）心電図データ";
const char kTemplateFocused[] = "フォーカスで選択した心電図データ";

constexpr unsigned kMarkArtworkId = 315;
constexpr int kMarkPictureSize = 22;
constexpr int kWhiteBlockHeight = 165;
// The heading starts 20 pixels from the top and the message 60.
constexpr int kTextMargin = 20;
constexpr int kHeadingBlockHeight = 40;
// The text column grows with long lines up to a width that still reads
// well, then wraps.
constexpr int kMinTextWidth = 300;
constexpr int kMaxTextWidth = 520;
// What the dialog needs besides the message: heading, choice and buttons.
constexpr int kRoomAroundMessage = 260;

int LongestLine(const QString& text, const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

} // namespace

MsgBoxDlg::MsgBoxDlg(QWidget* parent) : QDialog(parent) {
    BuildControls();
}

MsgBoxDlg::MsgBoxDlg(const std::string& heading, const std::string& message, int type,
                     QWidget* parent)
    : QDialog(parent), m_strHeading(heading), m_strMessage(message), m_nType(type) {
    BuildControls();
}

void MsgBoxDlg::BuildControls() {
    MakeCaptionlessPopup(this, ToQt(platform::LoadText(57344)));

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(1, 1, 1, 1);
    outer->setSpacing(0);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    auto* whiteBlock = new QWidget(this);
    SetControlId(whiteBlock, kIdWhiteBlock);
    SetWhiteBackground(whiteBlock);
    whiteBlock->setMinimumHeight(kWhiteBlockHeight);
    auto* text = new QVBoxLayout(whiteBlock);
    text->setContentsMargins(kTextMargin, kTextMargin, kTextMargin, kTextMargin);
    text->setSpacing(0);

    m_pHeading = MakeStatic(whiteBlock, kIdHeading, {});
    m_pHeading->setWordWrap(true);
    m_pHeading->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pHeading->setMinimumHeight(kHeadingBlockHeight);
    m_pMessage = MakeStatic(whiteBlock, kIdMessage, {});
    m_pMessage->setWordWrap(true);
    m_pMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Normally exactly as tall as the message; a message taller than the
    // screen scrolls instead of running off it.
    m_pMessageArea = new QScrollArea(whiteBlock);
    m_pMessageArea->setFrameShape(QFrame::NoFrame);
    m_pMessageArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pMessageArea->setWidget(m_pMessage);
    SetWhiteBackground(m_pMessageArea->viewport());
    text->addWidget(m_pHeading);
    text->addWidget(m_pMessageArea);

    // The choice of what to print: the marked recordings (with the mark's
    // picture between the two halves of the text) or the focused one.
    m_pRadioMarked = new QRadioButton(whiteBlock);
    SetControlId(m_pRadioMarked, kIdRadioMarked);
    m_pMarkPicture = new QLabel(whiteBlock);
    SetControlId(m_pMarkPicture, kIdMarkPicture);
    m_pMarkPicture->setFixedSize(kMarkPictureSize, kMarkPictureSize);
    m_pMarkPicture->setPixmap(ArtworkPixmap(
        kMarkArtworkId, QSize(kMarkPictureSize, kMarkPictureSize), devicePixelRatioF()));
    m_pMarkedTail = MakeStatic(whiteBlock, kIdMarkedTail, {});
    m_pRadioFocused = new QRadioButton(whiteBlock);
    SetControlId(m_pRadioFocused, kIdRadioFocused);
    auto* markedRow = new QHBoxLayout;
    markedRow->setSpacing(2);
    markedRow->addWidget(m_pRadioMarked);
    markedRow->addWidget(m_pMarkPicture);
    markedRow->addWidget(m_pMarkedTail);
    markedRow->addStretch(1);
    text->addSpacing(12);
    text->addLayout(markedRow);
    text->addSpacing(6);
    text->addWidget(m_pRadioFocused);
    text->addStretch(1);
    outer->addWidget(whiteBlock);

    m_pBtn1 = new CCommonButton(this);
    SetControlId(m_pBtn1, platform::kIdOk);
    m_pBtn2 = new CCommonButton(this);
    SetControlId(m_pBtn2, platform::kIdCancel);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(kTextMargin, 14, kTextMargin, 14);
    buttons->setSpacing(36);
    buttons->addStretch(1);
    buttons->addWidget(m_pBtn1);
    buttons->addWidget(m_pBtn2);
    buttons->addStretch(1);
    outer->addLayout(buttons);

    setTabOrder(m_pBtn1, m_pBtn2);
    setTabOrder(m_pBtn2, m_pRadioMarked);
    setTabOrder(m_pRadioMarked, m_pRadioFocused);

    connect(m_pBtn1, &QPushButton::clicked, this, [this] { done(platform::kIdOk); });
    connect(m_pBtn2, &QPushButton::clicked, this, [this] { done(platform::kIdCancel); });
    connect(m_pRadioMarked, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            SetChoice(kChoiceMarked);
        }
    });
    connect(m_pRadioFocused, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            SetChoice(kChoiceFocused);
        }
    });
    for (QWidget* control :
         {static_cast<QWidget*>(m_pBtn1), static_cast<QWidget*>(m_pBtn2),
          static_cast<QWidget*>(m_pRadioMarked), static_cast<QWidget*>(m_pRadioFocused)}) {
        control->installEventFilter(this);
    }
}

void MsgBoxDlg::InitDialog() {
    m_pBtn1->setText(QString::fromUtf8(kTemplateOk));
    m_pBtn2->setText(QString::fromUtf8(kTemplateCancel));
    m_pRadioMarked->setText(QString::fromUtf8(kTemplateMarked));
    m_pMarkedTail->setText(QString::fromUtf8(kTemplateMarkedTail));
    m_pRadioFocused->setText(QString::fromUtf8(kTemplateFocused));
    TranslateDialog(this, kTemplateId);

    // In the yes/no form "no" is the emphasised answer.
    if (YesNoForm()) {
        StyleSecondary(m_pBtn1);
        StylePrimary(m_pBtn2);
    } else {
        StylePrimary(m_pBtn1);
        StyleSecondary(m_pBtn2);
    }
    if (PrintChoiceForm()) {
        m_pRadioMarked->setChecked(true);
        m_pRadioFocused->setChecked(false);
        m_nChoice = kChoiceMarked;
    }

    ApplyUIFont(this, 1, true);
    ApplyUIFont(m_pHeading, 7, false);
    ApplyUIFont(m_pMessage, 1, false);
    m_pHeading->setText(ToQt(m_strHeading));
    m_pMessage->setText(ToQt(m_strMessage));

    if (m_nType == kTypeOneOk) {
        m_pBtn2->setText(m_pBtn1->text());
    } else if (TwoButtonForm()) {
        if (m_nMode == kModeYesNo) {
            m_pBtn1->setText(QString::fromUtf8(kYes));
            m_pBtn2->setText(QString::fromUtf8(kNo));
        } else if (m_nMode == kModePrintChoice) {
            m_pBtn1->setText(QString::fromUtf8(kPrint));
        } else if (!m_strOkText.empty()) {
            m_pBtn1->setText(ToQt(m_strOkText));
        }
    }
    m_pBtn1->setVisible(TwoButtonForm());
    for (QWidget* choice :
         {static_cast<QWidget*>(m_pRadioMarked), static_cast<QWidget*>(m_pMarkPicture),
          static_cast<QWidget*>(m_pMarkedTail), static_cast<QWidget*>(m_pRadioFocused)}) {
        choice->setVisible(PrintChoiceForm());
    }
    SizeToText();
    (TwoButtonForm() ? m_pBtn1 : m_pBtn2)->setFocus();
}

void MsgBoxDlg::SizeToText() {
    int width = std::max(LongestLine(m_pHeading->text(), m_pHeading->font()),
                         LongestLine(m_pMessage->text(), m_pMessage->font()));
    // A little slack: the label needs a few pixels more than the advance.
    width = std::clamp(width + 8, kMinTextWidth, kMaxTextWidth);
    if (PrintChoiceForm()) {
        const int marked = m_pRadioMarked->sizeHint().width() + kMarkPictureSize +
                           m_pMarkedTail->sizeHint().width() + 8;
        width = std::max({width, marked, m_pRadioFocused->sizeHint().width()});
    }
    m_pHeading->setFixedWidth(width);
    m_pMessage->setFixedWidth(width);
    const int messageHeight = m_pMessage->heightForWidth(width);
    m_pMessage->setFixedHeight(messageHeight);
    const int room = screen()->availableGeometry().height() - kRoomAroundMessage;
    if (messageHeight > room) {
        m_pMessageArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // Reachable with Tab, so the keys scroll it.
        m_pMessageArea->setFocusPolicy(Qt::StrongFocus);
        m_pMessageArea->setFixedSize(
            width + m_pMessageArea->verticalScrollBar()->sizeHint().width(), std::max(room, 1));
    } else {
        m_pMessageArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_pMessageArea->setFocusPolicy(Qt::NoFocus);
        m_pMessageArea->setFixedSize(width, messageHeight);
    }
    layout()->activate();
}

int MsgBoxDlg::DoModal() {
    InitDialog();
    return exec();
}

void MsgBoxDlg::reject() {
    done(platform::kIdCancel);
}

void MsgBoxDlg::AnswerEnter() {
    if (!TwoButtonForm() || focusWidget() == m_pBtn2) {
        m_pBtn2->click();
    } else {
        done(platform::kIdOk);
    }
}

void MsgBoxDlg::SetChoice(int choice) {
    m_nChoice = choice;
}

void MsgBoxDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        AnswerEnter();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MsgBoxDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QDialog::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        AnswerEnter();
        return true;
    }
    // Left means "yes" and Right "no"; going on past either end would
    // wrap round to the other answer.
    if (YesNoForm() && (key == Qt::Key_Left || key == Qt::Key_Right) &&
        (watched == m_pBtn1 || watched == m_pBtn2)) {
        if (key == Qt::Key_Left) {
            m_pBtn1->setFocus(Qt::BacktabFocusReason);
        } else {
            m_pBtn2->setFocus(Qt::TabFocusReason);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void MsgBoxDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawThinBorder(painter, this);
}

} // namespace ui
