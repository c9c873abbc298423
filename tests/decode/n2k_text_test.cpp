#include "decode/n2k_text.h"

#include <gtest/gtest.h>

#include <string>

#include "decode/decode_fixture.h"

namespace pelor::decode {
namespace {

using testing::MakeFixture;
using testing::N2KSentence;
using testing::Payload;

std::string Wind(unsigned speed) {
    return Payload(8).U8(0, 0xFF).U16(1, speed).U8(5, 0xFA).Hex();
}

TEST(CheckN2KSentence, FindsTheStarOfAGoodSentence) {
    const std::string s = N2KSentence(130306, 1000, Wind(500));
    EXPECT_EQ(CheckN2KSentence(s, 0), s.find('*'));
    EXPECT_EQ(CheckN2KSentence("xx" + s, 2), s.find('*') + 2);
    struct Case {
        const char* legend;
        std::string text;
    };
    std::string bad = s;
    bad[10] = bad[10] == '1' ? '2' : '1';
    const Case kZero[] = {
        {"no star yet", s.substr(0, s.find('*'))},
        {"one checksum digit", s.substr(0, s.find('*') + 2)},
        {"wrong checksum", bad},
    };
    for (const auto& c : kZero) EXPECT_EQ(CheckN2KSentence(c.text, 0), 0u) << c.legend;
}

TEST(DecodeEncapsulatedN2K, WindSentenceUpdatesItsChannel) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 8, 0, 0);
    DecodeEncapsulatedN2K(f->store, f->context, N2KSentence(130306, 1000, Wind(500)));
    EXPECT_EQ(f->Work(0), " 9.7##1E");
    EXPECT_EQ(f->store.ReceiveText, "");
}

TEST(DecodeEncapsulatedN2K, LinkTimeAndCaption) {
    struct Case {
        const char* legend;
        std::string text;
        std::string status, prefix;
    };
    const std::string kHold = "disconnected";
    const Case kCases[] = {
        {"known PGN sets the link time", N2KSentence(130306, 3723004, Wind(1)),
         "N2K: Link Time 01:02:03  ", "connected to Nordplex.Net "},
        {"time stamp only PGN", N2KSentence(65281, 60000, "00000000000000"),
         "N2K: Link Time 00:01:00  ", "connected to Nordplex.Net "},
        {"unknown PGN keeps the time", N2KSentence(59904, 5000, "00"), kHold, "::"},
        {"last known time wins", N2KSentence(127250, 1000, "00") + N2KSentence(59904, 9000, "00"),
         "N2K: Link Time 00:00:01  ", "connected to Nordplex.Net "},
        {"hours are not wrapped", N2KSentence(127250, 0x7FFFFFFF, "00"),
         "N2K: Link Time 596:31:23  ", "connected to Nordplex.Net "},
        {"time stamp above int32 reads the largest", N2KSentence(127250, 0xFFFFFFFF, "00"),
         "N2K: Link Time 596:31:23  ", "connected to Nordplex.Net "},
        {"time 0 leaves the caption", N2KSentence(127250, 0, "00"), kHold, "::"},
    };
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        DecodeEncapsulatedN2K(f->store, f->context, c.text);
        EXPECT_EQ(f->store.m_strLinkStatus, c.status) << c.legend;
        EXPECT_EQ(f->store.m_strTitlePrefix, c.prefix) << c.legend;
    }
}

TEST(DecodeEncapsulatedN2K, LinkTimeCarriesSystemTime) {
    auto f = MakeFixture();
    f->context.n2kTimeSource = 1;
    DecodeEncapsulatedN2K(f->store, f->context,
                          N2KSentence(126992, 1000, Payload(8).U16(2, 1).U32(4, 10000).Hex()));
    EXPECT_EQ(f->store.m_strLinkStatus,
              "N2K: Link Time 00:00:01    System Time 01/02/70  00:00:01");
}

