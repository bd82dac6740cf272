// The base of the ECG papers: millimetre scale of the grid, paper speed
// and gain, the six pens, the paper font and the samples of the record
// being drawn, all handed on to the drawers.
#pragma once

#include "app/GraphOption.h"
#include "records/ECGContentsData.h"
#include "render/PaperBase.h"

#include <array>
#include <memory>

namespace render {

class CECGBasePaper : public CPaperBase {
public:
    enum PenIndex { kPenGrid1, kPenGrid5, kPenGrid25, kPenFrame, kPenWave, kPenCalibration };

    // Units per millimetre below 1 in either direction select the screen
    // scale of 4 units per millimetre.
    CECGBasePaper(int mapMode, double unitsPerMmX, double unitsPerMmY);

    // Borrows the record (null: no samples) and copies its samples.
    void SetData(const records::CECGContentsData* pRecord);
    // A point font of the paper face for the paper's device context.
    const LOGFONT& SetFontSize(int tenthsOfPoint);
    const LOGFONT& GetFont() const { return m_font; }

    void SetUnitsPerMm(double x, double y);
    void SetSpeedFactor(double f);
    void SetGainFactor(double f) { m_dGainFactor = f; }
    int GetFullScaleHeight() const { return static_cast<int>(m_dGainFactor * m_dUnits5mmY); }
    int SecondsToUnits(double seconds) const { return static_cast<int>(seconds * m_dUnitsPerSecX); }
    void PushDrawSettings();
    // The paper keeps its own pens whatever the settings colours are.
    void ApplyGraphOptions(std::array<app::COLORREF, app::kColourCount> colours);

    double GetUnitsPerMmX() const { return m_dUnitsPerMmX; }
    double GetUnitsPerMmY() const { return m_dUnitsPerMmY; }
    double GetUnits5mmX() const { return m_dUnits5mmX; }
    double GetUnits5mmY() const { return m_dUnits5mmY; }
    double GetUnitsPerSecX() const { return m_dUnitsPerSecX; }
    double GetSpeedFactor() const { return m_dSpeedFactor; }
    double GetGainFactor() const { return m_dGainFactor; }
    const LOGPEN& GetPen(int index) const { return m_pens[index]; }
    int GetSampleCount() const { return m_nSamples; }
    const double* GetSamples() const { return m_pSamples.get(); }

protected:
    virtual void OnDataSet(const records::CECGContentsData* /*pRecord*/, const double* /*pSamples*/,
                           int /*nCount*/) {}
    void PushGridSpacing();

    COLORREF m_crPaper = RGB(255, 255, 255);
    std::array<LOGPEN, 6> m_pens;
    double m_dUnitsPerMmX = 4.0;
    double m_dUnitsPerMmY = 4.0;
    double m_dUnits5mmX = 20.0;
    double m_dUnits5mmY = 20.0;
    double m_dUnitsPerSecX = 100.0;
    double m_dLevel3Y = 0;
    LOGFONT m_font;
    const records::CECGContentsData* m_pRecord = nullptr;
    std::unique_ptr<double[]> m_pSamples;
    int m_nSamples = 0;
    double m_dSpeedFactor = 5;
    double m_dGainFactor = 40;
};

} // namespace render
