#include "ui/dialogs/UserMemo.h"

#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "platform/UserPrompts.h"
#include "records/ECGContentsData.h"
#include "ui/Artwork.h"
#include "ui/Translate.h"
#include "ui/dialogs/CommonButton.h"
#include "ui/dialogs/DialogLook.h"
#include "ui/dialogs/UIFontTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <ctime>
#include <initializer_list>
#include <span>

namespace ui {

namespace {

const char kTemplateCaption[] = "ユーザーメモ";
const char* const kTemplateSituations[CUserMemo::kSituationCount] = {
    "1.起床時", "2.食事後", "3.安静時", "4.トイレの後", "5.喫煙後 ",
    "6.入浴後", "7.運動後", "8.飲酒後", "9.服薬後",     "10.その他（30文字まで）",
};
const char* const kTemplateSymptoms[CUserMemo::kSymptomCount] = {
    "1.胸の痛み",       "2.胸の圧迫感",   "3.胸がちくちくする",
    "4.息苦しい",       "5.どきどきする", "6.ぼーっとする",
    "7.意識が遠くなる", "8.脈が飛ぶ",     "9.その他（30文字まで）",
    "10.異常なし",
};
const char* const kTemplatePostures[CUserMemo::kPostureCount] = {
    "1．座った姿勢",
    "2．立った姿勢",
    "3．あおむけになった姿勢",
};
const char* const kTemplatePositions[CUserMemo::kPositionCount] = {
    "1.胸1(V1)", "2.胸2(V2)", "3.胸3(V3)", "4.胸4(V4) ※標準",
    "5.胸5(V5)", "6.胸6(V6)", "7.腹",      "8.手のひら",
};
const char kTemplateClear[] = "選択クリア";
const char kTemplateOk[] = "OK";
const char kTemplateCancel[] = "キャンセル";

constexpr unsigned kIdSituationHeading = 1244;
constexpr unsigned kIdSymptomHeading = 1227;
constexpr unsigned kIdSymptomNote = 1256;
constexpr unsigned kIdPostureHeading = 1254;
constexpr unsigned kIdPositionHeading = 1231;
constexpr unsigned kIdHeart = 1189;
constexpr unsigned kIdBpm = 1230;
constexpr unsigned kIdHeaderFrame = 1192;
constexpr unsigned kIdPositionPicture = 1190;

constexpr unsigned kArtHeart = 279;
constexpr unsigned kArtWhiteBlock = 334;
constexpr unsigned kArtPositions = 263;

constexpr unsigned kTextNoWeekday = 61999;
constexpr unsigned kTextSunday = 62000;
constexpr unsigned kTextYear = 62007;
constexpr unsigned kTextMonthDay = 62008;
constexpr unsigned kTextHourMinute = 62011;
constexpr unsigned kTextFirstResult = 62020;
constexpr unsigned kTextHeartRate = 62092;
constexpr unsigned kTextTextLimit = 62440;
constexpr int kLastResultClass = 12;
constexpr int kMinHeartRate = 30;
constexpr int kMaxHeartRate = 200;
const char kUndatedText[] = "----/--/--(-) --:--";

const QColor kDateColour(108, 108, 108);
const QColor kOverLimitColour(255, 0, 0);

// The client area and the places of the layout; a language whose options
// are wider than these places moves them right, and one that no longer
// fits a row starts a new row, which moves everything below down.
constexpr int kClientWidth = 684;
constexpr int kClientHeight = 686;
constexpr int kMargin = 24;
constexpr int kOptionHeight = 28;
constexpr int kRowPitch = 36;
constexpr int kOptionGap = 10;
constexpr QRect kHeaderFrame{24, 18, 476, 92};
constexpr QSize kButtonSize{120, 32};
constexpr int kButtonsRightInset = 40;
constexpr QSize kEditSize{429, 32};
constexpr int kEditGap = 16;
constexpr QSize kPictureSize{170, 120};
constexpr int kPictureRightInset = 39;
constexpr int kPictureGap = 12;
constexpr int kClearButtonGap = 16;
constexpr int kNoteGap = 40;

struct OptionRow {
    int y;
    std::initializer_list<int> xs;
};
// The rows of a run flow into each other: an option that no longer fits on
// its line starts the next one, and the rest of the run follows it there.
using OptionRun = std::initializer_list<OptionRow>;

constexpr int kSymptomHeadingY = 122;
const OptionRun kSymptomRuns[] = {
    {{146, {24, 146, 288, 430, 538}}, {182, {24, 146, 288}}}, {{218, {24}}}, {{254, {24}}}};
constexpr int kSituationHeadingY = 303;
constexpr int kSituationClearY = 294;
const OptionRun kSituationRuns[] = {{{334, {24, 126, 228, 330, 432, 534}}, {370, {24, 126, 228}}},
                                    {{406, {24}}}};
constexpr int kPostureHeadingY = 454;
constexpr int kPostureClearY = 446;
const OptionRun kPostureRuns[] = {{{486, {24, 144, 264}}}};
constexpr int kPositionHeadingY = 534;
constexpr int kPositionClearY = 526;
constexpr int kPositionPictureY = 510;
const OptionRun kPositionRuns[] = {{{566, {24, 122, 220, 318}}, {602, {24, 122, 220, 318}}}};

// The row of the free-text options, whose edit follows on the same line.
constexpr int kEditOffsetY = -2;

// The header's fonts from the shared table: the date, the result text
// (largest first, the first that fits), the heart rate and its unit.
constexpr int kFontOption = 1;
constexpr int kFontHeading = 4;
constexpr int kFontDate = 0;
constexpr int kAnalysisFonts[] = {3, 0, 1, 2};
constexpr int kFontHeartRate = 12;
constexpr int kFontBpm = 11;
constexpr int kFontMainButton = 4;

QString Text(unsigned id) {
    return ToQt(platform::LoadText(id));
}

QString DateText(const records::CECGContentsData& record) {
    if (record.IsUndated()) {
        return QString::fromUtf8(kUndatedText);
    }
    const auto time = static_cast<std::time_t>(record.GetRecordTime());
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) {
        return QString::fromUtf8(kUndatedText);
    }
    const unsigned weekday = local.tm_wday >= 0 && local.tm_wday <= 6
                                 ? kTextSunday + static_cast<unsigned>(local.tm_wday)
                                 : kTextNoWeekday;
    const std::string weekdayName = platform::LoadText(weekday);
    using platform::FormatText;
    using platform::LoadText;
    const std::string text = FormatText(LoadText(kTextYear), {std::int64_t{local.tm_year} + 1900}) +
                             FormatText(LoadText(kTextMonthDay), {std::int64_t{local.tm_mon} + 1,
                                                                  std::int64_t{local.tm_mday},
                                                                  std::string_view(weekdayName)}) +
                             "  " +
                             FormatText(LoadText(kTextHourMinute),
                                        {std::int64_t{local.tm_hour}, std::int64_t{local.tm_min}});
    return ToQt(text);
}

QString HeartRateText(int rate) {
    if (rate < kMinHeartRate || rate > kMaxHeartRate) {
        return QStringLiteral("--");
    }
    return ToQt(platform::FormatText(platform::LoadText(kTextHeartRate), {std::int64_t{rate}}));
}

QString AnalysisText(int analysisClass) {
    if (analysisClass < 0 || analysisClass > kLastResultClass) {
        return {};
    }
    return Text(kTextFirstResult + static_cast<unsigned>(analysisClass));
}

// The severity bar's picture; 0 for none (severity 0 shows no bar).
unsigned SeverityArtwork(int severity) {
    switch (severity) {
    case 1:
        return 364;
    case 2:
        return 274;
    case 3:
        return 363;
    default:
        return 0;
    }
}

int Bit(int index) {
    return 1 << index;
}

template <typename Button, std::size_t N> int CheckedBits(const std::array<Button*, N>& buttons) {
    int bits = 0;
    for (std::size_t i = 0; i < N; ++i) {
        if (buttons[i]->isChecked()) {
            bits |= Bit(static_cast<int>(i));
        }
    }
    return bits;
}

template <typename Button, std::size_t N>
void CheckBits(const std::array<Button*, N>& buttons, int bits) {
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i]->setChecked((bits & Bit(static_cast<int>(i))) != 0);
    }
}

