#include "render/PreviewPaper.h"

#include "app/ECGFramework.h"
#include "app/ListDateText.h"
#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <optional>

namespace render {

namespace {

constexpr unsigned kResultText = 62020;
constexpr unsigned kFastRateText = 62021;
constexpr unsigned kSlowRateText = 62025;
constexpr unsigned kIrregularBeatsText = 62029;
constexpr unsigned kIrregularWaveText = 62031;
constexpr unsigned kHeartRateText = 62092;

constexpr unsigned kNewRecordDot = 314;
constexpr unsigned kPrintMarkOn = 315;
constexpr unsigned kPrintMarkOff = 316;
constexpr unsigned kHeart = 279;
constexpr unsigned kInformationSign = 327;

constexpr double kGainFactor = 5.6;
constexpr int kPaperFontSize = 100;
// Sample units per 488 pixels: about 10 mm per mV at 5 pixels per millimetre.
constexpr double kFullScaleValue = 1000.0;
constexpr int kFullScalePixels = 488;
constexpr double kUnderRange = 0;
constexpr double kOverRange = 2047;
constexpr int kMinHeartRate = 30;
constexpr int kMaxHeartRate = 200;

constexpr COLORREF kGrey = RGB(108, 108, 108);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kContactBox = RGB(242, 242, 242);

LOGFONT PixelFont(const char* face, int height, int weight) {
    LOGFONT font;
    font.lfFaceName = face;
    font.lfHeight = height;
    font.lfWeight = weight;
    return font;
}

// Latin glyphs are about 0.6 of the character height wide, the three-byte
// UTF-8 ones (kana, kanji, full-width forms) square.
int EstimateWidth(const LOGFONT& font, std::string_view text) {
    const double height = std::abs(font.lfHeight);
    double width = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if ((lead & 0xC0) == 0x80)
            continue; // continuation byte of a UTF-8 sequence
        width += lead >= 0xE0 ? height : 0.6 * height;
    }
    return static_cast<int>(std::lround(width));
}

COLORREF SeverityColour(int severity) {
    switch (severity) {
    case 1:
        return RGB(255, 116, 116);
    case 2:
        return RGB(223, 47, 47);
    case 3:
        return RGB(96, 96, 96);
    default:
        return RGB(255, 255, 255);
    }
}

RECT Offset(const RECT& area, int left, int top, int right, int bottom) {
    return RECT{area.left + left, area.top + top, area.left + right, area.top + bottom};
}

// The date line of a dated record, or nullopt when its time has no local form.
std::optional<std::string> DateLine(std::int64_t recorded) {
    const auto t = static_cast<std::time_t>(recorded);
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr)
        return std::nullopt;
    const std::string date = app::FormatListDate(&local);
    return platform::FormatText(
        "%s %02d:%02d",
        {std::string_view(date), std::int64_t{local.tm_hour}, std::int64_t{local.tm_min}});
}

} // namespace

CPreviewPaper::CPreviewPaper(double pixelsPerMmX, double pixelsPerMmY)
    : CECGBasePaper(MM_TEXT, pixelsPerMmX, pixelsPerMmY) {
    m_nInfoArea = AddEmptyArea(1);
    m_nWaveArea = AddEmptyArea(1);
    SetGainFactor(kGainFactor);
    m_pens[kPenGrid1] = LOGPEN{PS_SOLID, 1, RGB(241, 241, 241)};
    m_pens[kPenGrid5] = LOGPEN{PS_SOLID, 1, RGB(227, 227, 227)};
    m_pens[kPenGrid25] = LOGPEN{PS_SOLID, 2, RGB(221, 221, 221)};
    m_pens[kPenFrame] = LOGPEN{PS_SOLID, 1, RGB(227, 227, 227)};
    // Pushed at once so a thumbnail drawn before the view applies the
    // settings colours already has the thumbnail pens.
    PushDrawSettings();
}

int CPreviewPaper::TextWidth(const LOGFONT& font, std::string_view text) const {
    return m_measure ? m_measure(text, font) : EstimateWidth(font, text);
}

