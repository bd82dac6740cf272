#include "render/ReportPaper.h"

#include "platform/ResourceText.h"
#include "platform/TextFormat.h"
#include "render/DrawCalibration.h"
#include "render/DrawGrid.h"
#include "render/DrawLine.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace render {

namespace {

constexpr unsigned kTextWeekday = 62000;
constexpr unsigned kTextNoWeekday = 61999;
constexpr unsigned kTextAnalysis = 62020;
constexpr int kAnalysisCount = 13;

constexpr COLORREF kGrey = RGB(108, 108, 108);
constexpr COLORREF kBlack = RGB(0, 0, 0);

constexpr unsigned kLeftBottom = DT_LEFT | DT_BOTTOM | DT_SINGLELINE;
constexpr unsigned kLeftTop = DT_LEFT | DT_TOP | DT_SINGLELINE;
constexpr unsigned kRightTop = DT_RIGHT | DT_TOP | DT_SINGLELINE;
constexpr unsigned kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// Letter is 17.6 mm shorter than A4. Its page keeps the header and the
// memo form where they are, starts the grid 1 mm higher and draws the five
// 30 mm strips 2.5 mm apart instead of 5 mm, so the footer ends 7.6 mm
// above the bottom edge, as the title starts 7 mm below the top.
constexpr int kPaperLetter = 1;
constexpr RECT kTitle{200, -70, 1950, -134};
constexpr RECT kMemo{200, -300, 1950, -960};
constexpr RECT kHeartRate{200, -230, 780, -270};
constexpr RECT kAnalysis{200, -170, 920, -210};

constexpr std::array<LOGPEN, 6> kReportPens{
    LOGPEN{PS_SOLID, 1, RGB(223, 223, 223)}, LOGPEN{PS_SOLID, 2, RGB(191, 191, 191)},
    LOGPEN{PS_SOLID, 3, RGB(159, 159, 159)}, LOGPEN{PS_SOLID, 3, RGB(159, 159, 159)},
    LOGPEN{PS_SOLID, 2, RGB(0, 0, 0)},       LOGPEN{PS_SOLID, 2, RGB(95, 95, 95)}};

// The record's local recording time; nullopt when the C library cannot
// convert it.
std::optional<std::tm> LocalTime(std::int64_t t) {
    const std::time_t tt = static_cast<std::time_t>(t);
    std::tm tm{};
    if (static_cast<std::int64_t>(tt) != t || localtime_r(&tt, &tm) == nullptr)
        return std::nullopt;
    return tm;
}

} // namespace

int EstimateTextWidth(std::string_view utf8, const LOGFONT& font) {
    const int height = std::abs(font.lfHeight);
    long long width2 = 0; // in half character heights
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80)
            width2 += 1;
        else if ((c & 0xC0) != 0x80) // the lead byte of a multi-byte character
            width2 += 2;
    }
    return static_cast<int>(width2 * height / 2);
}

CPrintPaper::CPrintPaper() : CECGBasePaper(MM_LOMETRIC, 10.0, 10.0) {
    m_pens = kReportPens;
    PushDrawSettings();
    m_pGrid->SetGridLevels(1, 1, 1, 1, 1);
    m_pCalibration->SetPen(m_pens[kPenCalibration]);
}

void CPrintPaper::ApplyGraphOptions(std::array<app::COLORREF, app::kColourCount> /*colours*/) {
    m_pCalibration->SetPen(m_pens[kPenCalibration]);
}

void CPrintPaper::InitPage(CDC* pDC) {
    const bool letter = m_option.paperSize == kPaperLetter;
    const int paperW = letter ? 2160 : 2060;
    const int paperH = letter ? 2794 : 2970;
    const int devW = pDC != nullptr ? pDC->GetDeviceCaps(HORZSIZE) * 10 : 0;
    const int devH = pDC != nullptr ? pDC->GetDeviceCaps(VERTSIZE) * 10 : 0;
    const int mx = (paperW - devW) / 2;
    const int my = (paperH - devH) / 2;
    const auto& m = m_option.margins;
    const RECT rc{m[app::kMarginLeft] + mx, my - m[app::kMarginTop],
                  devW - m[app::kMarginRight] + mx, m[app::kMarginBottom] - 2 * my - devH};
    SetFontSize(100);
    SetPaperRect(rc);
    if (m_pInfo != nullptr)
        m_pInfo->SetMaxPage(m_nPageCount);
}

