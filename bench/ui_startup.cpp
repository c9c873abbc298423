// Start-up cost of the gauge pictures: each built-in background and strip drawn alone, the
// button pictures, what the window waits for before it shows (the display type's background
// and the fonts) against every picture made at once, and the memory the pictures of one
// display type hold.
#include <benchmark/benchmark.h>
#include <QApplication>

#include <fstream>
#include <string>

#include "display/display.h"
#include "ui/artwork.h"
#include "ui/qt_canvas.h"

namespace {

using namespace pelor;

void EnsureApplication() {
    static int argc = 1;
    static char name[] = "bench_ui_startup";
    static char* argv[] = {name, nullptr};
    if (QApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

void BM_DrawBackground(benchmark::State& state) {
    EnsureApplication();
    const int entry = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(ui::DrawBackground(entry).constBits());
}
BENCHMARK(BM_DrawBackground)->DenseRange(1, 12)->Unit(benchmark::kMillisecond);

void BM_DrawStrip(benchmark::State& state) {
    EnsureApplication();
    const auto styles = display::DefaultGaugeStyles();
    const int index = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(ui::DrawGaugeStrip(index, styles[index]).constBits());
}
BENCHMARK(BM_DrawStrip)->DenseRange(0, 10)->Unit(benchmark::kMillisecond);

void BM_BuildButtonPictures(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) benchmark::DoNotOptimize(ui::BuildButtonPictures().size());
}
BENCHMARK(BM_BuildButtonPictures)->Unit(benchmark::kMillisecond);

// What start-up does before the window shows, for the demo's T100L: fonts, the picture
// source and the display type's background.
void BM_PicturesBeforeTheWindowShows(benchmark::State& state) {
    EnsureApplication();
    display::Display display;
    decode::ChannelStore store;
    display.ApplyLayout(store, static_cast<int>(state.range(0)), 100, false);
    for (auto _ : state) {
        ui::QtCanvas canvas;
        ui::PrepareCanvas(canvas, display);
        ui::ApplyCanvasLayout(canvas, display);
        benchmark::DoNotOptimize(canvas.Buffer().constBits());
    }
}
BENCHMARK(BM_PicturesBeforeTheWindowShows)->Arg(9)->Arg(14)->Unit(benchmark::kMillisecond);

// The strips the preparer makes after the window shows, one per turn of the event loop.
void BM_StripsAfterTheWindowShows(benchmark::State& state) {
    EnsureApplication();
    display::Display display;
    decode::ChannelStore store;
    display.ApplyLayout(store, 9, 100, false);
    for (auto _ : state) {
        ui::QtCanvas canvas;
        ui::PrepareCanvas(canvas, display);
        for (const auto& name : ui::LayoutStripNames(display)) canvas.EnsurePicture(name);
        benchmark::DoNotOptimize(canvas.PictureBytes());
    }
}
BENCHMARK(BM_StripsAfterTheWindowShows)->Unit(benchmark::kMillisecond);

// Every strip and every background made at once, as start-up once did.
void BM_EveryPictureAtOnce(benchmark::State& state) {
    EnsureApplication();
    display::Display display;
    for (auto _ : state) {
        ui::QtCanvas canvas;
        canvas.SetPictures(ui::BuildGaugePictures(display.Styles(), display.GetTheme()));
        canvas.PrepareFonts(display.Styles());
        benchmark::DoNotOptimize(canvas.PictureBytes());
    }
}
BENCHMARK(BM_EveryPictureAtOnce)->Unit(benchmark::kMillisecond)->Iterations(3);

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

// Memory: the pictures a display type holds once its strips are all made (counter
// "pictures_MB"), against every picture ("all_MB"), and the benchmark process's resident size
// with them ("rss_MB").
void BM_PictureMemoryOfADisplayType(benchmark::State& state) {
    EnsureApplication();
    display::Display display;
    decode::ChannelStore store;
    display.ApplyLayout(store, static_cast<int>(state.range(0)), 100, false);
    std::size_t held = 0;
    long rss = 0;
    for (auto _ : state) {
        ui::QtCanvas canvas;
        ui::PrepareCanvas(canvas, display);
        ui::ApplyCanvasLayout(canvas, display);
        for (const auto& name : ui::LayoutStripNames(display)) canvas.EnsurePicture(name);
        state.PauseTiming();
        held = canvas.PictureBytes();
        rss = ResidentKilobytes();
        state.ResumeTiming();
    }
    std::size_t all = 0;
    for (const auto& [name, image] : ui::BuildGaugePictures(display.Styles(), display.GetTheme()))
        all += static_cast<std::size_t>(image.sizeInBytes());
    state.counters["pictures_MB"] = static_cast<double>(held) / (1 << 20);
    state.counters["all_MB"] = static_cast<double>(all) / (1 << 20);
    state.counters["rss_MB"] = static_cast<double>(rss) / 1024;
}
BENCHMARK(BM_PictureMemoryOfADisplayType)
    ->Arg(9)
    ->Arg(14)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