template <typename Button, std::size_t N>
void MakeOptions(QWidget* parent, std::array<Button*, N>& buttons, const char* const* texts,
                 unsigned firstId, QButtonGroup* group) {
    for (std::size_t i = 0; i < N; ++i) {
        auto* button = new Button(QString::fromUtf8(texts[i]), parent);
        SetControlId(button, firstId + static_cast<unsigned>(i));
        if (group != nullptr) {
            group->addButton(button, static_cast<int>(i));
        }
        buttons[i] = button;
    }
}

int TextWidth(const QWidget* widget) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        return QFontMetrics(label->font()).horizontalAdvance(label->text());
    }
    return widget->sizeHint().width();
}

// Places the options of one group below everything placed before; the
// running shift grows by a row for each line a run needs beyond its rows.
class CRowPlacer {
public:
    int Shift() const { return m_nShift; }
    int Y(int partY) const { return partY + m_nShift; }

    template <typename Button, std::size_t N>
    void PlaceRuns(const std::array<Button*, N>& buttons, std::span<const OptionRun> runs,
                   int rightLimit) {
        std::size_t next = 0;
        for (const OptionRun& run : runs) {
            const int top = Y(run.begin()->y);
            int line = 0;
            int right = -1;
            bool flowing = false;
            for (const OptionRow& row : run) {
                if (!flowing && right >= 0) {
                    ++line;
                    right = -1;
                }
                for (const int partX : row.xs) {
                    if (next == N) {
                        break;
                    }
                    Button* button = buttons[next++];
                    const int width = button->sizeHint().width();
                    int x = right < 0 ? (flowing ? kMargin : partX)
                                      : std::max(flowing ? 0 : partX, right + kOptionGap);
                    if (right >= 0 && x + width > rightLimit) {
                        ++line;
                        x = kMargin;
                        flowing = true;
                    }
                    button->setGeometry(x, top + line * kRowPitch, width, kOptionHeight);
                    right = x + width;
                }
            }
            m_nShift += std::max(0, line + 1 - static_cast<int>(run.size())) * kRowPitch;
        }
    }

private:
    int m_nShift = 0;
};

