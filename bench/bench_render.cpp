// Drawing speed of the papers through QPainter: a thumbnail into its
// bitmap (goal 3 ms), the wave paper at zoom 200 into a 1920 x 1080 image
// (goal 16 ms, so scrolling stays smooth) and a 100-page report PDF (goal
// 4 s).
#include "device/sim/SimRecording.h"
#include "records/ECGContentsData.h"
#include "records/RecordBuilder.h"
#include "render/PreviewPaper.h"
#include "render/WavePaper.h"
#include "ui/PaperOutput.h"
#include "ui/QPainterDC.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// A folder with recordings made by the simulator's beat model.
struct Fixture {
    Fixture() {
        char pattern[] = "/tmp/rhythmora-bench-XXXXXX";
        folder = mkdtemp(pattern);
        const auto plans = device::sim::VariedRecordings(100, 1796740507, true, 1, 3);
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const auto content = device::sim::SynthesizeRecording(plans[i]);
            const std::string path = folder + "/r" + std::to_string(i) + ".ecg";
            const std::string bytes =
                records::BuildRecordFile(content.fields, content.samples, true);
            std::FILE* f = std::fopen(path.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), f);
            std::fclose(f);
            auto record = std::make_unique<records::CECGContentsData>();
            record->SetPath(path);
            record->Load();
            records.push_back(std::move(record));
        }
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
    std::string folder;
    std::vector<std::unique_ptr<records::CECGContentsData>> records;
};

Fixture& Records() {
    static Fixture fixture;
    return fixture;
}

void BM_Thumbnail(benchmark::State& state) {
    const records::CECGContentsData& record = *Records().records.front();
    QImage image(3996, 144, QImage::Format_RGB32);
    render::CPreviewPaper paper(5.0, 5.0);
    paper.SetData(&record);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        ui::QPainterDC dc(painter, false);
        paper.SetDC(&dc);
        paper.Draw();
    }
}
BENCHMARK(BM_Thumbnail)->Unit(benchmark::kMillisecond);

void BM_WaveZoom200(benchmark::State& state) {
    const records::CECGContentsData& record = *Records().records.front();
    QImage image(1920, 1080, QImage::Format_RGB32);
    render::CWavePaper paper;
    paper.SetData(&record);
    paper.SetZoom(200);
    for (auto _ : state) {
        QPainter painter(&image);
        ui::QPainterDC dc(painter, false);
        paper.SetDC(&dc);
        paper.SetContents(0, 0, -(200 * 2060 / 100), -(200 * 2970 / 100));
        paper.Draw();
    }
}
BENCHMARK(BM_WaveZoom200)->Unit(benchmark::kMillisecond);

void BM_Report100Pages(benchmark::State& state) {
    std::vector<const records::CECGContentsData*> list;
    for (const auto& record : Records().records)
        list.push_back(record.get());
    for (auto _ : state) {
        std::string pdf;
        if (!ui::DrawReport(list, ui::PaperFormat::Pdf, app::CGraphOption{}, 1, ui::PaperSize::A4,
                            pdf))
            state.SkipWithError("the report could not be drawn");
        benchmark::DoNotOptimize(pdf);
    }
}
BENCHMARK(BM_Report100Pages)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf(
        "goals: thumbnail <= 3 ms, wave at zoom 200 <= 16 ms, 100-page report <= 4000 ms\n");
    return 0;
}
