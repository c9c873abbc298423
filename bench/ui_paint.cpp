// One full paint of sixteen gauges on the Qt canvas at 800 x 540 (T100L), as a reader's
// repaint draws it: frames, 32 texts and the copy to the window image.
#include <benchmark/benchmark.h>
#include <QApplication>

#include <cstring>

#include "decode/channel_store.h"
#include "display/display.h"
#include "paint_bench_support.h"
#include "ui/artwork.h"
#include "ui/qt_canvas.h"

namespace {

using namespace pelor;

using bench::EnsureApplication;
using bench::FillSixteen;

void BM_PaintSixteenGauges(benchmark::State& state) {
    EnsureApplication();
    display::Display display;
    decode::ChannelStore store;
    display.ApplyLayout(store, 9, 100, false);
    ui::QtCanvas canvas;
    canvas.SetPictures(ui::BuildGaugePictures(display.Styles(), display.GetTheme()));
    canvas.PrepareFonts(display.Styles());
    canvas.ResetBuffer(800, 540, display.BackgroundPicture(), 800, 540);
    FillSixteen(store, display.Layout());
    for (auto _ : state) {
        store.m_bRedrawAll = 0;
        display.Paint(canvas, store, false);
        benchmark::DoNotOptimize(canvas.WindowImage().constBits());
    }
}
BENCHMARK(BM_PaintSixteenGauges)->Unit(benchmark::kMillisecond);

void BM_PaintBareBackground(benchmark::State& state) {
    EnsureApplication();
    display::Display display;
    decode::ChannelStore store;
    display.ApplyLayout(store, 9, 100, false);
    ui::QtCanvas canvas;
    canvas.SetPictures(ui::BuildGaugePictures(display.Styles(), display.GetTheme()));
    canvas.PrepareFonts(display.Styles());
    canvas.ResetBuffer(800, 540, display.BackgroundPicture(), 800, 540);
    for (auto _ : state) {
        store.m_bRedrawAll = 1;
        display.Paint(canvas, store, false);
    }
}
BENCHMARK(BM_PaintBareBackground)->Unit(benchmark::kMillisecond);

// Fonts and the picture source; the pictures come with the layout and after the window
// shows (bench_ui_startup).
void BM_PrepareCanvas(benchmark::State& state) {
    EnsureApplication();
    display::Display display;
    for (auto _ : state) {
        ui::QtCanvas canvas;
        ui::PrepareCanvas(canvas, display);
    }
}
BENCHMARK(BM_PrepareCanvas)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
