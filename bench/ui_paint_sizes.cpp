// What a reader's repaint costs from the channels to the pixels on the screen, at the display
// type's own 800 x 540 and on a 1920 x 1080 screen: one full paint of sixteen gauges on the Qt
// canvas, then the window image drawn into an image of the screen's size the way the gauge
// area's paint draws it. The counter "seconds_per_pixel" is the cost per screen pixel, the figure a
// gauge area that scales to the window must keep within twice of the 800 x 540 one. Wall
// time: the stretch of today's window image may run on several threads. The third argument is
// the palette (0 day, 2 night): night tints the pictures once and every colour chosen while
// painting, and must cost no more per paint than day. The fourth is 1 for the gauge area
// zoomed to the screen (drawn again at the screen's size, then copied pixel for pixel), 0 for
// the display type's own size stretched to the screen.
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <string>

#include "decode/channel_store.h"
#include "display/display.h"
#include "display/look.h"
#include "paint_bench_support.h"
#include "ui/artwork.h"
#include "ui/qt_canvas.h"

namespace {

using namespace pelor;

using bench::EnsureApplication;
using bench::FillSixteen;

// Arguments: the screen's width and height, the palette, zoomed or stretched.
void BM_PaintToScreen(benchmark::State& state) {
    EnsureApplication();
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    display::Display display;
    decode::ChannelStore store;
    display.ApplyLayout(store, 9, 100, false);
    ui::QtCanvas canvas;
    canvas.SetLook(
        display::Look{display::PaletteFromNumber(static_cast<std::int32_t>(state.range(2))),
                      display::kBrightnessSteps});
    if (state.range(3) != 0) {
        canvas.SetZoom(std::min(width / 800.0, height / 540.0));
        canvas.SetPictureSource([&display](std::string_view name, double zoom) {
            return ui::BuildGaugePicture(name, display.Styles(), display.GetTheme(), zoom);
        });
    } else {
        canvas.SetPictures(ui::BuildGaugePictures(display.Styles(), display.GetTheme()));
    }
    canvas.PrepareFonts(display.Styles());
    canvas.ResetBuffer(800, 540, display.BackgroundPicture(), 800, 540);
    FillSixteen(store, display.Layout());
    display.Paint(canvas, store, false);  // pictures made on first use are made here
    QImage screen(width, height, QImage::Format_RGB32);
    for (auto _ : state) {
        store.m_bRedrawAll = 0;
        display.Paint(canvas, store, false);
        QPainter p(&screen);
        const QImage& image = canvas.WindowImage();
        if (state.range(3) != 0 || (image.width() == width && image.height() == height)) {
            p.drawImage(0, 0, image);
        } else {
            p.setRenderHint(QPainter::SmoothPixmapTransform, true);
            p.drawImage(QRect(0, 0, width, height), image);
        }
        p.end();
        benchmark::DoNotOptimize(screen.constBits());
    }
    state.counters["seconds_per_pixel"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * width * height,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PaintToScreen)
    ->Args({800, 540, 0, 0})
    ->Args({800, 540, 2, 0})
    ->Args({1920, 1080, 0, 0})
    ->Args({1920, 1080, 0, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()  // Qt's smooth scaling may spread over threads
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
