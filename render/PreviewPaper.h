// The thumbnail of one record for the record list: an information column
// (severity, print mark, date, analysis, heart rate, contact state) beside
// thirty seconds of waveform on a grid, in device pixels.
#pragma once

#include "render/ECGBasePaper.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {
class CECGFramework;
}

namespace render {

class CPreviewPaper : public CECGBasePaper {
public:
    // The list view passes 5 pixels per millimetre both ways.
    CPreviewPaper(double pixelsPerMmX, double pixelsPerMmY);

    // The framework that knows which records the running import added
    // (borrowed; null: no record counts as new).
    void SetFramework(const app::CECGFramework* pFramework) { m_pFramework = pFramework; }
    // Width of a single line of text in a font, from the window layer's font
    // engine; the device context has no text metrics, so without it the
    // paper estimates from the character height.
    using TextMeasure = std::function<int(std::string_view text, const LOGFONT& font)>;
    void SetTextMeasure(TextMeasure measure) { m_measure = std::move(measure); }

    int GetInfoArea() const { return m_nInfoArea; }
    int GetWaveArea() const { return m_nWaveArea; }
    int GetLabelWidth() const { return m_nLabelWidth; }
    int GetTextWidth() const { return m_nTextWidth; }
    int GetTextHeight() const { return m_nTextHeight; }
    int GetSecondsShown() const { return m_nSeconds; }

    // The texts of the analysis column for a result class; an empty string
    // leaves its line blank, and a class above 12 gives no lines.
    static std::vector<std::string> AnalysisLines(int analysisClass);

protected:
    void InitPage(CDC* pDC) override;
    void Layout(RECT rc) override;
    void BeginDraw(RECT rc) override;
    void DrawArea(int index, RECT rc) override;
    void OnDataSet(const records::CECGContentsData* pRecord, const double* pSamples,
                   int nCount) override;

private:
    void DrawInfo(CDC& dc, const RECT& rc);
    void DrawDate(CDC& dc, const RECT& rc);
    void DrawHeartRate(CDC& dc, const RECT& rc);
    void DrawContactState(CDC& dc, const RECT& rc);
    int TextWidth(const LOGFONT& font, std::string_view text) const;

    int m_nInfoArea;
    int m_nWaveArea;
    int m_nLabelWidth = 0;
    int m_nTextWidth = 0;
    int m_nTextHeight = 0;
    int m_nSeconds = 30;
    const app::CECGFramework* m_pFramework = nullptr;
    TextMeasure m_measure;
};

} // namespace render
