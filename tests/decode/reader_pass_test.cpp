#include "decode/reader_pass.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>

#include "decode/decode_fixture.h"
#include "decode/unit_sentences.h"

namespace pelor::decode {
namespace {

using testing::MakeFixture;
using testing::N2KSentence;
using testing::Payload;
using testing::TransducerSentence;

TEST(UnitSentences, VersionNeedsMoreThanSeventeenCharacters) {
    struct Case {
        const char* legend;
        std::string text;
        std::string prefix;
    };
    const Case kCases[] = {
        {"complete", "$PKZLS,V,2.14,xxxxxxxx", "2.14"},
        {"seventeen characters after the $ is not enough", "$PKZLS,V,2.14,xxx", "before"},
        {"no comma in the payload gives an empty text", "$PKZLS,V,2.14xxxxxxxxxxxx", ""},
        {"payload cut at ten characters", "$PKZLS,V,0123456789,xxxxx", ""},
        {"no version sentence", "nothing", "recieving.."},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->store.m_strTitlePrefix = "before";
        f->store.ReceiveText = c.text;
        ApplyUnitSentences(f->store, f->context);
        EXPECT_EQ(f->store.m_strTitlePrefix, c.prefix) << c.legend;
    }
}

TEST(UnitSentences, StatusTextsAreAppended) {
    auto f = MakeFixture();
    const std::string d = "$PKZLS,D,BATTERY OK*hh" + std::string(20, '.');
    const std::string h = "$PKZLS,H,HULL DRY*hh" + std::string(40, '.');
    f->store.ReceiveText = "$PKZLS,V,2.14,xxxxxxxx" + d + h;
    ApplyUnitSentences(f->store, f->context);
    EXPECT_EQ(f->store.m_strTitlePrefix, "2.14 BATTERY OK  HULL DRY ");
    EXPECT_EQ(f->store.LastDSentence, d.substr(0, 32));
    // The H text near the end of the text is read as far as it goes (no star: empty payload).
    f->store.ReceiveText = "$PKZLS,V,2.14,xxxxxxxx$PKZLS,H," + std::string(41, 'x');
    ApplyUnitSentences(f->store, f->context);
    EXPECT_EQ(f->store.m_strTitlePrefix, "2.14  ");
}

TEST(UnitSentences, SwitchStatus) {
    struct Case {
        const char* legend;
        std::string payload;
        std::array<std::uint8_t, 12> want;
    };
    const Case kCases[] = {
        {"outputs 0 and 2 on", "101000000000", {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"other characters leave an output", "1x1000000000", {1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->store.SwitchState[1] = 1;
        f->store.ReceiveText = "$PKZLS,S," + c.payload + "0000" + std::string(30, '.');
        ApplyUnitSentences(f->store, f->context);
        EXPECT_EQ(f->store.SwitchState, c.want) << c.legend;
        EXPECT_EQ(f->store.LastSSentence, f->store.ReceiveText.substr(0, 32)) << c.legend;
        EXPECT_EQ(f->view.ButtonPicture(1534), "SWON32") << c.legend;
        EXPECT_EQ(f->view.ButtonPicture(1536), "SWON32") << c.legend;
        EXPECT_EQ(f->view.ButtonPicture(1537), "") << c.legend;  // unchanged: not redrawn
    }
    auto f = MakeFixture();
    f->store.SwitchState[3] = 1;
    ApplySwitchStatus(f->store, f->context, "000000000000");
    EXPECT_EQ(f->view.ButtonPicture(1537), "SWOFF32");
}

TEST(ReaderPass, DecodesTransducerSentencesAndRefreshesTheCaption) {
    auto f = MakeFixture();
    f->Show(3, 1);
    ReaderPass(f->store, f->context, TransducerSentence("  42##80", "WATERTMP", '3') + "\r\n",
               LinkKind::Serial);
    EXPECT_EQ(f->Shown(3).substr(0, 4), "  42");
    EXPECT_EQ(f->view.Caption(), "recieving..disconnected");
    EXPECT_EQ(f->view.RepaintCount(), 1);
    EXPECT_EQ(f->store.m_bRedrawAll, 0);
}

TEST(ReaderPass, SerialCleaningAndNulCut) {
    auto f = MakeFixture();
    ReaderPass(f->store, f->context, std::string("a\nb\rc\x7F\x80\x01", 8), LinkKind::Serial);
    EXPECT_EQ(f->store.ReceiveText, "a*b\rc\x7F**");
    f->store.ReceiveText.clear();
    ReaderPass(f->store, f->context, std::string("ab\n\0cd", 6), LinkKind::Usb);
    EXPECT_EQ(f->store.ReceiveText, "ab\n");
}

// Text that fills the limit with nothing to decode is emptied; a read that passes the limit
// is still decoded whole.
TEST(ReaderPass, FourThousandGuardKeepsCompleteSentences) {
    auto f = MakeFixture();
    f->Show(3, 1);
    f->Show(4, 1);
    f->store.ReceiveText = std::string(4001 - 33, '.');
    ReaderPass(f->store, f->context, TransducerSentence("  42##80", "WATERTMP", '3'),
               LinkKind::Usb);
    EXPECT_EQ(f->store.m_PosMode[3], 1);
    EXPECT_LE(f->store.ReceiveText.size(), kReceiveTextLimit);

    // Noise filling the limit is emptied, and the sentence behind it decoded.
    std::string read = std::string(5000, '.') + TransducerSentence("  43##80", "BILGE   ", '4');
    ReaderPass(f->store, f->context, read, LinkKind::Serial);
    EXPECT_EQ(f->Shown(4).substr(0, 4), "  43");
    EXPECT_LE(f->store.ReceiveText.size(), kReceiveTextLimit);

    // One read of 9000 characters of sentences: every channel gets its last value.
    read.clear();
    for (int k = 0; read.size() < 9000; ++k)
        read += TransducerSentence(k % 2 == 0 ? "  50##80" : "  51##80", "WATERTMP", '3') +
                TransducerSentence(k % 2 == 0 ? "  60##80" : "  61##80", "BILGE   ", '4');
    read += TransducerSentence("  77##80", "WATERTMP", '3') + std::string(40, '.');
    ReaderPass(f->store, f->context, read, LinkKind::Usb);
    EXPECT_EQ(f->Shown(3).substr(0, 4), "  77");
}

TEST(ReaderPass, TcpWaitsForFortyEightCharacters) {
    for (const LinkKind link : {LinkKind::Tcp, LinkKind::Usb}) {
        auto f = MakeFixture();
        f->Show(3, 1);
        const std::string s = TransducerSentence("  42##80", "WATERTMP", '3') + "\r\n";
        ReaderPass(f->store, f->context, s, link);
        EXPECT_EQ(f->store.m_PosMode[3], link == LinkKind::Tcp ? 0 : 1);
        ReaderPass(f->store, f->context, std::string(20, '.'), link);
        EXPECT_EQ(f->store.m_PosMode[3], 1);
    }
}

TEST(ReaderPass, EncapsulatedN2KAfterTransducerSentences) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 8, 0, 0);
    f->Show(3, 1);
    const std::string text = TransducerSentence("  42##80", "WATERTMP", '3') +
                             N2KSentence(130306, 3723004, Payload(8).U16(1, 500).U8(5, 2).Hex()) +
                             "\r\n";
    ReaderPass(f->store, f->context, text, LinkKind::Usb);
    EXPECT_EQ(f->Shown(3).substr(0, 4), "  42");
    EXPECT_EQ(f->Work(0), " 9.7##1E");
    EXPECT_EQ(f->view.Caption(), "connected to Nordplex.Net N2K: Link Time 01:02:03  ");
}

TEST(ReaderPass, ScreenRecordMarkers) {
    struct Case {
        const char* legend;
        LinkKind link;
        std::string text;
        bool parsed;
        std::string prefix;
    };
    const Case kCases[] = {
        {"serial: any lower-case m", LinkKind::Serial, "$PKZLS,D,alarm*" + std::string(30, '.'),
         true, "connected to color display port  "},
        {"tcp: m alone is not a marker", LinkKind::Tcp, "some m text", false, "recieving.."},
        {"tcp: m0", LinkKind::Tcp, "m0 record", true, "connected to color display port "},
        {"usb: m1 alone is not a marker", LinkKind::Usb, "m1 record", false, "recieving.."},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->clock.AdvanceSeconds(86400 + 3661);
        int parses = 0;
        f->context.parseScreenRecords = [&](ChannelStore& store) {
            ++parses;
            store.ReceiveText.clear();
        };
        ReaderPass(f->store, f->context, c.text, c.link);
        EXPECT_EQ(parses, c.parsed ? 1 : 0) << c.legend;
        EXPECT_EQ(f->store.m_strTitlePrefix, c.prefix) << c.legend;
        if (c.parsed) {
            EXPECT_EQ(f->store.m_strLinkStatus, "  System Time 01/02/70  01:01:01") << c.legend;
        }
    }
}

TEST(ReaderPass, CaptureTickPerLink) {
    struct Case {
        const char* legend;
        LinkKind link;
        std::string text;
        int ticks;
    };
    const std::string xdr = "$IIXDR" + std::string(60, '.');
    const Case kCases[] = {
        {"serial ticks every pass", LinkKind::Serial, "plain", 1},
        {"usb ticks every pass", LinkKind::Usb, "plain", 1},
        {"tcp without transducer sentence", LinkKind::Tcp, "plain", 0},
        {"tcp with transducer sentence", LinkKind::Tcp, xdr, 1},
        {"tcp after a screen record", LinkKind::Tcp, "m0" + xdr, 2},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        int ticks = 0;
        std::string raw;
        f->context.captureTick = [&](ChannelStore&) { ++ticks; };
        f->context.rawText = [&](std::string_view text) { raw += text; };
        ReaderPass(f->store, f->context, c.text, c.link);
        EXPECT_EQ(ticks, c.ticks) << c.legend;
        EXPECT_EQ(raw, c.link == LinkKind::Tcp ? c.text : "") << c.legend;
    }
}

TEST(ReaderPass, ShowsReceiveTextWhenAsked) {
    auto f = MakeFixture();
    f->context.showComStatus = true;
    ReaderPass(f->store, f->context, "abc", LinkKind::Usb);
    ReaderPass(f->store, f->context, "def", LinkKind::Usb);
    EXPECT_EQ(f->view.StatusText(), "abcdef");
}

// Garbage (no '$' or '*') mixed with good and corrupted transducer sentences, fed in reads of
// random sizes: the channels end with the last good value each was sent, and a corrupted
// value is never shown.
TEST(ReaderPass, RandomStreamAppliesExactlyTheGoodSentences) {
    for (const LinkKind link : {LinkKind::Serial, LinkKind::Tcp, LinkKind::Usb}) {
        auto f = MakeFixture();
        for (int c = 0; c < 16; ++c) f->Show(c, 1);
        std::mt19937 random(11);
        std::string stream;
        std::array<std::string, 16> last;
        const std::string kGarbage = "abcdefghijklnopqrstuvwxyz0123456789,.#\r\n ";
        for (int k = 0; k < 3000; ++k) {
            const int garbage = static_cast<int>(random() % 30);
            for (int g = 0; g < garbage; ++g) stream += kGarbage[random() % kGarbage.size()];
            const int channel = static_cast<int>(random() % 16);
            char value[16];  // 8 characters; room for what the compiler thinks k may print
            const bool good = random() % 4 != 0;
            std::snprintf(value, sizeof value, "%c%03d##%02X", good ? ' ' : 'X', k % 1000, k % 256);
            std::string s = TransducerSentence(value, "LABEL" + std::to_string(100 + channel % 10),
                                               "0123456789ABCDEF"[channel]);
            if (!good) s[s.size() - 2] = s[s.size() - 2] == '0' ? '1' : '0';
            if (good) last[static_cast<std::size_t>(channel)] = std::string(value, 4);
            stream += s;
        }
        stream += std::string(60, '.');
        for (std::size_t at = 0; at < stream.size();) {
            const std::size_t n = 1 + random() % 200;
            ReaderPass(f->store, f->context, std::string_view(stream).substr(at, n), link);
            at += n;
            for (int c = 0; c < 16; ++c) ASSERT_NE(f->Shown(c)[0], 'X') << "corrupted value shown";
            ASSERT_LE(f->store.ReceiveText.size(), kReceiveTextLimit);
        }
        for (int c = 0; c < 16; ++c)
            EXPECT_EQ(f->Shown(c).substr(0, 4), last[static_cast<std::size_t>(c)]) << c;
    }
}

}  // namespace
}  // namespace pelor::decode

namespace pelor::decode {
namespace {

// A reader thread runs passes while the paint side takes the store's mutex and reads whole
// values: every value it sees is one that a sentence carried, never half of one.
TEST(ReaderPassThreads, PaintSeesWholeUpdates) {
    auto f = testing::MakeFixture();
    for (int c = 0; c < 16; ++c) f->Show(c, 1);
    std::string stream;
    for (int k = 0; k < 2000; ++k) {
        char value[9];
        std::snprintf(value, sizeof value, "%04d##%02X", (k % 2) ? 1111 : 2222, k % 256);
        stream += testing::TransducerSentence(value, "THREADED", "0123456789ABCDEF"[k % 16]);
    }
    std::atomic<bool> done{false};
    std::atomic<int> paintsSeen{0};
    std::thread reader([&] {
        while (paintsSeen.load() == 0) std::this_thread::yield();  // overlap with the painter
        for (std::size_t at = 0; at < stream.size(); at += 100) {
            ReaderPass(f->store, f->context, std::string_view(stream).substr(at, 100),
                       LinkKind::Usb);
        }
        done = true;
    });
    int paints = 0;
    while (!done) {
        std::lock_guard<std::mutex> lock(f->store.mutex);
        for (int c = 0; c < 16; ++c) {
            const std::string shown = f->Shown(c).substr(0, 4);
            EXPECT_TRUE(shown == "1111" || shown == "2222" || shown == std::string(4, '\0'))
                << shown;
        }
        ++paints;
        paintsSeen = paints;
    }
    reader.join();
    EXPECT_GT(paints, 0);
    EXPECT_GE(f->view.RepaintCount(), 1);
    EXPECT_NE(f->Shown(0).substr(0, 4), std::string(4, '\0'));
}

}  // namespace
}  // namespace pelor::decode
