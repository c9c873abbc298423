// DecodeN2KBinary over large buffers of adapter frames with all sixteen channels mapped:
// synthetic frames of every formatted PGN, and real captures converted to adapter frames.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "decode/n2k_binary.h"
#include "decode_bench_context.h"
#include "external_data.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void AppendFrame(Bytes& out, std::uint32_t pgn, std::uint32_t time, const Bytes& payload) {
    Bytes body{0x93,
               static_cast<std::uint8_t>(11 + payload.size()),
               2,
               static_cast<std::uint8_t>(pgn),
               static_cast<std::uint8_t>(pgn >> 8),
               static_cast<std::uint8_t>(pgn >> 16),
               0xFF,
               0x23};
    for (int i = 0; i < 4; ++i) body.push_back(static_cast<std::uint8_t>(time >> (8 * i)));
    body.push_back(static_cast<std::uint8_t>(payload.size()));
    body.insert(body.end(), payload.begin(), payload.end());
    unsigned sum = 0;
    for (auto b : body) sum += b;
    body.push_back(static_cast<std::uint8_t>(-sum));
    out.push_back(0x10);
    out.push_back(0x02);
    for (auto b : body) {
        out.push_back(b);
        if (b == 0x10) out.push_back(b);
    }
    out.push_back(0x10);
    out.push_back(0x03);
}

// 200 000 frames cycling through the formatted PGNs with random payloads.
Bytes KnownFrames(std::size_t* frames) {
    const std::uint32_t kPgns[] = {130306, 127250, 127257, 127245, 127488, 130312, 127508,
                                   127505, 130311, 127251, 127489, 127501, 130323, 127493};
    std::mt19937 random(3);
    Bytes out;
    *frames = 200000;
    for (std::size_t k = 0; k < *frames; ++k) {
        const std::uint32_t pgn = kPgns[k % std::size(kPgns)];
        Bytes payload(pgn == 127489 ? 26 : pgn == 130323 ? 30 : 8);
        for (auto& b : payload) b = static_cast<std::uint8_t>(random());
        payload[0] = 0;  // instance 0
        AppendFrame(out, pgn, static_cast<std::uint32_t>(k), payload);
    }
    return out;
}

void Run(benchmark::State& state, const Bytes& input, std::size_t frames) {
    pelor::bench::DecodeBenchContext bench;
    Bytes work(input.size());
    int packets = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), input.data(), input.size());
        state.ResumeTiming();
        const auto batch =
            pelor::decode::DecodeN2KBinary(bench.store, bench.context, work.data(), work.size());
        packets = batch.N2KPackets;
        benchmark::DoNotOptimize(batch);
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(frames) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    state.counters["formatted"] = packets;
    state.SetBytesProcessed(static_cast<std::int64_t>(input.size()) * state.iterations());
}

void BM_DecodeN2KBinary_KnownFrames(benchmark::State& state) {
    static std::size_t frames = 0;
    static const Bytes input = KnownFrames(&frames);
    Run(state, input, frames);
}
BENCHMARK(BM_DecodeN2KBinary_KnownFrames)->Unit(benchmark::kMillisecond);

void BM_DecodeN2KBinary_Captures(benchmark::State& state) {
    constexpr const char* kCapture = "derived/bench-n2k-158k.ngt1";
    std::ifstream in(pelor::testing::ExternalDataPath(kCapture), std::ios::binary);
    if (!in) {
        static const std::string why = pelor::testing::ExternalDataMissing(kCapture);
        state.SkipWithError(why.c_str());
        return;
    }
    const Bytes input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Run(state, input, 158069);  // 93 frames in the file (its README)
}
BENCHMARK(BM_DecodeN2KBinary_Captures)->Unit(benchmark::kMillisecond);

}  // namespace
