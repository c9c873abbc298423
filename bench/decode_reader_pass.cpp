// The reader pass over a stream of transducer sentences, in reads of 256 characters as a
// serial link delivers them, all sixteen channels shown.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "decode/reader_pass.h"
#include "decode_bench_context.h"

namespace {

std::string Sentence(int k) {
    char body[40];
    std::snprintf(body, sizeof body, "$IIXDR,C,%4d##%02X,C,LABEL%03d%X", k % 1000, k % 256,
                  k % 1000, k % 16);
    unsigned sum = 0;
    for (const char* p = body + 1; *p != '\0'; ++p) sum ^= static_cast<unsigned char>(*p);
    char out[48];
    std::snprintf(out, sizeof out, "%s*%02X\r\n", body, sum);
    return out;
}

void BM_ReaderPass_TransducerSentences(benchmark::State& state) {
    constexpr int kSentences = 100000;
    std::string stream;
    for (int k = 0; k < kSentences; ++k) stream += Sentence(k);
    const std::size_t chunk = static_cast<std::size_t>(state.range(0));
    pelor::bench::DecodeBenchContext bench;
    for (auto _ : state) {
        bench.store.ReceiveText.clear();
        const std::string_view all(stream);
        for (std::size_t at = 0; at < all.size(); at += chunk) {
            pelor::decode::ReaderPass(bench.store, bench.context, all.substr(at, chunk),
                                      pelor::decode::LinkKind::Serial);
        }
    }
    state.counters["sentences/s"] = benchmark::Counter(
        static_cast<double>(kSentences) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
    state.SetBytesProcessed(static_cast<std::int64_t>(stream.size()) * state.iterations());
}
BENCHMARK(BM_ReaderPass_TransducerSentences)
    ->Arg(64)
    ->Arg(256)
    ->Arg(2048)
    ->Unit(benchmark::kMillisecond);

}  // namespace
