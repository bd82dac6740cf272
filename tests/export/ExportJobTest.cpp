#include "export/ExportJob.h"
#include "ExportFixture.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace exports {
namespace {

using exporttest::LanguageScope;
using exporttest::MakeRecord;
using exporttest::RecordShape;
using testsupport::ReadFile;

class ExportJobTest : public ::testing::Test {
protected:
    ExportJobTest() {
        for (const char* name : {"d240105150405_0001.ecg", "d240106090000_0002.ecg"}) {
            owned.push_back(MakeRecord(data, name, RecordShape{250, 125}));
            records.push_back(owned.back().get());
        }
    }
    const IExportFormat& Csv() const { return *FindExportFormat("CSV"); }

    LanguageScope language{"en_US.UTF-8"};
    testsupport::TempFolder data, out;
    std::vector<std::unique_ptr<records::CECGContentsData>> owned;
    std::vector<const records::CECGContentsData*> records;
};

TEST_F(ExportJobTest, FormatsAreFoundByNameAndExtension) {
    EXPECT_EQ(FindExportFormat("edf")->Extension(), ".edf");
    EXPECT_EQ(FindExportFormat("Csv")->Name(), "csv");
    EXPECT_EQ(FindExportFormat("pdf"), nullptr);
    EXPECT_EQ(FormatForFileName("/x/a.EDF")->Name(), "edf");
    EXPECT_EQ(FormatForFileName("b.csv")->Name(), "csv");
    EXPECT_EQ(FormatForFileName(".csv.txt"), nullptr);
    EXPECT_EQ(FormatForFileName(".edf"), nullptr); // an extension alone is no name
}

TEST_F(ExportJobTest, WritesOneFileNamedAfterEachRecord) {
    std::vector<std::pair<std::size_t, std::size_t>> calls;
    const ExportOutcome outcome = RunExport(ItemsInFolder(records, out.Path(), Csv()), Csv(), false,
                                            [&](std::size_t done, std::size_t total) {
                                                calls.emplace_back(done, total);
                                                return true;
                                            });
    EXPECT_TRUE(outcome.problem.empty()) << outcome.problem;
    EXPECT_EQ(outcome.written, (std::vector<std::string>{out.File("d240105150405_0001.csv"),
                                                         out.File("d240106090000_0002.csv")}));
    EXPECT_EQ(calls, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 2}, {1, 2}, {2, 2}}));
    EXPECT_EQ(ReadFile(out.File("d240105150405_0001.csv")).rfind("sample,seconds,millivolts\n", 0),
              0u);
}

TEST_F(ExportJobTest, RefusalsComeBeforeAnythingIsWritten) {
    const std::string existing = out.Write("d240106090000_0002.csv", "someone's notes");
    const std::string link = out.File("link.csv");
    ASSERT_EQ(::symlink(records[1]->GetPath().c_str(), link.c_str()), 0);
    struct Case {
        std::vector<ExportItem> items;
        bool replace;
        std::string problem;
    };
    const std::vector<Case> cases{
        {ItemsInFolder(records, out.Path(), Csv()), false, existing + " already exists."},
        {{{records[0], out.File("same.csv")}, {records[1], out.Path() + "/./same.csv"}},
         true,
         "Two recordings would be written to the same file " + out.Path() + "/./same.csv."},
        // Even asked to replace, an export never takes a record's name.
        {{{records[0], out.File("a.csv")}, {records[1], records[0]->GetPath()}},
         true,
         records[0]->GetPath() +
             " is named like a record file; an export never replaces a recording."},
        {{{records[0], link}},
         true,
         link + " is named like a record file; an export never replaces a recording."},
    };
    const std::string recordBytes = ReadFile(records[1]->GetPath());
    for (const Case& c : cases) {
        const ExportOutcome outcome = RunExport(c.items, Csv(), c.replace);
        EXPECT_EQ(outcome.problem, c.problem);
        EXPECT_TRUE(outcome.written.empty());
    }
    EXPECT_EQ(ReadFile(existing), "someone's notes");
    EXPECT_EQ(ReadFile(records[1]->GetPath()), recordBytes);
    EXPECT_FALSE(platform::FileExists(out.File("a.csv")));
    EXPECT_FALSE(platform::FileExists(out.File("d240105150405_0001.csv")));
    EXPECT_EQ(ExistingTargets(ItemsInFolder(records, out.Path(), Csv())),
              std::vector<std::string>{existing});
}

TEST_F(ExportJobTest, ReplacesOnlyWhenAsked) {
    const std::string existing = out.Write("d240106090000_0002.csv", "old");
    const ExportOutcome outcome = RunExport(ItemsInFolder(records, out.Path(), Csv()), Csv(), true);
    EXPECT_TRUE(outcome.problem.empty()) << outcome.problem;
    EXPECT_EQ(outcome.written.size(), 2u);
    EXPECT_NE(ReadFile(existing), "old");
}

TEST_F(ExportJobTest, StopsAtTheFirstFailureAndKeepsWhatWasWritten) {
    const auto odd = MakeRecord(data, "d240107000000_0003.ecg", RecordShape{13, 128});
    std::vector<const records::CECGContentsData*> list{records[0], odd.get(), records[1]};
    const IExportFormat& edf = *FindExportFormat("edf");
    ExportOutcome outcome = RunExport(ItemsInFolder(list, out.Path(), edf), edf, false);
    EXPECT_EQ(outcome.written, std::vector<std::string>{out.File("d240105150405_0001.edf")});
    EXPECT_EQ(outcome.problem, "d240107000000_0003.ecg: 13 samples at 128 Hz cannot be divided "
                               "into EDF data records of an exact length.");
    EXPECT_FALSE(platform::FileExists(out.File("d240106090000_0002.edf")));

    // A place that takes no file: the reason names the file.
    const std::string blocked = out.Write("plain", "x") + "/late.csv";
    outcome = RunExport({{records[1], blocked}}, Csv(), false);
    EXPECT_EQ(outcome.problem, blocked + " could not be written: Not a directory");
}

TEST_F(ExportJobTest, CancelStopsBeforeTheNextFile) {
    const ExportOutcome outcome =
        RunExport(ItemsInFolder(records, out.Path(), Csv()), Csv(), false,
                  [](std::size_t done, std::size_t) { return done == 0; });
    EXPECT_TRUE(outcome.bCancelled);
    EXPECT_EQ(outcome.written.size(), 1u);
    EXPECT_TRUE(outcome.problem.empty());
}

} // namespace
} // namespace exports