const CPrintPaper::PageLayout& CPrintPaper::PageLayoutFor(int paperSize) {
    static constexpr StripOffsets kA4Strips{
        {{50, 350}, {400, 700}, {750, 1050}, {1100, 1400}, {1450, 1750}}};
    static constexpr StripOffsets kLetterStrips{
        {{30, 330}, {355, 655}, {680, 980}, {1005, 1305}, {1330, 1630}}};
    static constexpr PageLayout kA4{kTitle,
                                    kMemo,
                                    kHeartRate,
                                    kAnalysis,
                                    {200, -980, 1950, -2780},
                                    {200, -134, 1950, -980},
                                    {200, -2790, 1950, -2878},
                                    kA4Strips};
    static constexpr PageLayout kLetter{kTitle,
                                        kMemo,
                                        kHeartRate,
                                        kAnalysis,
                                        {200, -970, 1950, -2620},
                                        {200, -134, 1950, -970},
                                        {200, -2630, 1950, -2718},
                                        kLetterStrips};
    return paperSize == kPaperLetter ? kLetter : kA4;
}

void CPrintPaper::AddPageAreas(const PageLayout& layout) {
    RemoveAllAreas();
    for (const RECT& rc : {layout.title, layout.memo, layout.heartRate, layout.analysis,
                           layout.waveform, layout.font, layout.footer})
        AddArea(rc.left, rc.top, rc.right, rc.bottom, 1);
    AddEmptyArea(1); // calibration
}

void CPrintPaper::Layout(RECT /*rc*/) {
    m_nPageCount = 0;
    m_nStripCount = 0;
    SetWindowMs(m_pRecord != nullptr ? m_pRecord->GetRangeStartMs() : 0,
                m_pRecord != nullptr ? m_pRecord->GetRangeEndMs() : 0);
    const long long rate = m_nSampleRate;

    m_pLine->SetMarkerValues(0, 2047.0);
    m_pLine->SetMarkerChecks(1, 1);
    const PageLayout& layout = PageLayoutFor(m_option.paperSize);
    AddPageAreas(layout);

    SetSpeedFactor(5.0);
    SetGainFactor(40.0);
    m_nWindowLength = m_nWindowEnd - m_nWindowStart;
    // A header without a sampling rate has no time axis: no strips.
    m_dSamplesPerStrip = rate > 0 ? static_cast<double>(rate) * 7.0 : 0.0;

    // 2047 sample units span the full scale and 1 mV is 5 % of it: 20, 10
    // or 5 mm per mV, as the footer says.
    switch (m_nSensitivity) {
    case kSensitivity20:
        m_nFullScale = 4000;
        break;
    case kSensitivity10:
        m_nFullScale = 2000;
        break;
    case kSensitivity5:
        m_nFullScale = 1000;
        break;
    default:
        m_nFullScale = GetFullScaleHeight();
        break;
    }
    const int xUnits =
        rate > 0 ? static_cast<int>(static_cast<double>(m_nWindowLength) / rate * 250.0) : 0;
    m_pLine->SetXScale(rate > 0 ? m_nWindowLength : 0, xUnits);
    m_pLine->SetYScale(2047.0, m_nFullScale);

    m_pCalibration->SetPulseSize(static_cast<int>(static_cast<float>(SecondsToUnits(0.1)) / 1.5),
                                 static_cast<int>(m_nFullScale * 0.05));
    const int waveTop = layout.waveform.top;
    SetAreaRect(kAreaCalibration, 200, waveTop, 1950,
                waveTop - static_cast<int>(m_nFullScale * 0.05 + 50));

    LayoutStrips(layout);
}

