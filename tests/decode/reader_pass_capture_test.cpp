// Real NMEA 2000 captures replayed as a gateway's sentences through the reader pass in reads
// of fixed sizes: wherever the reads cut the stream, every complete sentence is decoded once,
// alone or mixed with the unit's transducer sentences.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "decode/decode_fixture.h"
#include "decode/n2k_formatters.h"
#include "decode/reader_pass.h"
#include "external_data.h"
#include "file_bytes.h"

namespace pelor::decode {
namespace {

using testing::MakeFixture;
using testing::N2KSentence;
using testing::TransducerSentence;

using Decoded = std::vector<std::pair<std::uint32_t, std::int64_t>>;

struct Stream {
    std::string text;
    Decoded gateway;                  // (PGN decoded as, time stamp) of every routed sentence
    std::vector<std::string> values;  // value texts of the transducer sentences, in order
};

using pelor::testing::ReadBytes;

// The adapter frames of a capture (10 02 93 L prio pgn[3] dst src ts[4] n data[n] CK 10 03,
// every 10 inside sent twice) as gateway sentences, at most `limit` of them. Every
// `transducerEvery`-th sentence (0: none) is followed by a transducer sentence.
Stream GatewayStream(const std::string& capture, std::size_t limit, int transducerEvery) {
    std::string bytes;
    for (std::size_t i = 0; i < capture.size(); ++i) {
        bytes += capture[i];
        if (capture[i] == '\x10' && i + 1 < capture.size() && capture[i + 1] == '\x10') ++i;
    }
    const auto u8 = [&](std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); };
    Stream s;
    int count = 0;
    for (std::size_t i = 0; i + 15 < bytes.size() && s.gateway.size() < limit; ++i) {
        if (u8(i) != 0x10 || u8(i + 1) != 0x02 || u8(i + 2) != 0x93) continue;
        const std::size_t n = u8(i + 14);
        if (i + 15 + n > bytes.size()) break;
        const std::uint32_t pgn = u8(i + 5) | (u8(i + 6) << 8) | (u8(i + 7) << 16);
        const std::uint32_t time =
            u8(i + 10) | (u8(i + 11) << 8) | (u8(i + 12) << 16) | (std::uint32_t{u8(i + 13)} << 24);
        std::string hex;
        for (std::size_t k = 0; k < n; ++k) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02X", u8(i + 15 + k));
            hex += pair;
        }
        s.text += N2KSentence(pgn, time, hex) + "\n";
        if (const N2KRoute* route = FindTextRoute(pgn))
            s.gateway.emplace_back(route->text.decodeAs, time);
        ++count;
        if (transducerEvery > 0 && count % transducerEvery == 0) {
            char value[16];
            std::snprintf(value, sizeof value, "%4d##%02X", count % 10000, count % 256);
            s.text += TransducerSentence(value, "LABEL" + std::to_string(count % 900 + 100),
                                         "0123456789ABCDEF"[count % 16]) +
                      "\n";
            s.values.emplace_back(value);
        }
        i += 3 + u8(i + 3);
    }
    // Room for the link that waits for 48 characters after a sentence start.
    s.text += std::string(60, ' ');
    return s;
}

struct Result {
    Decoded gateway;
    std::vector<std::string> values;
};

Result Replay(const Stream& stream, std::size_t readSize, LinkKind link) {
    auto f = MakeFixture();
    Result r;
    f->context.messageDecoded = [&](std::uint32_t pgn, std::int64_t time) {
        r.gateway.emplace_back(pgn, time);
    };
    f->context.valueApplied = [&](int, std::string_view value, std::string_view) {
        r.values.emplace_back(value.substr(0, 8));
    };
    for (std::size_t at = 0; at < stream.text.size(); at += readSize)
        ReaderPass(f->store, f->context, std::string_view(stream.text).substr(at, readSize), link);
    return r;
}

// How many of the values sent were applied, in the order sent. A transducer sentence may be
// applied again at a later pass (the last of a pass, or those behind a gateway sentence that
// waits for more text), never out of order within a pass.
std::size_t DecodedInOrder(const std::vector<std::string>& applied,
                           const std::vector<std::string>& sent) {
    std::size_t k = 0;
    for (const auto& v : applied)
        if (k < sent.size() && v == sent[k]) ++k;
    return k;
}

TEST(ReaderPassCapture, EverySentenceDecodedAtEveryReadSize) {
    struct Case {
        const char* file;
        std::size_t limit;
        int transducerEvery;
    };
    const Case kCases[] = {
        {"derived/susteranna-first150.ngt1", 1000, 0},
        {"canboat/ydnu-02-raymarine-ev1.dle", 3000, 0},
        {"derived/susteranna-first150.ngt1", 1000, 1},
        {"canboat/ydnu-02-raymarine-ev1.dle", 3000, 3},
    };
    for (const auto& c : kCases) {
        if (!pelor::testing::HasExternalData(c.file))
            GTEST_SKIP() << pelor::testing::ExternalDataMissing(c.file);
        const std::string path = pelor::testing::ExternalDataPath(c.file);
        const Stream stream = GatewayStream(ReadBytes(path), c.limit, c.transducerEvery);
        ASSERT_GT(stream.gateway.size(), 50U) << c.file;
        for (const std::size_t size : {1, 33, 64, 700, 4000}) {
            for (const LinkKind link : {LinkKind::Serial, LinkKind::Tcp, LinkKind::Usb}) {
                const Result r = Replay(stream, size, link);
                const std::string legend = std::string(c.file) + " with " +
                                           std::to_string(c.transducerEvery) + ", reads of " +
                                           std::to_string(size) + ", link " +
                                           std::to_string(static_cast<int>(link));
                EXPECT_EQ(r.gateway.size(), stream.gateway.size()) << legend;
                EXPECT_TRUE(r.gateway == stream.gateway) << legend;
                EXPECT_EQ(DecodedInOrder(r.values, stream.values), stream.values.size()) << legend;
            }
        }
    }
}

}  // namespace
}  // namespace pelor::decode
