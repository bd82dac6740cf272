// How a record file enters a data folder: names that clash, recordings
// that are there already under their own name or another.
#include "records/RecordEntry.h"
#include "records/KnownRecordings.h"

#include "Fixtures.h"
#include "support/FaultSteps.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace records {
namespace {

using testsupport::ReadFile;
using testsupport::TempFolder;

std::string Recording(std::uint16_t number, std::uint32_t time, std::size_t n = 100) {
    RecordFields fields;
    fields.recordNumber = number;
    fields.recordedTime = time;
    return test::ValidRecord(n, false, fields);
}

// The same recording with the memo the person gave it later.
std::string WithMemo(std::string file) {
    const std::size_t memo = file.size();
    file.append(kMemoBlockSize, '\0');
    file[memo] = 3;
    return file;
}

std::string NameFor(int k) {
    return "d261208233507_000" + std::to_string(k) + ".ecg";
}

TEST(RecordEntry, AClashMovesTheFileOnAndTheSameRecordingIsPresent) {
    TempFolder folder;
    const std::string first = Recording(1, 1000);
    const std::string other = Recording(1, 2000);
    folder.Write(NameFor(0), WithMemo(first));
    folder.Write(NameFor(1), "not a record at all");

    // The same recording, memo aside: there already.
    RecordEntry entry = EnterRecordFile(folder.Path(), NameFor, first);
    EXPECT_EQ(entry.result, EntryResult::Present);
    EXPECT_EQ(entry.path, folder.File(NameFor(0)));

    // Another recording passes both taken names.
    entry = EnterRecordFile(folder.Path(), NameFor, other);
    EXPECT_EQ(entry.result, EntryResult::Entered);
    EXPECT_EQ(entry.path, folder.File(NameFor(2)));
    EXPECT_EQ(ReadFile(entry.path), other);
    EXPECT_EQ(ReadFile(folder.File(NameFor(0))), WithMemo(first));
    EXPECT_EQ(ReadFile(folder.File(NameFor(1))), "not a record at all");

    // Asked not to count what is present, it takes a new name as well.
    entry = EnterRecordFile(folder.Path(), NameFor, first, false);
    EXPECT_EQ(entry.result, EntryResult::Entered);
    EXPECT_EQ(entry.path, folder.File(NameFor(3)));
}

TEST(RecordEntry, EveryNameTakenIsAFailure) {
    TempFolder folder;
    folder.Write("only.ecg", "taken");
    const RecordEntry entry = EnterRecordFile(
        folder.Path(), [](int) { return std::string("only.ecg"); }, Recording(1, 1000));
    EXPECT_EQ(entry.result, EntryResult::Failed);
    EXPECT_EQ(entry.error, EEXIST);
    EXPECT_EQ(ReadFile(folder.File("only.ecg")), "taken");
}

TEST(RecordEntry, AFailedEntryLeavesNothing) {
    TempFolder folder;
    RecordEntry entry;
    testsupport::ForEachFailingCall(
        EIO, [&] { std::filesystem::remove(folder.File(NameFor(0))); },
        [&] { entry = EnterRecordFile(folder.Path(), NameFor, Recording(1, 1000)); },
        [&](std::uint64_t) {
            EXPECT_TRUE(testsupport::TemporaryFiles(folder.Path()).empty());
            if (entry.result == EntryResult::Failed) {
                EXPECT_EQ(entry.error, EIO);
                EXPECT_FALSE(std::filesystem::exists(folder.File(NameFor(0))));
            } else {
                EXPECT_EQ(ReadFile(entry.path), Recording(1, 1000));
            }
        });
}

TEST(KnownRecordings, FindsARecordingUnderAnyName) {
    TempFolder folder;
    const std::string dated = Recording(7, 5000);
    folder.Write("renamed.ecg", WithMemo(dated));
    folder.Write("other.ecg", Recording(7, 6000));
    folder.Write(".x.ecg.Ab12Cd.tmp", Recording(8, 5000));
    folder.Write("short.ecg", "ECG");

    CKnownRecordings known(folder.Path());
    EXPECT_EQ(known.Find(dated, false), folder.File("renamed.ecg"));
    // Saved again at another time of saving: the same recording only when
    // its time was the time of saving.
    const std::string later = Recording(7, 5001);
    EXPECT_EQ(known.Find(later, false), std::nullopt);
    EXPECT_EQ(known.Find(later, true), folder.File("renamed.ecg"));
    // A temporary file is no recording of the folder.
    EXPECT_EQ(known.Find(Recording(8, 5000), false), std::nullopt);
    EXPECT_EQ(known.Find("ECG", false), std::nullopt);

    const std::string added = Recording(9, 1);
    folder.Write("added.ecg", added);
    EXPECT_EQ(known.Find(added, false), std::nullopt) << "the folder is read once";
    known.Add(folder.File("added.ecg"), added);
    EXPECT_EQ(known.Find(added, false), folder.File("added.ecg"));
}

} // namespace
} // namespace records