// The trace is centred on the window's range; the page holds five strip
// rows, so a window longer than 35 seconds (a low sampling rate) is cut
// after the fifth strip.
void CPrintPaper::SetWindowMs(long long t0, long long t1) {
    m_pages.fill({});
    m_rcStrips.fill({});
    m_nStripStarts.fill(0);
    m_nRecordLength = m_nSamples;
    m_nSampleRate = m_pRecord != nullptr ? m_pRecord->GetSampleRate() : 125;
    const long long rate = m_nSampleRate;
    // A window from a damaged header may lie outside the record or run
    // backwards: keep it inside the samples so it can only shrink.
    const long long start = std::clamp<long long>(rate * t0 / 1000, 0, m_nRecordLength);
    const long long end = std::clamp<long long>((rate * t1 + 999) / 1000, start, m_nRecordLength);
    m_nWindowStart = static_cast<int>(start);
    m_nWindowEnd = static_cast<int>(end);
    m_pLine->SetRange(m_nWindowStart, m_nWindowEnd);
}

void CPrintPaper::LayoutStrips(const PageLayout& layout) {
    const int waveTop = layout.waveform.top;
    const auto range = m_pLine->GetMinMax(m_nWindowStart, m_nWindowEnd);
    m_pLine->SetCenter(range ? (range->dMin + range->dMax) / 2 : 0.0);
    m_pLine->SetFixedCenter(1);

    m_nPageCount = 1;
    int strips = 0;
    if (m_dSamplesPerStrip > 0) {
        while (strips < kMaxStrips && m_nWindowLength > strips * m_dSamplesPerStrip) {
            const auto [top, bottom] = layout.strips[static_cast<std::size_t>(strips)];
            m_rcStrips[static_cast<std::size_t>(strips)] =
                RECT{200, waveTop - top, 1950, waveTop - bottom};
            m_nStripStarts[static_cast<std::size_t>(strips)] =
                static_cast<int>(strips * m_dSamplesPerStrip + m_nWindowStart);
            ++strips;
        }
    }
    m_nStripCount = strips;
    m_pages[0] = PageEntry{0, strips};
}

void CPrintPaper::SetPrintInfo(CPrintInfo* pInfo) {
    if (pInfo == nullptr) {
        m_pInfo = nullptr;
        return;
    }
    pInfo->m_bDirect = true;
    pInfo->SetMaxPage(m_nPageCount);
    // The information stays even for a page the table does not hold, so the
    // next Draw paints nothing from the table instead of falling back to page 0.
    m_pInfo = pInfo;
    m_nCurrentPage = pInfo->m_nCurPage - 1;
    if (m_nCurrentPage < 0 || m_nCurrentPage >= m_nPageCount)
        m_nCurrentPage = -1;
}

int CPrintPaper::NextPage() {
    if (m_nCurrentPage + 1 >= m_nPageCount)
        return -1;
    return ++m_nCurrentPage;
}

int CPrintPaper::PreviousPage() {
    if (m_nCurrentPage <= 0)
        return -1;
    return --m_nCurrentPage;
}

void CPrintPaper::BeginDraw(RECT /*rc*/) {
    if (m_pInfo != nullptr) {
        m_nCurrentPage = m_pInfo->m_nCurPage - 1;
        if (m_nCurrentPage < 0 || m_nCurrentPage >= m_nPageCount)
            m_nCurrentPage = -1;
    } else {
        m_nCurrentPage = 0;
    }
    AddPageStrips();
}

void CPrintPaper::AddPageStrips() {
    TruncateAreas(kAreaFirstStrip);
    m_nLastStripArea = kAreaFirstStrip - 1;
    if (m_nCurrentPage < 0 || m_nCurrentPage >= m_nPageCount)
        return;
    const PageEntry& page = m_pages[static_cast<std::size_t>(m_nCurrentPage)];
    for (int s = 0; s < page.nStrips; ++s) {
        const RECT& rc = m_rcStrips[static_cast<std::size_t>(page.nFirstStrip + s)];
        m_nLastStripArea = AddArea(rc.left, rc.top, rc.right, rc.bottom, 1);
    }
}

