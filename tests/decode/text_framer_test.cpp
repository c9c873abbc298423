// The framer every text decoder finds its sentences through, and the dispatch of sentences by
// their start.
#include "decode/text_framer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/decode_fixture.h"

namespace pelor::decode {
namespace {

using State = FramedSentence::State;

TEST(TextFramer, FramesCheckedSentences) {
    struct Case {
        const char* legend;
        std::string text;
        std::size_t start;
        std::size_t commas;
        State state;
        std::size_t star;  // kNoPosition while incomplete
    };
    const std::string good = "$PKZLN,01F112,0038CEFC,01,00D0510000FFFFFF*4F";
    const std::size_t goodStar = good.find('*');
    const Case kCases[] = {
        {"good", good + "\r", 0, 0, State::Good, goodStar},
        {"two-character body", "$AB*03x", 0, 0, State::Good, 3},
        {"bad checksum", "$AB*04\r", 0, 0, State::BadChecksum, 3},
        {"lower-case checksum digit reads as 0: fails", "$J*4a\r", 0, 0, State::BadChecksum, 2},
        {"lower-case checksum digit reads as 0: passes", "$@*4a\r", 0, 0, State::Good, 2},
        {"one checksum digit still to come", good.substr(0, goodStar + 2), 0, 0, State::Incomplete,
         kNoPosition},
        {"no star yet", good.substr(0, 20), 0, 0, State::Incomplete, kNoPosition},
        {"star searched after the commas asked for", "$A*,B,C*01\r", 0, 2, State::BadChecksum, 7},
        {"a comma still to come", "$A,B*00\r", 0, 2, State::Incomplete, kNoPosition},
        {"start past the end", "$AB*03", 9, 0, State::Incomplete, kNoPosition},
        {"start at npos", "$AB*03", kNoPosition, 1, State::Incomplete, kNoPosition},
        {"empty text", "", 0, 0, State::Incomplete, kNoPosition},
    };
    for (const auto& c : kCases) {
        const FramedSentence s = TextFramer(c.text).Frame(c.start, c.commas);
        EXPECT_EQ(s.state, c.state) << c.legend;
        EXPECT_EQ(s.star, c.star) << c.legend;
    }
    const FramedSentence s = TextFramer("$IIXDR,C,12.3##7F,C,BOOMVANGA*71").Frame(0, 4);
    EXPECT_EQ(s.state, State::Good);
    EXPECT_EQ(s.commas[0], 6u);
    EXPECT_EQ(s.commas[3], 19u);
}

TEST(TextFramer, FieldsStayInsideTheTextAndTheirEnd) {
    const TextFramer framer("0123456789");
    EXPECT_EQ(framer.Field(2, 3), "234");
    EXPECT_EQ(framer.Field(8, 5), "89") << "cut at the end of the text";
    EXPECT_EQ(framer.Field(2, 5, 4), "23") << "cut at its end";
    EXPECT_EQ(framer.Field(4, 5, 4), "") << "from at its end";
    EXPECT_EQ(framer.Field(10, 1), "") << "from at the end of the text";
    EXPECT_EQ(framer.Field(kNoPosition, kNoPosition, kNoPosition), "");
    EXPECT_EQ(framer.At(9), '9');
    EXPECT_EQ(framer.At(10), '\0');
    EXPECT_TRUE(framer.Arrived(5, 5));
    EXPECT_FALSE(framer.Arrived(5, 6));
    EXPECT_FALSE(framer.Arrived(kNoPosition, 0));
}

TEST(TextFramer, KeepTailWorksOnItsOwnText) {
    std::string receive = "abcdef";
    KeepTail(receive, receive, 2);
    EXPECT_EQ(receive, "cdef");
    KeepTail(receive, std::string_view(receive).substr(1), 1);
    EXPECT_EQ(receive, "ef") << "a view of part of the text itself";
    KeepTail(receive, "xyz", 9);
    EXPECT_EQ(receive, "") << "start past the end keeps nothing";
}

// Rows run in order over the first sentence of each prefix, once its minimum length has come.
std::vector<std::string> gSeen;
void Seen(ChannelStore&, const ChannelContext&, std::string_view sentence) {
    gSeen.emplace_back(sentence);
}
void Missing(ChannelStore&, const ChannelContext&) {
    gSeen.emplace_back("missing");
}

TEST(DispatchSentences, RowsTakeTheFirstSentenceOnceItHasArrived) {
    constexpr SentenceRow kRows[] = {
        {"$B,", 5, Seen, Missing},
        {"$A,", 4, Seen, nullptr},
        {"$C,", 1, Seen, Missing},
    };
    struct Case {
        const char* legend;
        std::string text;
        std::vector<std::string> seen;
    };
    const Case kCases[] = {
        {"both arrived, table order", "$A,1$B,2$A,3", {"$B,2$A,3", "$A,1$B,2$A,3", "missing"}},
        {"B one character short", "x$A,1$B,", {"$A,1$B,", "missing"}},
        {"exactly the minimum", "$B,12", {"$B,12", "missing"}},
        {"nothing", "", {"missing", "missing"}},
    };
    auto f = testing::MakeFixture();
    for (const auto& c : kCases) {
        gSeen.clear();
        DispatchSentences(kRows, f->store, f->context, c.text);
        EXPECT_EQ(gSeen, c.seen) << c.legend;
    }
}

}  // namespace
}  // namespace pelor::decode
