// The one-page ECG report of one record: title, analysis, heart rate, the
// user memo form, up to five 7-second strips on a millimetre grid with a
// calibration pulse, and the footer. The print job draws it page by page.
#pragma once

#include "app/GraphOption.h"
#include "render/ECGBasePaper.h"
#include "render/PrintInfo.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace render {

// Width in logical units of a single line of text in a font. The device
// context has no text metrics of its own, so the window layer hands in one
// that asks its font engine; without it the paper estimates.
using TextMeasure = std::function<int(std::string_view text, const LOGFONT& font)>;

// An estimate from the character height: Latin characters half as wide as
// high, every other character (kana, kanji, full-width forms) square.
int EstimateTextWidth(std::string_view utf8, const LOGFONT& font);

class CPrintPaper : public CECGBasePaper {
public:
    static constexpr int kMaxStrips = 5;
    static constexpr int kChoiceCount = 31;
    enum Sensitivity { kSensitivity20, kSensitivity10, kSensitivity5 };

    CPrintPaper();

    // Paper size and margins come from the settings; read at InitPage.
    void SetGraphOption(const app::CGraphOption& option) { m_option = option; }
    // The display sensitivity the framework keeps; read at Layout.
    void SetSensitivity(int index) { m_nSensitivity = index; }
    void SetTextMeasure(TextMeasure measure) { m_measure = std::move(measure); }

    void SetPrintInfo(CPrintInfo* pInfo);
    // The new page index, or -1 at the last (first) page.
    int NextPage();
    int PreviousPage();

    // Only the calibration pen follows the settings; the report keeps the others.
    void ApplyGraphOptions(std::array<app::COLORREF, app::kColourCount> colours);

    // Memo edits shown without reloading the record; options are 1-based and
    // an option outside its group is ignored.
    void SetSituationChoice(int option, int flag);
    void SetSymptomChoice(int option, int flag);
    void SetPositionChoice(int option, int flag);
    void SetPostureChoice(int option, int flag);
    void SetSituationText(std::string_view text) { m_strSituation = text; }
    void SetSymptomText(std::string_view text) { m_strSymptom = text; }
    void SetPositionText(std::string_view text) { m_strPosition = text; }
    void SetPostureText(std::string_view text) { m_strPosture = text; }

    int GetWindowStart() const { return m_nWindowStart; }
    int GetWindowEnd() const { return m_nWindowEnd; }
    int GetStripCount() const { return m_nStripCount; }
    int GetPageCount() const { return m_nPageCount; }
    int GetCurrentPage() const { return m_nCurrentPage; }
    int GetFullScaleUnits() const { return m_nFullScale; }
    double GetSamplesPerStrip() const { return m_dSamplesPerStrip; }
    RECT GetStripRect(int strip) const { return m_rcStrips.at(static_cast<std::size_t>(strip)); }
    int GetStripStart(int strip) const {
        return m_nStripStarts.at(static_cast<std::size_t>(strip));
    }
    int GetChoice(int index) const { return m_choices.at(static_cast<std::size_t>(index)); }
    const std::string& GetSituationText() const { return m_strSituation; }
    const std::string& GetSymptomText() const { return m_strSymptom; }

    enum AreaId {
        kAreaTitle,
        kAreaMemo,
        kAreaHeartRate,
        kAreaAnalysis,
        kAreaWaveform,
        kAreaFont,
        kAreaFooter,
        kAreaCalibration,
        kAreaFirstStrip
    };

protected:
    // Where the areas of a page lie (y upwards from the top of the page, so
    // all negative), and each strip row's offsets (top, bottom) below the
    // top of the waveform area. The calibration area follows the pulse.
    using StripOffsets = std::array<std::pair<int, int>, kMaxStrips>;
    struct PageLayout {
        RECT title, memo, heartRate, analysis, waveform, font, footer;
        StripOffsets strips;
    };
    // The report's layout for the paper size of the settings.
    static const PageLayout& PageLayoutFor(int paperSize);