void CPrintPaper::DrawArea(int index, RECT rc) {
    if (index >= kAreaFirstStrip && index <= m_nLastStripArea) {
        DrawStripArea(rc, index - kAreaFirstStrip);
        return;
    }
    switch (index) {
    case kAreaTitle:
        DrawTitle(rc);
        break;
    case kAreaFont:
        SelectPaperFont();
        break;
    case kAreaWaveform:
        DrawGridArea(rc);
        break;
    case kAreaCalibration:
        DrawCalibrationArea(rc);
        break;
    case kAreaFooter:
        DrawFooter(rc);
        break;
    case kAreaMemo:
        DrawMemo(rc, 0, 1);
        break;
    case kAreaHeartRate:
        DrawHeartRate(rc);
        break;
    case kAreaAnalysis:
        DrawAnalysis(rc);
        break;
    default:
        break;
    }
}

void CPrintPaper::EndDraw() {
    m_pInfo = nullptr;
    SelectPaperFont();
}

void CPrintPaper::OnDataSet(const records::CECGContentsData* pRecord, const double* /*pSamples*/,
                            int /*nCount*/) {
    m_choices.fill(0);
    m_strSituation.clear();
    m_strSymptom.clear();
    m_strPosition.clear();
    m_strPosture.clear();
    m_nContact = 0;
    if (pRecord == nullptr)
        return;
    for (int i = 0; i < 10; ++i) {
        m_choices[static_cast<std::size_t>(i)] = pRecord->GetSituation() == (1u << i) ? 1 : 0;
        m_choices[static_cast<std::size_t>(10 + i)] = (pRecord->GetSymptoms() >> i) & 1u;
    }
    for (int i = 0; i < 8; ++i)
        m_choices[static_cast<std::size_t>(20 + i)] = pRecord->GetPosition() == (1u << i) ? 1 : 0;
    for (int i = 0; i < 3; ++i)
        m_choices[static_cast<std::size_t>(28 + i)] = pRecord->GetPosture() == (1u << i) ? 1 : 0;
    m_strSituation = pRecord->GetSituationText();
    m_strSymptom = pRecord->GetSymptomText();
    m_strPosition = pRecord->GetPositionText();
    m_strPosture = pRecord->GetPostureText();
    m_nContact = pRecord->GetDeviceValue();
}

void CPrintPaper::SetSituationChoice(int option, int flag) {
    if (option < 1 || option > 10)
        return;
    std::fill_n(m_choices.begin(), 10, 0);
    m_choices[static_cast<std::size_t>(option - 1)] = flag;
}

void CPrintPaper::SetSymptomChoice(int option, int flag) {
    if (option < 1 || option > 10)
        return;
    m_choices[static_cast<std::size_t>(10 + option - 1)] = flag;
}

void CPrintPaper::SetPositionChoice(int option, int flag) {
    if (option < 1 || option > 8)
        return;
    std::fill_n(m_choices.begin() + 20, 8, 0);
    m_choices[static_cast<std::size_t>(20 + option - 1)] = flag;
}

void CPrintPaper::SetPostureChoice(int option, int flag) {
    if (option < 1 || option > 3)
        return;
    std::fill_n(m_choices.begin() + 28, 3, 0);
    m_choices[static_cast<std::size_t>(28 + option - 1)] = flag;
}

void CPrintPaper::UsePaperFont(CDC& dc, int tenthsOfPoint, COLORREF colour) {
    dc.SelectFont(SetFontSize(tenthsOfPoint * m_nZoom / 100 * m_nFontZoom / 100));
    dc.SetTextColor(colour);
}

void CPrintPaper::UseFormFont(CDC& dc, int tenthsOfPoint, COLORREF colour) {
    LOGFONT font;
    font.lfFaceName = "IPAexゴシック";
    font.lfHeight = dc.PointFontHeight(tenthsOfPoint * m_nZoom / 100 * m_nFontZoom / 100);
    dc.SelectFont(font);
    dc.SetTextColor(colour);
}

void CPrintPaper::Text(CDC& dc, std::string_view text, const RECT& rc, unsigned align) {
    dc.DrawText(text, Z(rc), align);
}

