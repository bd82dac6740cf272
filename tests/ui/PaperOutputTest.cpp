#include "ui/PaperOutput.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/QtApplication.h"
#include "support/TempFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::Application;
using testsupport::ReadFile;
using testsupport::TempFolder;

// A record whose trace is a tall spike once a second.
std::unique_ptr<records::CECGContentsData> SpikyRecord(const TempFolder& folder,
                                                       const std::string& name) {
    std::vector<std::uint16_t> samples(3750, 1024);
    for (std::size_t i = 0; i < samples.size(); i += 125)
        for (std::size_t k = 0; k < 6 && i + k < samples.size(); ++k)
            samples[i + k] = 1700;
    records::RecordFields fields;
    fields.recordedTime = 1704434645;
    fields.heartRate = 60;
    auto record = std::make_unique<records::CECGContentsData>();
    record->SetPath(folder.Write(name, records::BuildRecordFile(fields, samples, true)));
    record->Load();
    return record;
}

// Share of dark pixels in a band of rows of the image.
double DarkShare(const QImage& image, double top, double bottom) {
    int dark = 0, all = 0;
    for (int y = static_cast<int>(image.height() * top); y < image.height() * bottom; ++y)
        for (int x = 0; x < image.width(); ++x, ++all)
            dark += qGray(image.pixel(x, y)) < 100;
    return all ? static_cast<double>(dark) / all : 0;
}

class PaperOutputTest : public ::testing::Test {
protected:
    PaperOutputTest() { Application(); }
    TempFolder folder;
    app::CGraphOption options;
    std::string error;
};

TEST_F(PaperOutputTest, ReportPdfHasOnePagePerRecord) {
    const auto a = SpikyRecord(folder, "a.ecg");
    const auto b = SpikyRecord(folder, "b.ecg");
    const std::vector<const records::CECGContentsData*> list{a.get(), b.get()};
    ASSERT_TRUE(ui::WriteReport(list, folder.File("r.pdf"), options, 1, ui::PaperSize::A4, error))
        << error;
    const std::string pdf = ReadFile(folder.File("r.pdf"));
    ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
    std::size_t pages = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1))
        pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    EXPECT_EQ(pages, 2u);
}

TEST_F(PaperOutputTest, ImagesCarryTheWaveformWhereItBelongs) {
    const auto record = SpikyRecord(folder, "a.ecg");
    ASSERT_TRUE(ui::WriteReport(std::vector<const records::CECGContentsData*>{record.get()},
                                folder.File("r.png"), options, 1, ui::PaperSize::A4, error))
        << error;
    const QImage page(QString::fromStdString(folder.File("r.png")));
    ASSERT_FALSE(page.isNull());
    // The strips fill the lower two thirds of the page; the trace and its
    // spikes darken them, the margin below the footer stays white.
    EXPECT_GT(DarkShare(page, 0.35, 0.9), 0.002);
    EXPECT_LT(DarkShare(page, 0.985, 1.0), 0.0001);

    ASSERT_TRUE(ui::WriteWave(*record, folder.File("w.png"), options, 200, 1, error)) << error;
    EXPECT_GT(DarkShare(QImage(QString::fromStdString(folder.File("w.png"))), 0.4, 0.8), 0.001);

    ASSERT_TRUE(ui::WriteThumbnail(*record, folder.File("t.png"), options, error)) << error;
    const QImage thumb(QString::fromStdString(folder.File("t.png")));
    EXPECT_EQ(thumb.height(), 144);
    EXPECT_GT(DarkShare(thumb, 0.0, 1.0), 0.002);
}

TEST_F(PaperOutputTest, UnknownOrUnwritableOutputsAreRefused) {
    const auto record = SpikyRecord(folder, "a.ecg");
    EXPECT_FALSE(ui::WriteWave(*record, folder.File("w.pdf"), options, 100, 1, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ui::WriteThumbnail(*record, folder.File("missing/t.png"), options, error));
    EXPECT_FALSE(ui::WriteReport(std::vector<const records::CECGContentsData*>{record.get()},
                                 folder.File("missing/r.pdf"), options, 1, ui::PaperSize::A4,
                                 error));
}

} // namespace
