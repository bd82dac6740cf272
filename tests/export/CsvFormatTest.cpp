#include "export/CsvFormat.h"
#include "ExportFixture.h"
#include "records/SampleScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace exports {
namespace {

using exporttest::MakeRecord;
using exporttest::RecordShape;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(CsvFormat, OneRowPerSampleWithTimeAndMillivolts) {
    testsupport::TempFolder folder;
    for (const RecordShape shape :
         {RecordShape{3750, 125}, RecordShape{13, 125}, RecordShape{7, 300}}) {
        const auto record = MakeRecord(folder, "d240105150405_002a.ecg", shape);
        std::string bytes, problem;
        ASSERT_TRUE(CCsvFormat().Generate(*record, bytes, problem));
        const std::vector<std::string> lines = Lines(bytes);
        ASSERT_EQ(lines.size(), shape.sampleCount + 1);
        EXPECT_EQ(lines.front(), "sample,seconds,millivolts");
        for (std::size_t i = 0; i < shape.sampleCount; ++i) {
            const std::string& line = lines[i + 1];
            int number = 0;
            double seconds = 0, millivolts = 0;
            ASSERT_EQ(std::sscanf(line.c_str(), "%d,%lf,%lf", &number, &seconds, &millivolts), 3)
                << line;
            EXPECT_EQ(number, static_cast<int>(i) + 1);
            EXPECT_DOUBLE_EQ(seconds, static_cast<double>(i) / shape.sampleRate) << line;
            // The millivolts give back the very sample the record holds.
            const int value = record->GetSample(static_cast<int>(i)).value;
            EXPECT_EQ(std::lround(millivolts * records::kSampleGain) + records::kSampleBaseline,
                      value)
                << line;
        }
    }
}

TEST(CsvFormat, KnownRowsReadAsWritten) {
    testsupport::TempFolder folder;
    const auto record = MakeRecord(folder, "p.ecg", RecordShape{3, 250});
    std::string bytes, problem;
    ASSERT_TRUE(CCsvFormat().Generate(*record, bytes, problem));
    // The fixture's first samples are 0, 2531 and 966 (12-bit), handed out
    // as 0, 421 and 942 after the record's scaling.
    EXPECT_EQ(bytes, "sample,seconds,millivolts\n"
                     "1,0,-10.00489\n"
                     "2,0.004,-5.89155\n"
                     "3,0.008,-0.80117\n");
}

} // namespace
} // namespace exports
