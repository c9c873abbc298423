#include "decode/transducer_sentences.h"

#include <gtest/gtest.h>

#include <string>

#include "decode/decode_fixture.h"

namespace pelor::decode {
namespace {

using testing::MakeFixture;
using testing::TransducerSentence;

TEST(TransducerSentences, SentenceHasThirtyThreeCharacters) {
    EXPECT_EQ(TransducerSentence("12.3##7F", "BOOMVANG", 'A').size(), 33u);
}

TEST(TransducerSentences, AcceptedSentenceUpdatesItsChannel) {
    struct Case {
        const char* legend;
        char digit;
        int channel;
    };
    const Case kCases[] = {{"digit A is channel 10", 'A', 10},
                           {"lower-case a counts as 0", 'a', 0},
                           {"digit 3", '3', 3},
                           {"digit F", 'F', 15}};
    for (const auto& c : kCases) {
        auto f = MakeFixture();
        f->Show(c.channel, 4);
        const std::string sentence = TransducerSentence("12.3##7F", "BOOMVANG", c.digit);
        const std::string text = sentence + "\n";
        DecodeTransducerSentences(f->store, f->context, text);
        EXPECT_EQ(f->Shown(c.channel).substr(0, 4), "12.3") << c.legend;
        EXPECT_EQ(f->store.m_PosFrame[static_cast<std::size_t>(c.channel)], 0x7F * 11 / 256)
            << c.legend;
        // Stored through the checksum and one more character, value/name rewritten.
        EXPECT_EQ(f->store.LastSentence[static_cast<std::size_t>(c.channel)].substr(0, 29),
                  sentence.substr(0, 20) + std::string(8, '\0') + c.digit)
            << c.legend;
        EXPECT_EQ(f->store.LastSentence[static_cast<std::size_t>(c.channel)].size(), 33u);
    }
}

TEST(TransducerSentences, WrongChecksumSkipsOnlyThatSentence) {
    auto f = MakeFixture();
    f->Show(1, 1);
    f->Show(2, 1);
    std::string bad = TransducerSentence("  11##10", "LABEL111", '1');
    bad[bad.size() - 2] = bad[bad.size() - 2] == '0' ? '1' : '0';
    const std::string text = bad + TransducerSentence("  22##20", "LABEL222", '2');
    DecodeTransducerSentences(f->store, f->context, text);
    EXPECT_EQ(f->store.m_PosMode[1], 0);
    EXPECT_EQ(f->Shown(2).substr(0, 4), "  22");
}

TEST(TransducerSentences, LowerCaseChecksumFails) {
    auto f = MakeFixture();
    f->Show(1, 1);
    // Checksum of this sentence has a letter digit; writing it in lower case must fail.
    std::string s;
    for (char last = 'A'; last <= 'Z'; ++last) {
        s = TransducerSentence("  11##10", std::string("LABEL11") + last, '1');
        const std::size_t star = s.find('*');
        if (s[star + 1] >= 'A' || s[star + 2] >= 'A') break;
    }
    const std::size_t star = s.find('*');
    bool hasLetter = false;
    for (std::size_t i = star + 1; i < star + 3; ++i) {
        if (s[i] >= 'A' && s[i] <= 'F') {
            s[i] = static_cast<char>(s[i] - 'A' + 'a');
            hasLetter = true;
        }
    }
    ASSERT_TRUE(hasLetter) << s;
    DecodeTransducerSentences(f->store, f->context, s + "xx");
    EXPECT_EQ(f->store.m_PosMode[1], 0);
}

TEST(TransducerSentences, TailStartsAtTheLastSentence) {
    auto f = MakeFixture();
    f->Show(1, 1);
    const std::string first = TransducerSentence("  11##10", "LABEL111", '1');
    const std::string second = TransducerSentence("  22##20", "LABEL222", '1');
    const std::string text = "noise" + first + second;
    EXPECT_EQ(DecodeTransducerSentences(f->store, f->context, text), second.size());
    EXPECT_EQ(f->store.ReceiveText, second);
    EXPECT_EQ(f->Shown(1).substr(0, 4), "  22");
    // An incomplete sentence at the end is kept for the next pass.
    const std::string partial = second.substr(0, 20);
    DecodeTransducerSentences(f->store, f->context, first + partial);
    EXPECT_EQ(f->store.ReceiveText, partial);
    EXPECT_EQ(f->Shown(1).substr(0, 4), "  11");
}

TEST(TransducerSentences, ShortTextsAndTextsWithoutSentencesAreKeptWhole) {
    auto f = MakeFixture();
    f->Show(1, 1);
    const std::string s = TransducerSentence("  11##10", "LABEL111", '1');
    const std::string kTexts[] = {s.substr(0, 32), "garbage garbage garbage garbage garbage!"};
    for (const auto& text : kTexts) {
        EXPECT_EQ(DecodeTransducerSentences(f->store, f->context, text), text.size());
        EXPECT_EQ(f->store.ReceiveText, text);
    }
    EXPECT_EQ(f->store.m_PosMode[1], 0);
}

// A name that is not 9 characters cannot say its channel: that sentence is skipped and the
// ones behind it are decoded.
TEST(TransducerSentences, NameOfWrongLengthIsSkipped) {
    auto f = MakeFixture();
    f->Show(1, 1);
    f->Show(2, 1);
    const std::string shortName = TransducerSentence("  11##10", "LABEL11", '1');  // 8 chars
    const std::string good = TransducerSentence("  22##20", "LABEL222", '2');
    const std::string text = shortName + good + good;
    EXPECT_EQ(DecodeTransducerSentences(f->store, f->context, text), good.size());
    EXPECT_EQ(f->store.m_PosMode[1], 0);
    EXPECT_EQ(f->store.m_PosMode[2], 1);
    EXPECT_EQ(f->store.ReceiveText, good);
}

// Gateway sentences ahead of the last transducer sentence stay for their own decoder.
TEST(TransducerSentences, KeepsGatewaySentencesForTheirDecoder) {
    auto f = MakeFixture();
    const std::string xdr = TransducerSentence("  22##20", "LABEL222", '2');
    const std::string gateway = "$PKZLN,01FD02,00000001,01,FFF4010000FA0000*36\r";
    EXPECT_EQ(DecodeTransducerSentences(f->store, f->context, xdr + gateway + xdr),
              gateway.size() + xdr.size());
    EXPECT_EQ(f->store.ReceiveText, gateway + xdr);
}

TEST(TransducerSentences, ValueIncludesTheClosingComma) {
    auto f = MakeFixture();
    f->Show(4, 2);
    // A 5-character value: handed on with its comma, so the sixth character is ','.
    DecodeTransducerSentences(f->store, f->context,
                              TransducerSentence("12.34", "LABELFOU", '4') + "\r\n...");
    EXPECT_EQ(f->Shown(4).substr(0, 6), "12.34,");
}

TEST(TransducerSentences, MissingFieldsWaitForMoreText) {
    auto f = MakeFixture();
    const std::string text = "$IIXDR,no commas here at all and no star either.....";
    EXPECT_EQ(DecodeTransducerSentences(f->store, f->context, text), text.size());
    const std::string star = "$IIXDR,a,b,c,d and a star at the very end *";
    EXPECT_EQ(DecodeTransducerSentences(f->store, f->context, star), star.size());
}

TEST(TransducerSentences, DecodesInPlaceFromReceiveText) {
    auto f = MakeFixture();
    f->Show(1, 1);
    f->store.ReceiveText = "junk" + TransducerSentence("  11##10", "LABEL111", '1') + "$II";
    DecodeTransducerSentences(f->store, f->context, f->store.ReceiveText);
    EXPECT_EQ(f->Shown(1).substr(0, 4), "  11");
    EXPECT_EQ(f->store.ReceiveText.substr(0, 7), "$IIXDR,");
}

}  // namespace
}  // namespace pelor::decode