void PlaceLabel(QWidget* label, int x, int y) {
    label->setGeometry(x, y, TextWidth(label) + 2, label->sizeHint().height());
}

} // namespace

CUserMemo::CUserMemo(records::CECGContentsData& record, QWidget* parent)
    : QDialog(parent), m_record(record) {
    BuildControls();
}

void CUserMemo::SetPrompts(platform::IUserPrompts* prompts) {
    m_pPrompts = prompts != nullptr ? prompts : &m_windowPrompts;
}

void CUserMemo::BuildControls() {
    setWindowTitle(QString::fromUtf8(kTemplateCaption));
    QPalette face = palette();
    face.setColor(QPalette::Window, kDialogFaceColour);
    face.setColor(QPalette::WindowText, Qt::black);
    face.setColor(QPalette::Base, Qt::white);
    face.setColor(QPalette::Text, Qt::black);
    setPalette(face);
    setAutoFillBackground(true);

    BuildHeader();

    // Made in the order of the tab chain: the groups from the top down, each
    // clear button before its options, each free text after its option.
    m_pSymptomHeading = MakeStatic(this, kIdSymptomHeading, QStringLiteral("自覚症状"));
    m_pSymptomNote = MakeStatic(this, kIdSymptomNote, QStringLiteral("複数選択可"));
    MakeOptions(this, m_symptoms, kTemplateSymptoms, kIdFirstSymptom, nullptr);
    m_pSymptomText = new QLineEdit(this);
    SetControlId(m_pSymptomText, kIdSymptomText);
    // The edit comes after "9. other" in the tab chain, before "10.".
    setTabOrder(m_symptoms[8], m_pSymptomText);
    setTabOrder(m_pSymptomText, m_symptoms[9]);
    for (int i = 0; i < kSymptomCount; ++i) {
        connect(m_symptoms[static_cast<std::size_t>(i)], &QCheckBox::clicked, this,
                [this, i] { OnSymptomClicked(i); });
    }

    auto makeClear = [this](unsigned id) {
        auto* button = new CCommonButton(QString::fromUtf8(kTemplateClear), this);
        SetControlId(button, id);
        button->setAutoDefault(false);
        return button;
    };
    auto makeGroup = [this] {
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        return group;
    };

    m_pSituationHeading = MakeStatic(this, kIdSituationHeading, QStringLiteral("記録状況"));
    m_pClearSituation = makeClear(kIdClearSituation);
    m_pSituationGroup = makeGroup();
    MakeOptions(this, m_situations, kTemplateSituations, kIdFirstSituation, m_pSituationGroup);
    m_pSituationText = new QLineEdit(this);
    SetControlId(m_pSituationText, kIdSituationText);

    m_pPostureHeading = MakeStatic(this, kIdPostureHeading, QStringLiteral("記録姿勢"));
    m_pClearPosture = makeClear(kIdClearPosture);
    m_pPostureGroup = makeGroup();
    MakeOptions(this, m_postures, kTemplatePostures, kIdFirstPosture, m_pPostureGroup);

    m_pPositionHeading = MakeStatic(this, kIdPositionHeading, QStringLiteral("記録位置"));
    m_pClearPosition = makeClear(kIdClearPosition);
    m_pPositionGroup = makeGroup();
    MakeOptions(this, m_positions, kTemplatePositions, kIdFirstPosition, m_pPositionGroup);

    m_pOk = new CCommonButton(QString::fromUtf8(kTemplateOk), this);
    SetControlId(m_pOk, platform::kIdOk);
    m_pCancel = new CCommonButton(QString::fromUtf8(kTemplateCancel), this);
    SetControlId(m_pCancel, platform::kIdCancel);
    m_pCancel->setAutoDefault(false);
    m_pOk->setDefault(true);

    connect(m_pClearSituation, &QPushButton::clicked, this,
            [this] { ClearGroup(m_pSituationGroup); });
    connect(m_pClearPosture, &QPushButton::clicked, this, [this] { ClearGroup(m_pPostureGroup); });
    connect(m_pClearPosition, &QPushButton::clicked, this,
            [this] { ClearGroup(m_pPositionGroup); });
    connect(m_pOk, &QPushButton::clicked, this, &CUserMemo::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &CUserMemo::reject);
    // A text that is back within the limit no longer shows red.
    connect(m_pSituationText, &QLineEdit::textChanged, this, [this] {
        m_overLimit.situation =
            m_overLimit.situation &&
            app::CheckMemoTexts(m_pSituationText->text().toStdString(), "").situation;
        ShowOverLimit();
    });
    connect(m_pSymptomText, &QLineEdit::textChanged, this, [this] {
        m_overLimit.symptom = m_overLimit.symptom &&
                              app::CheckMemoTexts("", m_pSymptomText->text().toStdString()).symptom;
        ShowOverLimit();
    });
}

