// The paper side of printing: one report page per record of a print list,
// in list order, as one document, on a page device a print service lends.
#pragma once

#include "app/GraphOption.h"
#include "records/ECGContentsData.h"
#include "render/ReportPaper.h"

#include <span>
#include <string>
#include <string_view>

namespace render {

// A printer page sequence with a device context in 0.1 mm, y upwards.
class IPrintTarget {
public:
    virtual ~IPrintTarget() = default;
    virtual CDC& GetDC() = 0;
    virtual void StartDoc(std::string_view documentName) = 0;
    virtual void StartPage() = 0;
    virtual void EndPage() = 0;
    virtual void EndDoc() = 0;
};

class CPrintManager {
public:
    CPrintManager() = default;
    virtual ~CPrintManager() = default;

    // Prints every record as one page, each laid out from its own record:
    // the page a record gets alone. An empty list gives an empty document
    // named after the program.
    void PrintRecords(IPrintTarget& target,
                      std::span<const records::CECGContentsData* const> records,
                      const app::CGraphOption& option, int sensitivity);

    // "<program title> - <file name of the first record>".
    static std::string DocumentName(std::span<const records::CECGContentsData* const> records);

    CPrintPaper& GetPaper() { return m_paper; }

private:
    CPrintPaper m_paper;
};

} // namespace render
