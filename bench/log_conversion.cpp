// Converting a TXT capture log of about 60 MB into its CSV table (file to file). The log is
// generated once into a temporary file: rows of sixteen stored sentences, as the capture
// writer makes them, with values and levels that change from row to row.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "core/format.h"
#include "logs/log_conversion.h"

namespace {

constexpr std::size_t kTargetBytes = 60u * 1024 * 1024;

std::string Sentence(int channel, int row) {
    std::string s =
        pelor::core::Format("$IIXDR,G,%4d##%02X,G,CHAN%02d##%X", (row * 7 + channel) % 10000,
                            (row + channel * 13) & 0xFF, channel, channel);
    unsigned sum = 0;
    for (std::size_t i = 1; i < s.size(); ++i) sum ^= static_cast<unsigned char>(s[i]);
    pelor::core::AppendFormat(s, "*%02X", sum);
    return s;
}

class LogFile {
public:
    LogFile() {
        char pattern[] = "/tmp/pelor-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) return;
        dir_ = pattern;
        path_ = dir_ + "/trip.txt";
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (f == nullptr) return;
        std::string row;
        for (int r = 0; bytes_ < kTargetBytes; ++r) {
            row = pelor::core::Format("20261204%02d%02d%02d,%06d,", (r / 3600) % 24, (r / 60) % 60,
                                      r % 60, r % 1000000);
            for (int c = 0; c < 16; ++c) row += Sentence(c, r) + ",";
            row += "\r\n";
            bytes_ += std::fwrite(row.data(), 1, row.size(), f);
        }
        std::fclose(f);
    }
    ~LogFile() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    const std::string& Path() const { return path_; }
    std::size_t Bytes() const { return bytes_; }

private:
    std::string dir_;
    std::string path_;
    std::size_t bytes_ = 0;
};

void BM_ConvertTextLog(benchmark::State& state) {
    static const LogFile log;
    if (log.Bytes() < kTargetBytes) {
        state.SkipWithError("could not write the log");
        return;
    }
    for (auto _ : state) {
        const pelor::logs::ConversionResult r = pelor::logs::ConvertTextLog(log.Path());
        if (!r.ok) state.SkipWithError(r.message.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(log.Bytes()));
    state.counters["log_MB"] = static_cast<double>(log.Bytes()) / 1e6;
}
// Wall-clock time: reading and writing the files is part of the conversion.
BENCHMARK(BM_ConvertTextLog)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
