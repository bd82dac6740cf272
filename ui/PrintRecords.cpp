#include "ui/PrintRecords.h"

#include "platform/KnownFolders.h"
#include "platform/NamedLock.h"
#include "platform/ResourceText.h"
#include "records/ECGContentsData.h"
#include "ui/PagedTarget.h"
#include "ui/PaperOutput.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <vector>

namespace ui {

namespace {

constexpr unsigned kTextNoPrinter = 61914;

// Without a printer of the print system the job goes to a PDF file in the
// Documents folder, named after the document.
void OfferPdfFile(QPrinter& printer, const std::string& documentName) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return;
    QString name = QString::fromStdString(documentName);
    for (QChar& c : name)
        if (c == '/' || c == ':')
            c = '_';
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(platform::DocumentsFolder()) + "/" + name +
                              ".pdf");
}

class PrintingScope {
public:
    explicit PrintingScope(app::CECGFramework& framework) : m_framework(framework) {
        m_framework.SetPrinting(true);
    }
    ~PrintingScope() { m_framework.SetPrinting(false); }
    PrintingScope(const PrintingScope&) = delete;
    PrintingScope& operator=(const PrintingScope&) = delete;

private:
    app::CECGFramework& m_framework;
};

} // namespace

int IsPrintDialogFree() {
    return platform::CNamedLock::IsTaken(kPrintDialogLock) ? 0 : 1;
}

bool ShowPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

bool PrintRecords(QWidget* parent, app::CECGFramework& framework, render::CPrintManager& manager,
                  const PrinterChooser& choose) {
    std::vector<const records::CECGContentsData*> list;
    for (int i = 0; i < framework.GetPrintCount(); ++i)
        list.push_back(framework.GetPrint(i));
    const PrintingScope printing(framework);
    const std::string documentName = render::CPrintManager::DocumentName(list);

    const app::CECGOptions& options = framework.GetOptions();
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(QString::fromStdString(documentName));
    OfferPdfFile(printer, documentName);
    // The settings' paper is the dialog's first choice; a setting that names
    // no paper leaves the printer's own.
    if (options.printerPaper != app::kPrinterPaperUntouched)
        printer.setPageSize(PageSizeOf(PaperSizeOf(options)));
    if (!printer.isValid()) {
        if (platform::IUserPrompts* prompts = framework.GetPrompts())
            prompts->ShowMessage(platform::LoadText(kTextNoPrinter),
                                 platform::MessageIcon::Exclamation);
        return false;
    }
    if (!choose(printer, parent))
        return false;

    CPagedTarget target(printer);
    if (!target.IsOpen()) {
        if (platform::IUserPrompts* prompts = framework.GetPrompts())
            prompts->ShowMessage(platform::LoadText(kTextNoPrinter),
                                 platform::MessageIcon::Exclamation);
        return false;
    }
    manager.GetPaper().SetTextMeasure(target.GetPainterDC().Measure());
    // The page is laid out for the paper finally chosen in the dialog.
    manager.PrintRecords(target, list,
                         OnPaper(options, PaperSizeOf(printer.pageLayout().pageSize())),
                         framework.GetSensitivity());
    return true;
}

} // namespace ui
