// One web bitmap write of the T100L gauge area (640 x 500): encoding and the file write.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/prompt.h"
#include "display/web_bitmap.h"

namespace {

using namespace pelor;

display::RgbBuffer Picture() {
    display::RgbBuffer image;
    image.width = 640;
    image.height = 500;
    image.pixels.resize(std::size_t{640} * 500 * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<std::uint8_t>(i * 7);
    return image;
}

void BM_EncodeWebBitmap(benchmark::State& state) {
    const display::RgbBuffer image = Picture();
    for (auto _ : state) benchmark::DoNotOptimize(display::EncodeWebBitmap(image));
}
BENCHMARK(BM_EncodeWebBitmap)->Unit(benchmark::kMicrosecond);

void BM_WriteWebBitmap(benchmark::State& state) {
    const display::RgbBuffer image = Picture();
    const std::string path = "/tmp/pelor_bench_web_" + std::to_string(getpid()) + ".bmp";
    core::ScriptedPrompt prompt;
    for (auto _ : state) benchmark::DoNotOptimize(display::WriteWebBitmap(path, image, prompt));
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteWebBitmap)->Unit(benchmark::kMicrosecond);

}  // namespace