void CUserMemo::BuildHeader() {
    // The white frame lies below the header's texts and pictures, so it is
    // made first.
    m_pHeaderFrame = new QLabel(this);
    SetControlId(m_pHeaderFrame, kIdHeaderFrame);
    auto makePicture = [this](unsigned id) {
        auto* picture = new QLabel(this);
        SetControlId(picture, id);
        return picture;
    };
    m_pSeverityBar = makePicture(kIdSeverityBar);
    m_pHeart = makePicture(kIdHeart);
    m_pPositionPicture = makePicture(kIdPositionPicture);
    m_pDate = MakeStatic(this, kIdDate, {});
    m_pAnalysis = MakeStatic(this, kIdAnalysis, {});
    m_pHeartRate = MakeStatic(this, kIdHeartRate, {});
    m_pBpm = MakeStatic(this, kIdBpm, QStringLiteral("bpm"));
    for (QLabel* label : {m_pDate, m_pAnalysis, m_pHeartRate, m_pBpm}) {
        SetWhiteBackground(label);
    }
    QPalette grey = m_pDate->palette();
    grey.setColor(QPalette::WindowText, kDateColour);
    m_pDate->setPalette(grey);
}

void CUserMemo::InitDialog() {
    TranslateDialog(this, kTemplateId);
    ApplyUIFont(this, kFontOption, true);
    for (QLabel* heading :
         {m_pSymptomHeading, m_pSituationHeading, m_pPostureHeading, m_pPositionHeading}) {
        ApplyUIFont(heading, kFontHeading, false);
    }
    ApplyUIFont(m_pDate, kFontDate, false);
    ApplyUIFont(m_pHeartRate, kFontHeartRate, false);
    ApplyUIFont(m_pBpm, kFontBpm, false);
    ApplyUIFont(m_pOk, kFontMainButton, false);
    ApplyUIFont(m_pCancel, kFontMainButton, false);
    StylePrimary(m_pOk);
    StyleSecondary(m_pCancel);
    for (CCommonButton* clear : {m_pClearSituation, m_pClearPosture, m_pClearPosition}) {
        StyleSecondary(clear);
    }
    // The options read as on the paper ("Other:"); the limit of a free text
    // shows in its empty edit.
    const QString limit = ToQt(platform::FormatText(
        platform::LoadText(kTextTextLimit), {static_cast<std::int64_t>(app::kMemoTextLimit)}));
    for (QLineEdit* edit : {m_pSituationText, m_pSymptomText}) {
        edit->setPlaceholderText(limit);
    }

    m_original.situation = m_record.GetSituation();
    m_original.symptoms = m_record.GetSymptoms();
    m_original.position = m_record.GetPosition();
    m_original.posture = m_record.GetPosture();
    m_original.situationText = m_record.GetSituationText();
    m_original.symptomText = m_record.GetSymptomText();
    m_overLimit = {};

    ShowHeader();
    ShowValues(app::InitialMemoValues(m_record));
    ShowOverLimit();
    LayoutControls();
    m_symptoms[0]->setFocus();
}

