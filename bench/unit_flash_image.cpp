// Programming a 64 KB flash image through the 8-bit controller's debugger into the simulated
// unit on a pseudo-terminal at the debugger's 57600 baud: the whole operation (set-up with mass
// erase, 4096 records with their echoes, CRC, leaving debug mode) against the time the line
// itself needs for the bytes written (10 bits a byte; the echo shares the single wire).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "links/link_manager.h"
#include "simulator/simulator.h"
#include "unit/debugger_protocol.h"
#include "unit/flash_link.h"
#include "unit/flash_programmer.h"

namespace {

using namespace pelor;

std::string ImageFile() {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("pelor-bench-image-" + std::to_string(getpid()) + ".txt"))
                                 .string();
    std::ofstream out(path, std::ios::binary);
    out << "[KZLFLASH]\r\n";
    std::array<std::uint8_t, 16> data{};
    for (std::uint32_t a = 0; a < 0x10000; a += 16) {
        for (std::size_t i = 0; i < 16; ++i) data[i] = static_cast<std::uint8_t>((a >> 4) + i);
        out << unit::ReadBackRecord(static_cast<std::uint16_t>(a), data) << "\r\n";
    }
    out << ":00000001FF\r\n";
    return path;
}

void BM_Program64KImage(benchmark::State& state) {
    sim::Options o;
    o.link = sim::LinkKind::Pty;
    o.intervalMs = 1000;
    o.debuggerBits = 8;
    sim::Simulator simulator(o);
    std::string error;
    if (!simulator.Open(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::jthread run([&](const std::stop_token& t) { simulator.Run(t); });
    decode::ChannelStore store;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    core::LinkHold hold;
    core::ReaderThread s1, s2, s3, s4;
    links::LinkContext context{{}, store, view, prompt, {s1, s2, s3, s4}, {}, {}, {}, &hold};
    context.settings.connectionType = 0;
    context.settings.serialPortName = simulator.Endpoint();
    context.settings.baudRate = 38400;
    links::LinkManager manager(context);
    manager.ToggleConnection();
    const std::string path = ImageFile();
    unit::LinkManagerFlashLink link(manager, 38400, 57800);
    std::size_t written = 0;
    for (auto _ : state) {
        prompt.shown.clear();
        prompt.answers = {core::Answer::Yes};
        simulator.ClearTranscript();
        unit::FlashProgrammer programmer(
            unit::FlashHooks{prompt, view, link, hold, nullptr, {}, {}});
        if (programmer.Run(path, "") != unit::FlashOutcome::Done) {
            state.SkipWithError("programming failed");
            break;
        }
        state.PauseTiming();
        written = 0;
        for (const auto& e : simulator.Transcript())
            if (e.fromDashboard) written += e.bytes.size();
        state.ResumeTiming();
    }
    const double lineSeconds = static_cast<double>(written) * 10.0 / unit::kDebuggerBaud;
    const double imageSeconds = 65536.0 * 10.0 / unit::kDebuggerBaud;
    state.counters["wire_bytes"] = static_cast<double>(written);
    state.counters["line_limit_s"] = lineSeconds;
    state.counters["image_limit_s"] = imageSeconds;
    std::filesystem::remove(path);
    run.request_stop();
}

BENCHMARK(BM_Program64KImage)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

}  // namespace
