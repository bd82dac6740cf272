#include "ui/PaperOutput.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "support/PdfRaster.h"
#include "support/QtApplication.h"
#include "support/TempFolder.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using testsupport::Application;
using testsupport::LowestInkMm;
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

// A record whose trace is a flat line, `seconds` long.
std::unique_ptr<records::CECGContentsData> FlatRecord(const TempFolder& folder,
                                                      const std::string& name, int seconds) {
    const std::vector<std::uint16_t> samples(static_cast<std::size_t>(seconds) * 125, 1024);
    auto record = std::make_unique<records::CECGContentsData>();
    record->SetPath(folder.Write(name, records::BuildRecordFile({}, samples, true)));
    record->Load();
    return record;
}

// Rasters at 254 dpi have ten pixels to the millimetre.
constexpr int kDpi = 254;
constexpr double kPixelsPerMm = kDpi / 25.4;

// The calibration pulse's height in millimetres: the longest vertical run
// of its grey in the columns where it stands, 20 to 25 mm from the left.
double PulseHeightMm(const QImage& page) {
    int longest = 0;
    for (int x = static_cast<int>(20 * kPixelsPerMm); x < 25 * kPixelsPerMm; ++x) {
        int run = 0;
        for (int y = static_cast<int>(90 * kPixelsPerMm); y < 130 * kPixelsPerMm; ++y) {
            const QRgb c = page.pixel(x, y);
            const bool pulse =
                qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && std::abs(qRed(c) - 95) <= 8;
            run = pulse ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest / kPixelsPerMm;
}

// Share of the pixels darker than `grey` in a band of rows of the image.
double DarkShare(const QImage& image, double top, double bottom, int grey = 100) {
    int dark = 0, all = 0;
    for (int y = static_cast<int>(image.height() * top); y < image.height() * bottom; ++y)
        for (int x = 0; x < image.width(); ++x, ++all)
            dark += qGray(image.pixel(x, y)) < grey;
    return all ? static_cast<double>(dark) / all : 0;
}

// The paper drawn into the file named, in the format its name asks for.
template <typename Draw> bool Save(const std::string& path, std::string& error, Draw draw) {
    const std::optional<ui::PaperFormat> format = ui::PaperFormatOf(path);
    std::string bytes;
    if (!format || !draw(*format, bytes)) {
        error = "not drawn: " + path;
        return false;
    }
    testsupport::WriteFile(path, bytes);
    return true;
}

bool WriteReport(std::span<const records::CECGContentsData* const> list, const std::string& path,
                 const app::CGraphOption& options, int sensitivity, ui::PaperSize paper,
                 std::string& error) {
    return Save(path, error, [&](ui::PaperFormat format, std::string& bytes) {
        return ui::DrawReport(list, format, options, sensitivity, paper, bytes);
    });
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
    ASSERT_TRUE(WriteReport(list, folder.File("r.pdf"), options, 1, ui::PaperSize::A4, error))
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
    ASSERT_TRUE(WriteReport(std::vector<const records::CECGContentsData*>{record.get()},
                            folder.File("r.png"), options, 1, ui::PaperSize::A4, error))
        << error;
    const QImage page(QString::fromStdString(folder.File("r.png")));
    ASSERT_FALSE(page.isNull());
    // The strips fill the lower two thirds of the page; the trace and its
    // spikes darken them, the margin below the footer stays white.
    EXPECT_GT(DarkShare(page, 0.35, 0.9), 0.002);
    EXPECT_LT(DarkShare(page, 0.985, 1.0), 0.0001);

    std::string png;
    ASSERT_TRUE(ui::DrawWave(*record, ui::PaperFormat::Png, options, 200, 1, png));
    EXPECT_GT(DarkShare(QImage::fromData(QByteArray::fromStdString(png)), 0.4, 0.8), 0.001);

    ASSERT_TRUE(ui::DrawThumbnail(*record, ui::PaperFormat::Png, options, png));
    const QImage thumb = QImage::fromData(QByteArray::fromStdString(png));
    EXPECT_EQ(thumb.height(), 144);
    EXPECT_GT(DarkShare(thumb, 0.0, 1.0), 0.002);
}

// The PDF as a person gets it: the 1 mV pulse is as tall as the footer's
// label says.
TEST_F(PaperOutputTest, TheReportPdfDrawsThePulseAtTheLabelledHeight) {
    const auto record = FlatRecord(folder, "a.ecg", 7);
    const std::vector<const records::CECGContentsData*> list{record.get()};
    for (const auto& [sensitivity, mm] :
         {std::pair{0, 20.0}, std::pair{1, 10.0}, std::pair{2, 5.0}}) {
        const std::string pdf = folder.File("s" + std::to_string(sensitivity) + ".pdf");
        ASSERT_TRUE(WriteReport(list, pdf, options, sensitivity, ui::PaperSize::A4, error))
            << error;
        const auto pages = testsupport::RasterisePdf(pdf, kDpi);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_NEAR(PulseHeightMm(pages[0]), mm, 0.3) << sensitivity;
    }
}

// Each paper holds the whole page: the footer's line is the last thing
// drawn, where its layout puts it, with its texts above it and white below.
TEST_F(PaperOutputTest, TheReportFitsItsPaperWithTheWholeFooter) {
    struct Case {
        ui::PaperSize paper;
        double widthMm, heightMm, footerLineMm;
    };
    const auto record = SpikyRecord(folder, "a.ecg");
    const std::vector<const records::CECGContentsData*> list{record.get()};
    for (const Case& c : {Case{ui::PaperSize::A4, 210, 297, 287.8},
                          Case{ui::PaperSize::Letter, 215.9, 279.4, 271.8}}) {
        const std::string pdf = folder.File("p.pdf");
        ASSERT_TRUE(WriteReport(list, pdf, options, 0, c.paper, error)) << error;
        const auto pages = testsupport::RasterisePdf(pdf, kDpi);
        ASSERT_EQ(pages.size(), 1u);
        const QImage& page = pages[0];
        EXPECT_NEAR(page.width() / kPixelsPerMm, c.widthMm, 0.2) << c.heightMm;
        EXPECT_NEAR(page.height() / kPixelsPerMm, c.heightMm, 0.2) << c.heightMm;
        EXPECT_NEAR(LowestInkMm(page, kDpi), c.footerLineMm, 0.3) << c.heightMm;
        EXPECT_GT(c.heightMm - LowestInkMm(page, kDpi), 7.0) << c.heightMm;
        // The doctor's comment heading between the scale line and the line.
        EXPECT_GT(DarkShare(page, (c.footerLineMm - 4) / c.heightMm,
                            (c.footerLineMm - 1) / c.heightMm, 200),
                  0.001)
            << c.heightMm;
    }
}

TEST_F(PaperOutputTest, EveryPageOfAJobIsThePageItsRecordGetsAlone) {
    const auto shorter = FlatRecord(folder, "a.ecg", 14);
    const auto longer = SpikyRecord(folder, "b.ecg");
    const std::vector<const records::CECGContentsData*> list{shorter.get(), longer.get()};
    ASSERT_TRUE(WriteReport(list, folder.File("job.pdf"), options, 1, ui::PaperSize::A4, error))
        << error;
    const auto job = testsupport::RasterisePdf(folder.File("job.pdf"), 100);
    ASSERT_EQ(job.size(), 2u);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string pdf = folder.File("alone" + std::to_string(i) + ".pdf");
        ASSERT_TRUE(WriteReport(std::span(&list[i], 1), pdf, options, 1, ui::PaperSize::A4, error))
            << error;
        const auto alone = testsupport::RasterisePdf(pdf, 100);
        ASSERT_EQ(alone.size(), 1u);
        EXPECT_TRUE(alone[0] == job[i]) << "page " << i + 1;
    }
}

TEST_F(PaperOutputTest, TheFormatFollowsTheExtensionInAnyCaseAndAPdfHoldsOnlyTheReport) {
    const struct {
        const char* name;
        std::optional<ui::PaperFormat> format;
    } cases[] = {
        {"r.pdf", ui::PaperFormat::Pdf}, {"R.PDF", ui::PaperFormat::Pdf},
        {"w.Svg", ui::PaperFormat::Svg}, {"dir.png/t.PNG", ui::PaperFormat::Png},
        {"r.pdf.txt", std::nullopt},     {"pdf", std::nullopt},
        {"dir.pdf/r", std::nullopt},     {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ui::PaperFormatOf(c.name), c.format) << c.name;

    const auto record = SpikyRecord(folder, "a.ecg");
    std::string bytes;
    EXPECT_FALSE(ui::DrawWave(*record, ui::PaperFormat::Pdf, options, 100, 1, bytes));
    EXPECT_FALSE(ui::DrawThumbnail(*record, ui::PaperFormat::Pdf, options, bytes));
    ASSERT_TRUE(ui::DrawThumbnail(*record, ui::PaperFormat::Svg, options, bytes));
    EXPECT_NE(bytes.find("<svg"), std::string::npos);
}

} // namespace
