// A read fed to the stream decoder in pieces of any size decodes exactly what one call over the
// whole read decodes: the same messages, in the same order, with the same values, the same
// batch. Checked over a real adapter capture and over bytes built to sit on every edge (stuffing
// pairs cut in two, frames whose length byte and payload count disagree, a frame cut by the end).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "decode/n2k_binary.h"
#include "decode_fixture.h"
#include "external_data.h"

namespace pelor::decode::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Everything a decode does that can be seen: each message and each value applied, the batch.
struct Trace {
    std::string events;
    N2KBatch batch;
};

std::unique_ptr<DecodeFixture> Fixture(std::string& events) {
    auto f = MakeFixture();
    for (int c = 0; c < 16; ++c) {
        f->MapN2K(c, c < 15 ? c + 1 : 8, 0, c < 15 ? 0 : 1);
        f->Show(c, 1, c);
    }
    f->context.messageDecoded = [&events](std::uint32_t pgn, std::int64_t time) {
        events += "pgn " + std::to_string(pgn) + " " + std::to_string(time) + "\n";
    };
    f->context.valueApplied = [&events](int channel, std::string_view value, std::string_view) {
        events += "ch " + std::to_string(channel) + " " + std::string(value.substr(0, 8)) + "\n";
    };
    return f;
}

Trace Whole(Bytes bytes) {
    Trace t;
    auto f = Fixture(t.events);
    std::lock_guard<std::mutex> lock(f->store.mutex);
    t.batch = DecodeN2KBinary(f->store, f->context, bytes.data(), bytes.size());
    return t;
}

// Feeds `bytes` in pieces whose sizes come from `sizes` in turn.
Trace Pieces(const Bytes& bytes, const std::vector<std::size_t>& sizes) {
    Trace t;
    auto f = Fixture(t.events);
    std::lock_guard<std::mutex> lock(f->store.mutex);
    N2KBinaryStream stream;
    std::size_t at = 0;
    for (std::size_t k = 0; at < bytes.size(); ++k) {
        const std::size_t n = std::min(sizes[k % sizes.size()], bytes.size() - at);
        stream.Feed(f->store, f->context, std::span(bytes.data() + at, n), t.batch);
        at += n;
    }
    stream.Finish(f->store, f->context, t.batch);
    return t;
}

void ExpectSame(const Bytes& bytes, const char* legend) {
    const Trace whole = Whole(bytes);
    ASSERT_FALSE(whole.events.empty()) << legend;
    std::vector<std::vector<std::size_t>> plans;
    for (std::size_t size : {1, 2, 3, 7, 15, 16, 17, 64, 255, 256, 4096}) plans.push_back({size});
    plans.push_back({1, 13, 2, 250, 5});
    std::mt19937 random(7);
    std::vector<std::size_t> ragged;
    for (int k = 0; k < 200; ++k) ragged.push_back(1 + random() % 300);
    plans.push_back(ragged);
    for (const auto& plan : plans) {
        const Trace got = Pieces(bytes, plan);
        EXPECT_EQ(got.events, whole.events) << legend << ", pieces of " << plan[0];
        EXPECT_EQ(got.batch.N2KPackets, whole.batch.N2KPackets) << legend << " " << plan[0];
        EXPECT_EQ(got.batch.N2KLinkTime, whole.batch.N2KLinkTime) << legend << " " << plan[0];
    }
}

Bytes ToBytes(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

TEST(N2KBinaryStream, PiecesDecodeAsTheWholeReadOnEdgeCases) {
    std::string s;
    // Heading with stuffed 0x10 bytes in the time stamp and the payload.
    s += N2KFrame(127250, 0x10101010, std::string("\x10\x10\x20\x10\x00\x00\x00\xFD", 8));
    s += std::string("\x10\x10\x10", 3);  // loose stuffing between frames
    s += N2KFrame(130306, 77, std::string("\x01\x10\x01\x00\x10\x00\xFA\xFF", 8));
    // A frame whose length byte says less than its payload count: the scan jumps by the length.
    std::string odd = N2KFrame(128267, 5, std::string(8, '\x11'));
    odd[3] = 5;
    s += odd;
    s += N2KFrame(127488, 0x00ABCDEF, std::string("\x00\x10\x27\x00\x00\x00\x00\x00", 8));
    s += "garbage\x10\x02\x93";
    s += N2KFrame(127250, 99, std::string(8, '\x10'));
    // The read ends inside a frame.
    const std::string cut = N2KFrame(127250, 100, std::string(8, '\x22'));
    s += cut.substr(0, cut.size() - 6);
    ExpectSame(ToBytes(s), "built edge cases");
}

TEST(N2KBinaryStream, PiecesDecodeAsTheWholeReadOnARealCapture) {
    for (const char* capture :
         {"derived/susteranna-first150.ngt1", "canboat/ydnu-02-raymarine-ev1.dle"}) {
        if (!pelor::testing::HasExternalData(capture))
            GTEST_SKIP() << pelor::testing::ExternalDataMissing(capture);
        std::ifstream in(pelor::testing::ExternalDataPath(capture), std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (bytes.size() > 120000) bytes.resize(120000);  // a few thousand frames are enough
        ExpectSame(bytes, capture);
    }
}

}  // namespace
}  // namespace pelor::decode::testing
