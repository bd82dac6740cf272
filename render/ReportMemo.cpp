// The user memo form of the report: group labels, the options of each
// group, circles on the chosen options, free texts and the body picture.
#include "platform/ResourceText.h"
#include "render/DrawBase.h"
#include "render/ReportPaper.h"

#include <algorithm>

namespace render {

namespace {

constexpr COLORREF kGrey = RGB(108, 108, 108);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr unsigned kLeftTop = DT_LEFT | DT_TOP | DT_SINGLELINE;
constexpr unsigned kLeftMiddle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;

// Option rectangles in form units: 0.1 mm with y downwards from a point
// 5 mm left of and 5 mm above the page origin.
struct FormRect {
    int L, T, R, B;
};
constexpr std::array<FormRect, 34> kChoices{{
    {250, 802, 520, 865},   {430, 802, 800, 865},   {600, 802, 980, 865},   {250, 852, 550, 915},
    {430, 852, 800, 915},   {600, 852, 980, 915},   {250, 902, 550, 965},   {430, 902, 800, 965},
    {600, 902, 980, 965},   {250, 952, 550, 1015},  {250, 470, 580, 503},   {490, 470, 800, 503},
    {700, 470, 1020, 503},  {250, 520, 580, 553},   {490, 520, 800, 553},   {700, 520, 1020, 553},
    {250, 570, 580, 603},   {490, 570, 800, 603},   {250, 620, 580, 653},   {250, 670, 580, 703},
    {1205, 628, 1450, 661}, {1356, 628, 1640, 661}, {1205, 678, 1450, 711}, {1205, 728, 1480, 761},
    {1205, 778, 1450, 811}, {1356, 778, 1640, 811}, {1205, 828, 1450, 861}, {1205, 878, 1450, 911},
    {1205, 470, 1510, 503}, {1395, 470, 1720, 503}, {1600, 470, 1990, 503}, {0, 0, 0, 0},
    {358, 620, 1185, 653},  {370, 953, 1185, 986},
}};
constexpr int kFreeTextRow = 31;

constexpr RECT PaperRect(const FormRect& f) {
    return RECT{f.L - 50, 50 - f.T, f.R - 50, 50 - f.B};
}

// One option group: its first row in the table, its first string id and size.
struct Group {
    int nRow;
    unsigned nText;
    int nCount;
};
constexpr Group kSituation{0, 62220, 10};
constexpr Group kSymptom{10, 62250, 10};
constexpr Group kPosition{20, 62280, 8};
constexpr Group kPosture{28, 62310, 3};

constexpr unsigned kBodyPictureReport = 255;
constexpr unsigned kBodyPictureWave = 227;

// A line to write on after an option's label ("Other:"), from just after
// the label to a fixed end; a free text is written on it.
struct LabelLine {
    int nLeft; // the label's left edge
    unsigned nLabel;
    int nGap; // from the label's end to the line's start
    int nLineY;
    int nLineEnd;
};
constexpr LabelLine kSituationLine{200, 62229, 10, -939, 1120};
constexpr LabelLine kSymptomLine{200, 62258, 10, -607, 1110};
constexpr LabelLine kPositionLine{1155, 62288, 20, -938, 1950};
// A free text starts 1 mm inside its line.
constexpr int kTextInset = 10;

} // namespace

void CPrintPaper::DrawMemo(const RECT& rc, int /*nExtra*/, int bReport) {
    CDC* pDC = GetDC();
    if (pDC == nullptr || m_nCurrentPage != 0)
        return;
    CDC& dc = *pDC;
    const int l = rc.left;
    const int t = rc.top;
    const int r = rc.right;

    UseFormFont(dc, 100, kGrey);
    const std::string heading = platform::LoadText(62200);
    Text(dc, heading, {l, t, r, t - 36}, kLeftMiddle);
    const int w1 = TextWidth(dc, heading);
    UsePaperFont(dc, 80, kBlack);
    Text(dc, platform::LoadText(62211), {l + w1 + 30, t - 8, r, t - 36}, kLeftMiddle);

    const auto options = [&](const Group& group) {
        UsePaperFont(dc, 80, kBlack);
        for (int i = 0; i < group.nCount; ++i)
            Text(dc, platform::LoadText(group.nText + static_cast<unsigned>(i)),
                 PaperRect(kChoices[static_cast<std::size_t>(group.nRow + i)]), kLeftTop);
    };
    const auto label = [&](unsigned id, const RECT& where) {
        UseFormFont(dc, 80, kGrey);
        Text(dc, platform::LoadText(id), where, kLeftTop);
    };

    const auto line = [&](const LabelLine& l) {
        const int start = l.nLeft + TextWidth(dc, platform::LoadText(l.nLabel)) + l.nGap;
        Separator(dc, start, l.nLineY, l.nLineEnd - start);
    };

    label(62210, {200, -692, 470, -815});
    options(kSituation);
    line(kSituationLine);

    label(62240, {200, -360, 530, -453});
    options(kSymptom);
    line(kSymptomLine);

    label(62272, {1155, -360, 1460, -453});
    options(kPosture);

    label(62270, {1155, -518, 1400, -611});
    options(kPosition);
    Text(dc, platform::LoadText(kPositionLine.nLabel), {1155, -902, 1400, -965}, kLeftTop);
    line(kPositionLine);

    dc.StretchBitmap(bReport == 1 ? kBodyPictureReport : kBodyPictureWave,
                     Z(RECT{1550, -576, 1914, -826}));

    const LOGPEN circle{PS_SOLID, 5, RGB(0, 0, 0)};
    for (const Group& group : {kSituation, kSymptom, kPosition, kPosture}) {
        for (int i = 0; i < group.nCount; ++i) {
            if (m_choices[static_cast<std::size_t>(group.nRow + i)] != 0)
                DrawChoiceMark(dc, group.nRow + i, circle);
        }
    }

    DrawChoiceText(dc, 2, m_strSituation);
    DrawChoiceText(dc, 1, m_strSymptom);
}

void CPrintPaper::DrawChoiceMark(CDC& dc, int option, const LOGPEN& pen) {
    if (option < 0 || option >= kFreeTextRow)
        return;
    const FormRect& f = kChoices[static_cast<std::size_t>(option)];
    CPenScope scope(dc, pen);
    const auto brush = dc.SelectBrush(std::nullopt);
    dc.Ellipse(Z(RECT{f.L - 57, 50 - f.T, f.L - 21, 14 - f.T}));
    dc.SelectBrush(brush);
}

// Box 1 is the symptoms' free text, box 2 the situation's: each on the
// line after its "Other" option, never over the label, cut to the line.
void CPrintPaper::DrawChoiceText(CDC& dc, int box, std::string_view text) {
    if (box < 1 || box > 2 || text.empty())
        return;
    const LabelLine& line = box == 1 ? kSymptomLine : kSituationLine;
    UsePaperFont(dc, 80, kBlack);
    RECT rc = PaperRect(kChoices[static_cast<std::size_t>(kFreeTextRow + box)]);
    const int lineStart = line.nLeft + TextWidth(dc, platform::LoadText(line.nLabel)) + line.nGap;
    rc.left = std::max(rc.left, lineStart + kTextInset);
    rc.right = line.nLineEnd;
    if (rc.left >= rc.right)
        return;
    Text(dc, Elided(dc, text, rc.right - rc.left), rc, kLeftMiddle);
}

} // namespace render
