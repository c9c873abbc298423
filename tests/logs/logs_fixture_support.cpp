#include "logs_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "core/format.h"

namespace pelor::logs::testing {

std::string Sentence(std::string_view value, std::string_view name, char id) {
    std::string s = "$IIXDR,G,";
    s += value;
    s += ",G,";
    s += name;
    s += id;
    unsigned sum = 0;
    for (std::size_t i = 1; i < s.size(); ++i) sum ^= static_cast<unsigned char>(s[i]);
    core::AppendFormat(s, "*%02X\r", sum);
    return s;
}

std::vector<std::uint8_t> Frame(std::uint32_t pgn, std::uint8_t source, std::uint32_t time,
                                const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> body = {0x93,
                                      static_cast<std::uint8_t>(11 + data.size()),
                                      2,
                                      static_cast<std::uint8_t>(pgn),
                                      static_cast<std::uint8_t>(pgn >> 8),
                                      static_cast<std::uint8_t>(pgn >> 16),
                                      0xFF,
                                      source,
                                      static_cast<std::uint8_t>(time),
                                      static_cast<std::uint8_t>(time >> 8),
                                      static_cast<std::uint8_t>(time >> 16),
                                      static_cast<std::uint8_t>(time >> 24),
                                      static_cast<std::uint8_t>(data.size())};
    body.insert(body.end(), data.begin(), data.end());
    std::uint8_t sum = 0;
    for (const std::uint8_t b : body) sum = static_cast<std::uint8_t>(sum + b);
    body.push_back(static_cast<std::uint8_t>(256 - sum));
    std::vector<std::uint8_t> out = {0x10, 0x02};
    for (const std::uint8_t b : body) {
        out.push_back(b);
        if (b == 0x10) out.push_back(b);
    }
    out.push_back(0x10);
    out.push_back(0x03);
    return out;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void MakeReadOnly(const std::string& path) {
    ::chmod(path.c_str(), 0444);
}

CaptureFixture::CaptureFixture() {
    context.view = &view;
    context.clock = &clock;
    playback = std::make_unique<Playback>(PlaybackContext{
        store, context, view, prompt, clock, thread, [this] { return linkConnected; },
        [this](std::string_view s) { sent.emplace_back(s); }});
    playback->SetWindow(&window);
    capture = std::make_unique<Capture>(prompt, view, clock, store, playback.get());
}

void CaptureFixture::Ticks(int n, int stepSeconds) {
    for (int i = 0; i < n; ++i) {
        clock.AdvanceSeconds(stepSeconds);
        std::lock_guard<std::mutex> lock(store.mutex);
        capture->Tick(store);
    }
}

}  // namespace pelor::logs::testing