void CUserMemo::ShowHeader() {
    m_pHeaderFrame->setPixmap(ArtworkPixmap(kArtWhiteBlock, kHeaderFrame.size()));
    m_pHeart->setPixmap(ArtworkPixmap(kArtHeart, QSize(16, 16)));
    m_pPositionPicture->setPixmap(ArtworkPixmap(kArtPositions, kPictureSize));
    const unsigned bar = SeverityArtwork(m_record.GetSeverity());
    m_pSeverityBar->setVisible(bar != 0);
    if (bar != 0) {
        m_pSeverityBar->setPixmap(ArtworkPixmap(bar, QSize(6, 84)));
    }
    m_pDate->setText(DateText(m_record));
    m_pAnalysis->setText(AnalysisText(m_record.GetAnalysisClass()));
    m_pHeartRate->setText(HeartRateText(m_record.GetHeartRate()));
}

void CUserMemo::ShowValues(const app::MemoValues& values) {
    // An exclusive group refuses to lose its checked button; the values may
    // leave a group without a choice.
    for (QButtonGroup* group : {m_pSituationGroup, m_pPostureGroup, m_pPositionGroup}) {
        group->setExclusive(false);
    }
    CheckBits(m_situations, values.situation);
    CheckBits(m_symptoms, values.symptoms);
    CheckBits(m_postures, values.posture);
    CheckBits(m_positions, values.position);
    for (QButtonGroup* group : {m_pSituationGroup, m_pPostureGroup, m_pPositionGroup}) {
        group->setExclusive(true);
    }
    m_pSituationText->setText(ToQt(values.situationText));
    m_pSymptomText->setText(ToQt(values.symptomText));
}

