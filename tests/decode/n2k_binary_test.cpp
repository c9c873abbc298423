#include "decode/n2k_binary.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "decode/decode_fixture.h"

namespace pelor::decode {
namespace {

using testing::MakeFixture;
using testing::N2KFrame;
using testing::Payload;

N2KBatch Decode(testing::DecodeFixture& f, const std::string& bytes) {
    std::vector<std::uint8_t> buffer(bytes.begin(), bytes.end());
    return DecodeN2KBinary(f.store, f.context, buffer.data(), buffer.size());
}

std::string Wind(unsigned speed) {
    return Payload(8).U8(0, 0xFF).U16(1, speed).U8(5, 0xFA).Raw();
}

TEST(DecodeN2KBinary, TwoFramesInOneRead) {
    auto f = MakeFixture();
    f->Capture(0);
    f->Capture(1);
    f->MapN2K(0, 8, 0, 0);
    f->MapN2K(1, 9, 0, 0);
    const N2KBatch batch = Decode(*f, N2KFrame(130306, 100, Wind(500)) +
                                          N2KFrame(127250, 200, Payload(8).U16(1, 20944).Raw()));
    EXPECT_EQ(batch.N2KPackets, 2);
    EXPECT_EQ(batch.N2KLinkTime, 200u);
    EXPECT_EQ(f->Work(0), " 9.7##1E");
    EXPECT_EQ(f->Work(1), " 120##D1");
}

TEST(DecodeN2KBinary, UnknownPgnUpdatesTheLinkTimeOnly) {
    auto f = MakeFixture();
    const N2KBatch batch =
        Decode(*f, N2KFrame(130306, 100, Wind(500)) + N2KFrame(59904, 777, "\x01\x02\x03"));
    EXPECT_EQ(batch.N2KPackets, 1);
    EXPECT_EQ(batch.N2KLinkTime, 777u);
}

TEST(DecodeN2KBinary, StuffedBytesAreRemoved) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 8, 0, 0);
    // Speed 0x1010 and time stamp 0x10101010: every 0x10 is doubled on the wire.
    const std::string frame = N2KFrame(130306, 0x10101010, Wind(0x1010));
    ASSERT_NE(frame.find("\x10\x10"), std::string::npos);
    const N2KBatch batch = Decode(*f, frame);
    EXPECT_EQ(batch.N2KPackets, 1);
    EXPECT_EQ(batch.N2KLinkTime, 0x10101010u);
    EXPECT_EQ(f->Work(0), "79.9##F6");
}

TEST(DecodeN2KBinary, FrameCutByTheEndOfTheReadIsNotDispatched) {
    auto f = MakeFixture();
    const std::string frame = N2KFrame(130306, 5, Wind(500));
    struct Case {
        const char* legend;
        std::string bytes;
        int packets;
    };
    const Case kCases[] = {
        {"whole frame", frame, 1},
        {"without the end bytes", frame.substr(0, frame.size() - 2), 1},
        {"without checksum and end", frame.substr(0, frame.size() - 3), 1},
        {"cut inside the payload", frame.substr(0, frame.size() - 6), 0},
        {"header only", frame.substr(0, 15), 0},
        {"empty", "", 0},
        {"adapter status frame",
         std::string("\x10\x02\xA0\x05\x01\x02\x03\x04\x05\x00\x10\x03", 12), 0},
        {"stray end before a frame", std::string("\x10\x03", 2) + frame, 1},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(Decode(*f, c.bytes).N2KPackets, c.packets) << c.legend;
    }
}

TEST(DecodeN2KBinary, ScreenRecordMessageAndSwitchBank) {
    auto f = MakeFixture();
    f->context.displayType = 9;
    f->context.switchBankInstance = 0;
    std::string rec = "xxxm079 \"100 050  00\"\"12.5\"   \"BOATSPD \"";
    const N2KBatch batch =
        Decode(*f, N2KFrame(130960, 1, rec) + N2KFrame(127501, 2, Payload(8).U8(1, 0x01).Raw()));
    EXPECT_EQ(batch.N2KPackets, 2);
    EXPECT_EQ(f->store.m_PosMode[0], 79);
    EXPECT_EQ(f->store.m_PosX[0], 240);
    EXPECT_EQ(f->store.SwitchState[0], 1);
}

TEST(ApplyN2KBatchStatus, CaptionAfterPackets) {
    auto f = MakeFixture();
    f->store.SystemTimeText = "  System Time 01/02/70  00:00:01";
    ApplyN2KBatchStatus(f->store, N2KBatch{0, 0});
    EXPECT_EQ(f->store.m_strLinkStatus, "disconnected");
    ApplyN2KBatchStatus(f->store, N2KBatch{3723004, 2});
    EXPECT_EQ(f->store.m_strTitlePrefix, "recieving.. ");
    EXPECT_EQ(f->store.m_strLinkStatus,
              "NMEA 2000: Link Time 01:02:03; N2K Packets 2    System Time 01/02/70  00:00:01");
}

// Garbage without 0x10 mixed with valid frames: every frame of a known PGN is dispatched once.
TEST(DecodeN2KBinary, RandomStreamDispatchesExactlyTheFrames) {
    auto f = MakeFixture();
    for (int c = 0; c < 16; ++c) f->MapN2K(c, 8 + c % 2, 0, c % 4);
    std::mt19937 random(7);
    std::string stream;
    int frames = 0;
    for (int k = 0; k < 2000; ++k) {
        const int garbage = static_cast<int>(random() % 40);
        for (int g = 0; g < garbage; ++g) {
            char b = static_cast<char>(random() % 256);
            if (b == '\x10') b = '\x11';
            stream += b;
        }
        std::string payload(8, '\0');
        for (auto& b : payload) b = static_cast<char>(random() % 256);
        stream += N2KFrame(k % 2 ? 130306 : 127250, static_cast<std::uint32_t>(k), payload);
        ++frames;
    }
    stream += std::string(3, '\x55');  // so the last frame is not cut by the end rule
    const N2KBatch batch = Decode(*f, stream);
    EXPECT_EQ(batch.N2KPackets, frames);
    EXPECT_EQ(batch.N2KLinkTime, 1999u);
}

}  // namespace
}  // namespace pelor::decode
