// File > Export as the windows run it: the folder, the question before
// replacing, and the message that says what was written.
#include "ui/ExportRecords.h"
#include "app/Language.h"
#include "app/MainCommands.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/QtApplication.h"
#include "support/ScriptedPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

using testsupport::ReadFile;
using testsupport::ScopedEnv;
using testsupport::TempFolder;

class ExportRecordsTest : public ::testing::Test {
protected:
    ExportRecordsTest() {
        testsupport::Application();
        app::StartLanguages();
    }
    ~ExportRecordsTest() override { app::ReleaseLanguages(); }

    // Record d240101000NN_00NN.ecg of `sampleCount` samples at `rate` Hz.
    void AddRecord(int n, std::size_t sampleCount = 1250, std::uint16_t rate = 125) {
        records::RecordFields fields;
        fields.recordedTime = 1704412800 + static_cast<std::uint32_t>(n);
        fields.sampleRate = rate;
        char name[32];
        std::snprintf(name, sizeof name, "d240101000%02d_%04d.ecg", n, n);
        const std::vector<std::uint16_t> samples(sampleCount, 2048);
        auto record = std::make_unique<records::CECGContentsData>();
        record->SetPath(data.Write(name, records::BuildRecordFile(fields, samples, true)));
        record->Load();
        list.push_back(record.get());
        owned.push_back(std::move(record));
    }
    void AddRecords(int count, std::size_t sampleCount = 1250) {
        for (int n = 1; n <= count; ++n)
            AddRecord(n, sampleCount);
    }

    void Export(unsigned command, const std::string& folder) {
        ui::ExportRecords(nullptr, list, ui::ExportFormatFor(command), prompts,
                          [this, folder](QWidget*, const QString&) {
                              ++choosers;
                              return QString::fromStdString(folder);
                          });
    }

    ScopedEnv lang{"LANG", "en_US.UTF-8"};
    ScopedEnv all{"LC_ALL", std::nullopt};
    TempFolder home;
    ScopedEnv config{"XDG_CONFIG_HOME", home.Path()};
    TempFolder data, out;
    std::vector<std::unique_ptr<records::CECGContentsData>> owned;
    std::vector<const records::CECGContentsData*> list;
    testsupport::ScriptedPrompts prompts;
    int choosers = 0;
};

TEST_F(ExportRecordsTest, WritesEachRecordAndSaysWhatWasWritten) {
    AddRecords(2);
    Export(app::kCmdExportEdf, out.Path());
    EXPECT_EQ(ReadFile(out.File("d24010100001_0001.edf")).rfind("0       ", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(out.File("d24010100002_0002.edf")));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].heading, "Export");
    EXPECT_EQ(prompts.shown[0].text, "Files written to " + out.Path() +
                                         ": 2\nd24010100001_0001.edf\nd24010100002_0002.edf");

    // The CSV command writes CSV.
    Export(app::kCmdExportCsv, out.Path());
    EXPECT_EQ(ReadFile(out.File("d24010100002_0002.csv")).rfind("sample,", 0), 0u);
}

TEST_F(ExportRecordsTest, ALongListIsCounted) {
    AddRecords(12, 13);
    Export(app::kCmdExportCsv, out.Path());
    ASSERT_EQ(prompts.shown.size(), 1u);
    const std::string& text = prompts.shown[0].text;
    EXPECT_NE(text.find("\nd24010100010_0010.csv\n... and 2 more"), std::string::npos) << text;
    EXPECT_EQ(text.find("0011"), std::string::npos) << text;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), {}), 12);
}

TEST_F(ExportRecordsTest, FilesAlreadyThereAreReplacedOnlyWhenThePersonSaysSo) {
    AddRecords(2);
    const std::string kept = out.Write("d24010100002_0002.csv", "kept");
    prompts.answers = {platform::kIdCancel};
    Export(app::kCmdExportCsv, out.Path());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Files already in " + out.Path() + ": 1\nReplace them?");
    EXPECT_EQ(ReadFile(kept), "kept");
    EXPECT_FALSE(std::filesystem::exists(out.File("d24010100001_0001.csv")));

    prompts.shown.clear();
    prompts.answers = {platform::kIdOk};
    Export(app::kCmdExportCsv, out.Path());
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].text.rfind("Files written to " + out.Path() + ": 2", 0), 0u);
    EXPECT_EQ(ReadFile(kept).rfind("sample,", 0), 0u);
}

TEST_F(ExportRecordsTest, ACancelledChooserWritesNothingAndSaysNothing) {
    AddRecords(1);
    Export(app::kCmdExportEdf, "");
    EXPECT_EQ(choosers, 1);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(ExportRecordsTest, AFailureIsToldWithWhatWasWrittenBeforeIt) {
    AddRecord(1);
    AddRecord(9, 13, 128);
    AddRecord(10);
    Export(app::kCmdExportEdf, out.Path());
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].heading, "");
    EXPECT_EQ(prompts.shown[0].text,
              "Files written to " + out.Path() +
                  ": 1\nd24010100001_0001.edf\n\nd24010100009_0009.ecg: 13 samples at 128 Hz "
                  "cannot be divided into EDF data records of an exact length.");
    EXPECT_FALSE(std::filesystem::exists(out.File("d24010100010_0010.edf")));
}

} // namespace