int CPrintPaper::TextWidth(CDC& dc, std::string_view text) const {
    const int width =
        m_measure ? m_measure(text, dc.GetFont()) : EstimateTextWidth(text, dc.GetFont());
    return m_nZoom > 0 ? width * 100 / m_nZoom : width;
}

void CPrintPaper::Separator(CDC& dc, int x, int y, int length) {
    CPenScope pen(dc, LOGPEN{PS_SOLID, 3, RGB(159, 159, 159)});
    dc.MoveTo(Z(x), Z(y));
    dc.LineTo(Z(x + length), Z(y));
}

std::string CPrintPaper::Elided(CDC& dc, std::string_view text, int width) const {
    if (TextWidth(dc, text) <= width)
        return std::string(text);
    // Where each character ends; the most characters that fit with the
    // ellipsis are found by halving, as the width only grows with them.
    std::vector<std::size_t> ends;
    for (std::size_t i = 1; i <= text.size(); ++i)
        if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            ends.push_back(i);
    const auto cut = [&](std::size_t characters) {
        return std::string(text.substr(0, characters == 0 ? 0 : ends[characters - 1])) + "\u2026";
    };
    const auto fits = [&](std::size_t characters) {
        return TextWidth(dc, cut(characters)) <= width;
    };
    std::size_t low = 0;
    std::size_t high = ends.size();
    while (low < high) {
        const std::size_t mid = (low + high + 1) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid - 1;
    }
    return low > 0 || fits(0) ? cut(low) : std::string();
}

void CPrintPaper::SelectPaperFont() {
    if (CDC* pDC = GetDC())
        pDC->SelectFont(pDC->SelectFont(m_font));
}

void CPrintPaper::DrawTitle(const RECT& rc) {
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    CDC& dc = *pDC;
    const auto tm = m_pRecord != nullptr ? LocalTime(m_pRecord->GetRecordTime()) : std::nullopt;
    const long long year = tm ? tm->tm_year + 1900LL : 0;
    const int month = tm ? tm->tm_mon + 1 : 0;
    const int day = tm ? tm->tm_mday : 0;
    const int hour = tm ? tm->tm_hour : -1;
    const int minute = tm ? tm->tm_min : -1;

    UsePaperFont(dc, 160, kBlack);
    const std::string_view title = "心電図データ";
    Text(dc, title, {rc.left, rc.top - 4, rc.right, rc.bottom}, kLeftBottom);
    const int wT = TextWidth(dc, title);

    const std::string weekday =
        platform::LoadText(tm ? kTextWeekday + static_cast<unsigned>(tm->tm_wday) : kTextNoWeekday);
    UsePaperFont(dc, 80, kBlack);
    const bool undated = m_pRecord == nullptr || m_pRecord->IsUndated();
    const std::string date =
        undated ? std::string("----/--/--(-) --:--")
                : platform::FormatText("%04d/%02d/%02d(%s) %02d:%02d",
                                       {year, std::int64_t{month}, std::int64_t{day},
                                        std::string_view(weekday), std::int64_t{hour},
                                        std::int64_t{minute}});
    Text(dc, date, {rc.left + wT + 30, rc.top - 4, rc.right, rc.bottom + 3}, kLeftBottom);

    if (m_nContact != 0 && m_nContact % 2 == 0) {
        const int x0 = rc.left + wT + TextWidth(dc, date);
        const RECT box{x0 + 60, rc.bottom + 33, x0 + 260, rc.bottom + 3};
        {
            CPenScope noOutline(dc, LOGPEN{PS_NULL, 0, 0});
            const auto brush = dc.SelectBrush(RGB(242, 242, 242));
            dc.RoundRect(Z(box), Z(10), Z(10));
            dc.SelectBrush(brush);
        }
        Text(dc, "接触状態ＮＧ", box, kCentred);
    }

    UsePaperFont(dc, 80, kGrey);
    Text(dc, "名前", {rc.right - 450, rc.top - 4, rc.right, rc.bottom + 3}, kLeftBottom);
    Separator(dc, rc.right - 450, rc.bottom + 3, 448);
}

