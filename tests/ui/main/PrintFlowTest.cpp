// The main window's print command: which records it prints (selected,
// marked, or asked), the refusals, and the job it makes: one PDF page per
// record, named after the first.
#include "platform/NamedLock.h"
#include "support/PdfRaster.h"
#include "ui/PrintRecords.h"
#include "ui/main/MainWindowFixture.h"

#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>

#include <filesystem>

namespace {

using testsupport::MainWindowTest;

class PrintFlowTest : public MainWindowTest {
protected:
    PrintFlowTest() {
        AddRecord("d2401010000_0001.ecg");
        AddRecord("d2401020000_0002.ecg");
        AddRecord("d2401030000_0003.ecg");
    }

    ui::CMainFrame& OpenPrinting() {
        ui::CMainFrame& window = Open();
        window.SetPrinterChooser([this](QPrinter& printer, QWidget*) {
            ++dialogs;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            return chooseAnswer;
        });
        return window;
    }

    void Mark(const std::string& name) {
        for (const auto& record : List().Model().Records())
            if (record->GetFileName() == name)
                record->ToggleChecked();
        emit List().MarksChanged();
    }

    int Pages() const {
        const std::string bytes = testsupport::ReadFile(pdf);
        static const QRegularExpression page(R"(/Type\s*/Page[^s])");
        return static_cast<int>(QString::fromLatin1(bytes.data(), bytes.size()).count(page));
    }

    // Qt writes the title as UTF-16 with a byte order mark.
    bool TitleIs(const std::string& title) const {
        std::string utf16 = "\xFE\xFF";
        for (char c : title) {
            utf16 += '\0';
            utf16 += c;
        }
        return testsupport::ReadFile(pdf).find(utf16) != std::string::npos;
    }

    std::string pdf = home.File("job.pdf");
    int dialogs = 0;
    bool chooseAnswer = true;
};

TEST_F(PrintFlowTest, MarkedRecordsPrintWithoutAskingWhenNothingIsSelected) {
    OpenPrinting();
    Mark("d2401010000_0001.ecg");
    Mark("d2401030000_0003.ecg");
    Select({});
    ASSERT_TRUE(frame->IsCommandEnabled(app::kCmdPrint));
    frame->OnCommand(app::kCmdPrint);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Pages(), 2);
    // The marked records go in folder order; the title names the first.
    EXPECT_TRUE(TitleIs("Rhythmora - " + framework.GetPrint(0)->GetFileName()));
    EXPECT_FALSE(framework.IsPrinting());
    EXPECT_TRUE(frame->isEnabled());
}

TEST_F(PrintFlowTest, SelectionAndMarksAskWhichToPrint) {
    OpenPrinting();
    Mark("d2401010000_0001.ecg");
    Mark("d2401020000_0002.ecg");
    Select({2});
    struct Case {
        int answer;
        int choice;
        int pages; // 0: nothing printed
    };
    const Case cases[] = {
        {platform::kIdOk, 0, 2}, {platform::kIdOk, 1, 1}, {platform::kIdCancel, 0, 0}};
    for (const Case& c : cases) {
        std::filesystem::remove(pdf);
        prompts.shown.clear();
        prompts.answers = {c.answer};
        prompts.printChoice = c.choice;
        frame->OnCommand(app::kCmdPrintButton);
        ASSERT_EQ(prompts.shown.size(), 1u);
        EXPECT_EQ(prompts.shown[0].heading, "Print");
        EXPECT_EQ(c.pages == 0 ? 0 : Pages(), c.pages) << c.choice;
        EXPECT_EQ(std::filesystem::exists(pdf), c.pages != 0);
    }
}

TEST_F(PrintFlowTest, CancelledDialogPrintsNothing) {
    OpenPrinting();
    chooseAnswer = false;
    frame->OnCommand(app::kCmdPrint);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_FALSE(framework.IsPrinting());
}