std::vector<std::string> CPreviewPaper::AnalysisLines(int analysisClass) {
    std::vector<unsigned> ids;
    switch (analysisClass) {
    case 0:
    case 1:
    case 5:
    case 9:
    case 11:
    case 12:
        ids = {0, kResultText + static_cast<unsigned>(analysisClass)};
        break;
    case 2:
        ids = {kFastRateText, kIrregularBeatsText};
        break;
    case 3:
        ids = {kFastRateText, kIrregularWaveText};
        break;
    case 4:
        ids = {kFastRateText, kIrregularBeatsText, kIrregularWaveText};
        break;
    case 6:
        ids = {kSlowRateText, kIrregularBeatsText};
        break;
    case 7:
        ids = {kSlowRateText, kIrregularWaveText};
        break;
    case 8:
        ids = {kSlowRateText, kIrregularBeatsText, kIrregularWaveText};
        break;
    case 10:
        ids = {kIrregularBeatsText, kIrregularWaveText};
        break;
    default:
        break;
    }
    std::vector<std::string> lines;
    for (unsigned id : ids)
        lines.push_back(id == 0 ? std::string() : platform::LoadText(id));
    return lines;
}

void CPreviewPaper::InitPage(CDC* /*pDC*/) {
    const LOGFONT& font = SetFontSize(kPaperFontSize);
    const std::string reference(30, '0');
    m_nTextWidth = TextWidth(font, reference);
    m_nTextHeight = std::abs(font.lfHeight);
    m_nLabelWidth = m_nTextWidth + 6;
    SetPaperSize(m_nLabelWidth + SecondsToUnits(m_nSeconds) + 6, GetFullScaleHeight() + 4);
}

void CPreviewPaper::Layout(RECT rc) {
    SetAreaRect(m_nInfoArea, rc.left, rc.top, rc.left + m_nLabelWidth, rc.bottom);
    SetAreaRect(m_nWaveArea, rc.left + m_nLabelWidth, rc.top, rc.right, rc.bottom);
}

void CPreviewPaper::BeginDraw(RECT rc) {
    if (CDC* pDC = GetDC())
        pDC->FillRect(rc, m_crPaper);
}

void CPreviewPaper::DrawArea(int index, RECT rc) {
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    if (index == m_nWaveArea) {
        m_pGrid->SetGridLevels(1, 1, 1, 1, 1);
        m_pGrid->DrawGrid(rc.left + 3, rc.top + 2, rc.right - 3, rc.bottom - 2);
        m_pLine->DrawSimple(RECT{rc.left + 3, rc.top + 2, rc.right - 3, rc.bottom - 2});
    } else if (index == m_nInfoArea) {
        DrawInfo(*pDC, rc);
    }
}

void CPreviewPaper::OnDataSet(const records::CECGContentsData* pRecord, const double* pSamples,
                              int nCount) {
    std::vector<double> sorted(pSamples, pSamples + nCount);
    std::sort(sorted.begin(), sorted.end());
    // Samples at the ends of the device range are out-of-range markers and
    // would pull the centre away from the trace.
    const auto low =
        std::find_if(sorted.begin(), sorted.end(), [](double v) { return v != kUnderRange; });
    const auto high =
        std::find_if(sorted.rbegin(), sorted.rend(), [](double v) { return v != kOverRange; });
    const double dLow = low != sorted.end() ? *low : 0;
    const double dHigh = high != sorted.rend() ? *high : 0;
    m_pLine->SetCenter((dLow + dHigh) / 2);
    m_pLine->SetFixedCenter(1);
    if (pRecord != nullptr)
        m_pLine->SetXScale(pRecord->GetSampleRate(), static_cast<int>(m_dUnitsPerSecX));
    m_pLine->SetYScale(kFullScaleValue, kFullScalePixels);
}