app::MemoValues CUserMemo::TakeValues() const {
    app::MemoValues values;
    values.situation = CheckedBits(m_situations);
    values.symptoms = CheckedBits(m_symptoms);
    values.position = CheckedBits(m_positions);
    values.posture = CheckedBits(m_postures);
    values.situationText = m_pSituationText->text().toStdString();
    values.symptomText = m_pSymptomText->text().toStdString();
    return values;
}

void CUserMemo::LayoutControls() {
    for (QWidget* widget : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        widget->ensurePolished();
    }
    // Both free texts stand in one column after the wider of their options,
    // and the dialog grows when a language's options push them past its edge.
    const int optionRight =
        kMargin + std::max(m_symptoms[8]->sizeHint().width(), m_situations[9]->sizeHint().width());
    const int editX = optionRight + kEditGap;
    const int width = std::max(kClientWidth, editX + kEditSize.width() + kMargin);
    const int rightLimit = width - kMargin;

    m_pHeaderFrame->setGeometry(kHeaderFrame);
    m_pSeverityBar->setGeometry(28, 22, 6, 84);
    const int headerTextWidth = kHeaderFrame.right() - 4 - 48;
    m_pDate->setGeometry(48, 22, headerTextWidth, 26);
    // The longest result texts of some languages need a smaller face.
    for (const int font : kAnalysisFonts) {
        ApplyUIFont(m_pAnalysis, font, false);
        if (TextWidth(m_pAnalysis) <= headerTextWidth) {
            break;
        }
    }
    m_pAnalysis->setGeometry(48, 50, headerTextWidth, 28);
    m_pHeart->setGeometry(48, 85, 16, 16);
    PlaceLabel(m_pHeartRate, 68, 82);
    PlaceLabel(m_pBpm, TextWidth(m_pHeartRate) + 74, 86);
    const int buttonX = width - kButtonsRightInset - kButtonSize.width();
    m_pOk->setGeometry(QRect(QPoint(buttonX, 27), kButtonSize));
    m_pCancel->setGeometry(QRect(QPoint(buttonX, 68), kButtonSize));

    CRowPlacer rows;
    auto placeHeading = [&](QLabel* heading, int headingY, CCommonButton* clear, int clearY) {
        PlaceLabel(heading, kMargin, rows.Y(headingY));
        if (clear != nullptr) {
            clear->setGeometry(
                QRect(QPoint(kMargin + TextWidth(heading) + kClearButtonGap, rows.Y(clearY)),
                      kButtonSize));
        }
    };

    placeHeading(m_pSymptomHeading, kSymptomHeadingY, nullptr, 0);
    PlaceLabel(m_pSymptomNote, kMargin + TextWidth(m_pSymptomHeading) + kNoteGap,
               rows.Y(kSymptomHeadingY));
    rows.PlaceRuns(m_symptoms, kSymptomRuns, rightLimit);
    m_pSymptomText->setGeometry(QRect(QPoint(editX, m_symptoms[8]->y() + kEditOffsetY), kEditSize));

    placeHeading(m_pSituationHeading, kSituationHeadingY, m_pClearSituation, kSituationClearY);
    rows.PlaceRuns(m_situations, kSituationRuns, rightLimit);
    m_pSituationText->setGeometry(
        QRect(QPoint(editX, m_situations[9]->y() + kEditOffsetY), kEditSize));

    placeHeading(m_pPostureHeading, kPostureHeadingY, m_pClearPosture, kPostureClearY);
    rows.PlaceRuns(m_postures, kPostureRuns, rightLimit);

    placeHeading(m_pPositionHeading, kPositionHeadingY, m_pClearPosition, kPositionClearY);
    const int pictureX = width - kPictureRightInset - kPictureSize.width();
    m_pPositionPicture->setGeometry(
        QRect(QPoint(pictureX, rows.Y(kPositionPictureY)), kPictureSize));
    rows.PlaceRuns(m_positions, kPositionRuns, pictureX - kPictureGap);

    const int height = kClientHeight + rows.Shift();
    setFixedSize(width, height);

    // Placed by hand, so a right-to-left language is mirrored here.
    if (layoutDirection() == Qt::RightToLeft) {
        for (QWidget* widget : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QRect place = widget->geometry();
            place.moveLeft(width - place.right() - 1);
            widget->setGeometry(place);
        }
    }
}