void CPrintPaper::DrawHeartRate(const RECT& rc) {
    CDC* pDC = GetDC();
    if (pDC == nullptr || m_nCurrentPage != 0)
        return;
    UsePaperFont(*pDC, 80, kGrey);
    Text(*pDC, "心拍数：", rc, kLeftBottom);
    const int rate = m_pRecord != nullptr ? m_pRecord->GetHeartRate() : 0;
    UsePaperFont(*pDC, 100, kBlack);
    const std::string text = rate >= 30 && rate <= 200
                                 ? platform::FormatText("%d bpm", {std::int64_t{rate}})
                                 : std::string("-- bpm");
    Text(*pDC, text, {rc.left + 165, rc.top, rc.right, rc.bottom}, kLeftBottom);
}

void CPrintPaper::DrawAnalysis(const RECT& rc) {
    CDC* pDC = GetDC();
    if (pDC == nullptr || m_nCurrentPage != 0)
        return;
    UsePaperFont(*pDC, 80, kGrey);
    Text(*pDC, "解析結果：", rc, kLeftBottom);
    const int result = m_pRecord != nullptr ? m_pRecord->GetAnalysisClass() : -1;
    if (result < 0 || result >= kAnalysisCount)
        return;
    UsePaperFont(*pDC, 100, kBlack);
    Text(*pDC, platform::LoadText(kTextAnalysis + static_cast<unsigned>(result)),
         {rc.left + 165, rc.top, rc.right, rc.bottom}, kLeftBottom);
}

void CPrintPaper::DrawGridArea(const RECT& rc) {
    if (GetDC() == nullptr || m_nCurrentPage != 0)
        return;
    const RECT z = Z(rc);
    m_pGrid->DrawGrid(z.left, z.top, z.right, z.bottom);
}

void CPrintPaper::DrawStripArea(const RECT& rc, int strip) {
    if (GetDC() == nullptr || m_nCurrentPage < 0 || m_nCurrentPage >= m_nPageCount)
        return;
    const PageEntry& page = m_pages[static_cast<std::size_t>(m_nCurrentPage)];
    const int index = page.nFirstStrip + strip;
    if (strip < 0 || strip >= page.nStrips)
        return;
    const int start = m_nStripStarts[static_cast<std::size_t>(index)];
    const int end = std::min(m_nWindowEnd, static_cast<int>(start + m_dSamplesPerStrip));
    m_pLine->SetRange(start, end);
    m_pLine->DrawStrip(Z(rc), Z(GetAreaRect(kAreaWaveform)), m_nZoom);
}

void CPrintPaper::DrawCalibrationArea(const RECT& rc) {
    if (GetDC() == nullptr || m_nCurrentPage == -1)
        return;
    m_pCalibration->DrawPulse(Z(rc.left), Z(rc.top), 0);
}

void CPrintPaper::DrawFooter(const RECT& rc) {
    CDC* pDC = GetDC();
    if (pDC == nullptr)
        return;
    CDC& dc = *pDC;
    UsePaperFont(dc, 70, kGrey);
    const std::string_view filter =
        m_pRecord != nullptr && m_pRecord->GetFilter() != 0 ? "オン" : "オフ";
    static constexpr std::array<std::string_view, 3> kLabels{"20mm/mV", "10mm/mV", "5mm/mV"};
    std::string scale;
    if (m_nSensitivity >= 0 && m_nSensitivity < 3)
        scale = platform::FormatText("尺度：%s，%s｜フィルター：%s｜機種：%s",
                                     {std::string_view("25mm/s"),
                                      kLabels[static_cast<std::size_t>(m_nSensitivity)], filter,
                                      std::string_view("VTQ-7700S")});
    Text(dc, scale, rc, kLeftTop);
    Text(dc, "Copyright (C) Torvane. All rights reserved.", rc, kRightTop);
    UsePaperFont(dc, 90, kGrey);
    Text(dc, "ドクターコメント", {rc.left, rc.top - 48, rc.right, rc.bottom}, kLeftTop);
    Separator(dc, rc.left, rc.bottom, rc.right - rc.left);
}

} // namespace render