TEST_F(PrintFlowTest, ARecordWhoseFileWentIsRefused) {
    OpenPrinting();
    struct Case {
        bool marked;
        const char* text;
    };
    const Case cases[] = {{false, "The recording file was not found."},
                          {true, "The selected file was not found."}};
    for (const Case& c : cases) {
        frame->RefreshList();
        const std::string first = List().Model().Record(0)->GetFileName();
        if (c.marked) {
            Mark(first);
            Select({});
        }
        std::filesystem::remove(data.File(first));
        prompts.shown.clear();
        frame->OnCommand(app::kCmdPrint);
        ASSERT_EQ(prompts.shown.size(), 1u) << c.marked;
        EXPECT_EQ(prompts.shown[0].text, c.text);
        EXPECT_EQ(prompts.shown[0].icon, platform::MessageIcon::Hand);
        EXPECT_EQ(dialogs, 0);
        EXPECT_EQ(framework.GetPrintCount(), 0);
    }
    // The list was refilled without the missing files.
    EXPECT_EQ(List().RecordCount(), 1);
}

// The settings' paper is the dialog's first choice, and the page is laid
// out for the paper the dialog ends with: the footer's line is the last
// thing drawn, inside the page.
TEST_F(PrintFlowTest, ThePaperOfTheSettingsReachesTheDialogAndThePage) {
    struct Case {
        int setting;
        QPageSize::PageSizeId offered;
        QPageSize::PageSizeId chosen;
        double heightMm, footerLineMm;
    };
    const Case cases[] = {
        {1, QPageSize::Letter, QPageSize::Letter, 279.4, 271.8},
        {0, QPageSize::A4, QPageSize::A4, 297, 287.8},
        {0, QPageSize::A4, QPageSize::Letter, 279.4, 271.8},
    };
    ui::CMainFrame& window = Open();
    Select({0});
    for (const Case& c : cases) {
        std::filesystem::remove(pdf);
        framework.GetOptions().paperSize = c.setting;
        framework.GetOptions().printerPaper =
            c.setting == 1 ? app::kPrinterPaperLetter : app::kPrinterPaperA4;
        QPageSize::PageSizeId offered = QPageSize::Custom;
        window.SetPrinterChooser([&](QPrinter& printer, QWidget*) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(pdf));
            offered = printer.pageLayout().pageSize().id();
            printer.setPageSize(QPageSize(c.chosen));
            return true;
        });
        frame->OnCommand(app::kCmdPrint);
        EXPECT_EQ(offered, c.offered) << c.setting;
        const auto pages = testsupport::RasterisePdf(pdf, 100);
        ASSERT_EQ(pages.size(), 1u);
        const QImage& page = pages[0];
        EXPECT_NEAR(page.height() * 25.4 / 100, c.heightMm, 0.5);
        EXPECT_NEAR(testsupport::LowestInkMm(page, 100), c.footerLineMm, 0.5)
            << c.setting << " " << c.chosen;
    }
}

TEST_F(PrintFlowTest, PrintDialogLockHeldByAnotherProcess) {
    const testsupport::ScopedEnv runtime("XDG_RUNTIME_DIR", home.Path());
    OpenPrinting();
    Select({0});
    EXPECT_EQ(ui::IsPrintDialogFree(), 1);
    EXPECT_TRUE(frame->IsCommandEnabled(app::kCmdPrint));

    const std::string lockFile = platform::CNamedLock::LockPath(ui::kPrintDialogLock);
    QProcess holder;
    holder.start("flock", {QString::fromStdString(lockFile), "-c", "echo held; read line"});
    ASSERT_TRUE(holder.waitForStarted());
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    EXPECT_EQ(ui::IsPrintDialogFree(), 0);
    EXPECT_FALSE(frame->IsCommandEnabled(app::kCmdPrint));
    // With two records selected the dialog's lock does not matter.
    Select({0, 1});
    EXPECT_TRUE(frame->IsCommandEnabled(app::kCmdPrint));

    holder.write("\n");
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_EQ(ui::IsPrintDialogFree(), 1);
}

} // namespace