int CUserMemo::DoModal() {
    InitDialog();
    return exec();
}

void CUserMemo::OnSymptomClicked(int index) {
    int bits = CheckedBits(m_symptoms);
    const bool noAbnormality = index == kSymptomCount - 1;
    if (!noAbnormality && (bits & Bit(index)) != 0) {
        bits &= ~app::kSymptomNoAbnormality;
    }
    CheckBits(m_symptoms, app::NormalizeSymptoms(bits));
}

void CUserMemo::ClearGroup(QButtonGroup* group) {
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) {
        button->setChecked(false);
    }
    group->setExclusive(true);
    group->buttons().front()->setFocus();
}

void CUserMemo::ShowOverLimit() {
    auto colour = [](QLineEdit* edit, bool over) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Text, over ? kOverLimitColour : QColor(Qt::black));
        edit->setPalette(palette);
    };
    colour(m_pSituationText, m_overLimit.situation);
    colour(m_pSymptomText, m_overLimit.symptom);
}

void CUserMemo::RestoreRecord() {
    m_record.SetSituation(static_cast<std::uint16_t>(m_original.situation));
    m_record.SetSymptoms(static_cast<std::uint16_t>(m_original.symptoms));
    m_record.SetPosition(static_cast<std::uint16_t>(m_original.position));
    m_record.SetPosture(static_cast<std::uint16_t>(m_original.posture));
    m_record.SetSituationText(m_original.situationText);
    m_record.SetSymptomText(m_original.symptomText);
}

void CUserMemo::accept() {
    auto show = [this](unsigned id, bool error) {
        m_pPrompts->ShowMessage(platform::LoadText(id), error ? platform::MessageIcon::Hand
                                                              : platform::MessageIcon::Exclamation);
    };
    // A record without samples writes nothing when saved; taking its memo
    // would tell the person it was kept when it was not.
    if (!m_record.IsLoaded() || m_record.GetSampleCount() == 0) {
        show(app::kTextWriteError, false);
        return;
    }
    const app::MemoResult result = app::ApplyMemo(m_record, TakeValues());
    m_overLimit = result.overLimit;
    ShowOverLimit();
    switch (result.outcome) {
    case app::MemoOutcome::Saved:
        done(platform::kIdOk);
        return;
    case app::MemoOutcome::InputOver:
        show(result.messageId, result.iconError);
        if (m_overLimit.symptom) {
            m_pSymptomText->setFocus();
        }
        if (m_overLimit.situation) {
            m_pSituationText->setFocus();
        }
        return;
    case app::MemoOutcome::NotWritable:
        show(result.messageId, result.iconError);
        return;
    case app::MemoOutcome::SaveFailed:
    case app::MemoOutcome::PathMissing:
        // The file still holds the old memo; the record in memory says the
        // same, and the person may try again or cancel.
        RestoreRecord();
        show(result.messageId, result.iconError);
        return;
    }
}

void CUserMemo::reject() {
    done(platform::kIdCancel);
}

} // namespace ui
