// The main window on a data folder of 10,000 records: the time from
// creating the window to its first paint, scrolling the whole list (each
// thumbnail drawn only when its item shows), and the resident memory.
#include "app/ECGFramework.h"
#include "bench/RecordFolderFixture.h"
#include "ui/MainFrame.h"
#include "ui/RecordListView.h"

#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>

namespace {

QApplication& Application() {
    static int argc = 1;
    static char name[] = "bench_mainwindow";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

void BM_MainWindowOnTenThousandRecords(benchmark::State& state) {
    const std::string& folder = bench::Folder();
    Application();
    for (auto _ : state) {
        app::CECGFramework framework;
        framework.GetOptions().dirHdd = folder;
        framework.GetOptions().maxImageListSize = 100;
        const auto start = std::chrono::steady_clock::now();
        ui::CMainFrame frame(framework);
        frame.resize(1000, 700);
        frame.show();
        frame.RefreshList();
        frame.grab();
        const double firstPaintMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        ui::CSinora2View& list = frame.List();
        const int drawnAtStart = list.Thumbnails().DrawCount();

        const double firstPaintMb = static_cast<double>(bench::ResidentKb()) / 1024.0;
        const auto scrollStart = std::chrono::steady_clock::now();
        QScrollBar* bar = list.verticalScrollBar();
        const int step = list.viewport()->height();
        long peakKb = bench::ResidentKb();
        int steps = 0;
        for (int value = 0; value <= bar->maximum() + step; value += step) {
            bar->setValue(value);
            list.viewport()->repaint();
            QApplication::processEvents();
            if (++steps % 64 == 0)
                peakKb = std::max(peakKb, bench::ResidentKb());
        }
        peakKb = std::max(peakKb, bench::ResidentKb());
        const double scrollSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - scrollStart).count();
        state.counters["first_paint_ms"] = firstPaintMs;
        state.counters["records"] = list.RecordCount();
        state.counters["thumbnails_first_paint"] = drawnAtStart;
        state.counters["thumbnails_scrolled"] = list.Thumbnails().DrawCount();
        state.counters["peak_rss_MB"] = static_cast<double>(peakKb) / 1024.0;
        std::printf("first paint of %d records: %.0f ms, %d thumbnails drawn, resident %.1f MB\n",
                    list.RecordCount(), firstPaintMs, drawnAtStart, firstPaintMb);
        std::printf(
            "scrolling the whole list: %.1f s, %d thumbnails drawn, peak resident %.1f MB\n",
            scrollSeconds, list.Thumbnails().DrawCount(), static_cast<double>(peakKb) / 1024.0);
    }
}
BENCHMARK(BM_MainWindowOnTenThousandRecords)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