// A damaged sentence is skipped and the good one behind it decoded; an incomplete one, or the
// start of one that a read cut, waits for the rest.
TEST(DecodeEncapsulatedN2K, DamagedSentenceIsSkippedIncompleteIsKept) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 8, 0, 0);
    // Lower-case checksum digits fail the check (0x?? with letters only).
    std::string lower;
    for (unsigned t = 1; t < 400; ++t) {
        lower = N2KSentence(130306, t, Wind(100));
        const std::size_t star = lower.find('*');
        if (lower[star + 1] >= 'A' || lower[star + 2] >= 'A') {
            for (std::size_t i = star + 1; i < star + 3; ++i) {
                if (lower[i] >= 'A') lower[i] = static_cast<char>(lower[i] + 32);
            }
            break;
        }
    }
    ASSERT_NE(lower.find_first_of("abcdef", lower.find('*')), std::string::npos);
    const std::string good = N2KSentence(130306, 1, Wind(500));
    DecodeEncapsulatedN2K(f->store, f->context, "junk" + lower + good);
    EXPECT_EQ(f->Work(0), " 9.7##1E");
    EXPECT_EQ(f->store.ReceiveText, "");

    // Cut short (the next sentence's '$' before any '*'): skipped, the next one decoded.
    f->store.ReceiveText.clear();
    DecodeEncapsulatedN2K(f->store, f->context,
                          good.substr(0, 30) + N2KSentence(130306, 1, Wind(100)) + "\r\n");
    EXPECT_EQ(f->Work(0), " 1.9##06");
    EXPECT_EQ(f->store.ReceiveText, "");

    // A read that ends inside "$PKZLN," after a complete sentence keeps those characters.
    for (const std::size_t cut : {1U, 4U, 7U, 12U}) {
        DecodeEncapsulatedN2K(f->store, f->context, good + "\r\n" + good.substr(0, cut));
        EXPECT_EQ(f->store.ReceiveText, good.substr(0, cut)) << cut;
    }

    // Good, then incomplete: the first is decoded, the rest kept.
    const std::string partial = good.substr(0, 20);
    DecodeEncapsulatedN2K(f->store, f->context, good + partial);
    EXPECT_EQ(f->Work(0), " 9.7##1E");
    EXPECT_EQ(f->store.ReceiveText, partial);

    // No sentence at all: the text is dropped.
    DecodeEncapsulatedN2K(f->store, f->context, "no sentences here");
    EXPECT_EQ(f->store.ReceiveText, "");
}

TEST(DecodeEncapsulatedN2K, PositionRapidIsReadAsCogSog) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 15, 0, 0);
    DecodeEncapsulatedN2K(f->store, f->context,
                          N2KSentence(129025, 5, Payload(8).U16(4, 500).Hex()));
    EXPECT_EQ(f->Work(0), " 9.7##1E");
}

TEST(DecodeEncapsulatedN2K, ShortPayloadReadsZerosAfterTheStar) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 8, 0, 0);
    // Only bytes 0..2; the wind reference byte 5 reads 0, so field 0 (reference 2) is not shown
    // but field 2 (reference 0) is.
    f->MapN2K(1, 8, 0, 2);
    f->Capture(1);
    DecodeEncapsulatedN2K(f->store, f->context, N2KSentence(130306, 5, "FFF401"));
    EXPECT_EQ(f->Work(0), "........");
    EXPECT_EQ(f->Work(1), " 9.7##1E");
}

TEST(DecodeEncapsulatedN2K, DecodesInPlaceFromReceiveText) {
    auto f = MakeFixture();
    f->Capture(0);
    f->MapN2K(0, 8, 0, 0);
    const std::string partial = "$PKZLN,01FD";
    f->store.ReceiveText = N2KSentence(130306, 1000, Wind(500)) + partial;
    DecodeEncapsulatedN2K(f->store, f->context, f->store.ReceiveText);
    EXPECT_EQ(f->Work(0), " 9.7##1E");
    EXPECT_EQ(f->store.ReceiveText, partial);
}

}  // namespace
}  // namespace pelor::decode