void CPreviewPaper::DrawInfo(CDC& dc, const RECT& rc) {
    const LOGFONT previousFont = dc.GetFont();
    const COLORREF previousColour = dc.GetTextColor();

    const int severity = m_pRecord != nullptr ? m_pRecord->GetSeverity() : 0;
    dc.FillRect(RECT{rc.left + 4, rc.top + 4, rc.left + 10, rc.top + 140},
                SeverityColour(severity));
    const bool checked = m_pRecord != nullptr && m_pRecord->IsChecked();
    dc.StretchBitmap(checked ? kPrintMarkOn : kPrintMarkOff, Offset(rc, 14, 8, 42, 36));

    DrawDate(dc, rc);

    dc.SelectFont(PixelFont("Meiryo UI", 16, FW_NORMAL));
    const auto lines = AnalysisLines(m_pRecord != nullptr ? m_pRecord->GetAnalysisClass() : 0);
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const int y = static_cast<int>(24 * k);
        dc.DrawText(lines[k], RECT{rc.left + 46, rc.top + 42 + y, rc.right, rc.top + 62 + y},
                    DT_LEFT | DT_TOP | DT_SINGLELINE);
    }

    DrawHeartRate(dc, rc);
    DrawContactState(dc, rc);

    dc.SelectFont(previousFont);
    dc.SetTextColor(previousColour);
}

void CPreviewPaper::DrawDate(CDC& dc, const RECT& rc) {
    const LOGFONT font = PixelFont("Segoe UI", 14, FW_NORMAL);
    dc.SelectFont(font);
    dc.SetTextColor(kGrey);
    std::optional<std::string> text;
    if (m_pRecord != nullptr && !m_pRecord->IsUndated())
        text = DateLine(m_pRecord->GetRecordTime());
    const std::string line = text.value_or("----/--/--(-) --:--");
    dc.DrawText(line, RECT{rc.left + 46, rc.top + 8, rc.right, rc.top + 36},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    dc.SetTextColor(kBlack);

    if (m_pRecord != nullptr && m_pFramework != nullptr &&
        m_pFramework->IsNewPath(m_pRecord->GetPath())) {
        const int w = TextWidth(font, line);
        dc.StretchBitmap(kNewRecordDot, Offset(rc, w + 54, 16, w + 66, 28));
    }
}

void CPreviewPaper::DrawHeartRate(CDC& dc, const RECT& rc) {
    dc.StretchBitmap(kHeart, Offset(rc, 46, 116, 62, 132));
    const int rate = m_pRecord != nullptr ? m_pRecord->GetHeartRate() : 0;
    const std::string value =
        rate >= kMinHeartRate && rate <= kMaxHeartRate
            ? platform::FormatText(platform::LoadText(kHeartRateText), {std::int64_t{rate}})
            : std::string("--");
    const LOGFONT valueFont = PixelFont("Segoe UI", 16, FW_BOLD);
    dc.SelectFont(valueFont);
    dc.DrawText(value, RECT{rc.left + 66, rc.top + 118, rc.right, rc.top + 134},
                DT_LEFT | DT_BOTTOM | DT_SINGLELINE);
    const int w = TextWidth(valueFont, value);
    dc.SelectFont(PixelFont("Segoe UI", 12, FW_NORMAL));
    dc.DrawText("bpm", RECT{rc.left + 70 + w, rc.top + 120, rc.right, rc.top + 132},
                DT_LEFT | DT_BOTTOM | DT_SINGLELINE);
}

void CPreviewPaper::DrawContactState(CDC& dc, const RECT& rc) {
    const unsigned contact = m_pRecord != nullptr ? m_pRecord->GetDeviceValue() : 0;
    if (contact == 0 || contact % 2 != 0)
        return;
    const RECT box = Offset(rc, 135, 112, 235, 136);
    const auto previousBrush = dc.SelectBrush(kContactBox);
    const LOGPEN previousPen = dc.SelectPen(LOGPEN{PS_NULL, 0, kContactBox});
    dc.RoundRect(box, 10, 10);
    dc.SelectPen(previousPen);
    dc.SelectBrush(previousBrush);

    dc.SelectFont(m_font);
    dc.SetTextColor(kGrey);
    dc.DrawText("接触状態NG", RECT{box.left + 20, box.top, box.right, box.bottom},
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SetTextColor(kBlack);
    dc.StretchBitmap(kInformationSign, Offset(rc, 137, 114, 157, 134));
}

} // namespace render