    // Clears the strips and takes the window t0..t1 (ms) of the record,
    // kept inside its samples.
    void SetWindowMs(long long t0, long long t1);
    // Replaces every area with those of the layout, the calibration area
    // still empty.
    void AddPageAreas(const PageLayout& layout);
    // Replaces the strip areas with those of the current page.
    void AddPageStrips();
    // Centres the trace and lays out the strips of the current window in
    // the layout's waveform area.
    void LayoutStrips(const PageLayout& layout);

    void InitPage(CDC* pDC) override;
    void Layout(RECT rc) override;
    void BeginDraw(RECT rc) override;
    void DrawArea(int index, RECT rc) override;
    void EndDraw() override;
    void OnDataSet(const records::CECGContentsData* pRecord, const double* pSamples,
                   int nCount) override;

    virtual void DrawTitle(const RECT& rc);
    virtual void SelectPaperFont();
    virtual void DrawGridArea(const RECT& rc);
    virtual void DrawStripArea(const RECT& rc, int strip);
    virtual void DrawCalibrationArea(const RECT& rc);
    virtual void DrawFooter(const RECT& rc);
    // bReport 1 selects the report's body picture, 0 the wave window's.
    virtual void DrawMemo(const RECT& rc, int nExtra, int bReport);
    virtual void DrawHeartRate(const RECT& rc);
    virtual void DrawAnalysis(const RECT& rc);
    virtual void DrawChoiceMark(CDC& dc, int option, const LOGPEN& pen);
    virtual void DrawChoiceText(CDC& dc, int box, std::string_view text);

    // Logical coordinates scaled by the zoom percent, each truncated alone.
    int Z(int v) const { return static_cast<int>(static_cast<long long>(v) * m_nZoom / 100); }
    RECT Z(const RECT& rc) const { return RECT{Z(rc.left), Z(rc.top), Z(rc.right), Z(rc.bottom)}; }
    // Selects the paper font (or the memo form font) of a size scaled by
    // zoom and font zoom, and the text colour.
    void UsePaperFont(CDC& dc, int tenthsOfPoint, COLORREF colour);
    void UseFormFont(CDC& dc, int tenthsOfPoint, COLORREF colour);
    // Single-line text in the zoomed rectangle.
    void Text(CDC& dc, std::string_view text, const RECT& rc, unsigned align);
    // Width of the text in the font in force, in unzoomed units.
    int TextWidth(CDC& dc, std::string_view text) const;
    // The text, or as much of it as fits the width with an ellipsis after it.
    std::string Elided(CDC& dc, std::string_view text, int width) const;
    // A grey line from x across the length at height y, all unzoomed.
    void Separator(CDC& dc, int x, int y, int length);

    app::CGraphOption m_option;
    TextMeasure m_measure;
    CPrintInfo* m_pInfo = nullptr;
    int m_nWindowStart = 0;
    int m_nWindowEnd = 0;
    int m_nRecordLength = 0;
    int m_nWindowLength = 0;
    double m_dSamplesPerStrip = 0;
    int m_nStripCount = 0;
    int m_nFullScale = 2000;
    int m_nSensitivity = kSensitivity10;
    int m_nSampleRate = 125;
    std::array<int, kChoiceCount> m_choices{};
    std::string m_strSituation;
    std::string m_strSymptom;
    std::string m_strPosition;
    std::string m_strPosture;
    int m_nContact = 0;
    int m_nPageCount = 0;
    int m_nCurrentPage = 0;
    int m_nLastStripArea = -1;
    struct PageEntry {
        int nFirstStrip = 0;
        int nStrips = 0;
    };
    std::array<PageEntry, 100> m_pages{};
    std::array<RECT, 512> m_rcStrips{};
    std::array<int, 512> m_nStripStarts{};
    int m_nZoom = 100;
    int m_nFontZoom = 100;
};

} // namespace render
