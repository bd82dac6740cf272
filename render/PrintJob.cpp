#include "render/PrintJob.h"

#include "platform/ResourceText.h"

namespace render {

namespace {
constexpr unsigned kTextProgramTitle = 57344;
}

std::string CPrintManager::DocumentName(std::span<const records::CECGContentsData* const> records) {
    std::string name = platform::LoadText(kTextProgramTitle);
    if (!records.empty() && records.front() != nullptr)
        name += " - " + records.front()->GetFileName(0);
    return name;
}

void CPrintManager::PrintRecords(IPrintTarget& target,
                                 std::span<const records::CECGContentsData* const> records,
                                 const app::CGraphOption& option, int sensitivity) {
    CDC& dc = target.GetDC();
    target.StartDoc(DocumentName(records));

    CPrintInfo info;
    info.m_rectDraw = RECT{0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)};
    m_paper.SetGraphOption(option);
    m_paper.SetSensitivity(sensitivity);

    for (const records::CECGContentsData* pRecord : records) {
        target.StartPage();
        // Each page is set up and laid out from its own record (window,
        // strips, centre), exactly as when that record is printed alone.
        m_paper.SetData(pRecord);
        m_paper.SetDC(&dc);
        m_paper.SetPrintInfo(&info);
        m_paper.Draw();
        info.SetMaxPage(static_cast<int>(records.size()));
        target.EndPage();
    }
    target.EndDoc();
    // The paper must not keep pointers into this call's page information.
    m_paper.SetPrintInfo(nullptr);
}

} // namespace render
