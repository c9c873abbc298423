#include "unit/unit_commands.h"

#include <gtest/gtest.h>

namespace pelor::unit {
namespace {

TEST(UnitCommands, CommandBytes) {
    EXPECT_EQ(kNextPageCommand, std::string_view("$PKZLC,N\r", 9));
    EXPECT_EQ(kHoldCommand, std::string_view("\r\ntc\r\n", 6));
    EXPECT_EQ(kPassThroughCommand.size(), 9u);
    EXPECT_EQ(kEraseCommand, "$PKZLC,E\r");
    EXPECT_EQ(kProgramCommand, "$PKZLC,P\r");
}

TEST(UnitCommands, NextPageWrapsAtTheLimit) {
    struct Case {
        int current, count;
        bool multi;
        int want;
        const char* legend;
    };
    const Case kCases[] = {
        {4, 5, false, 0, "single display, last of five pages wraps"},
        {3, 5, false, 4, "single display, middle page"},
        {0, 0, false, 0, "no pages: always page 0"},
        {0, 1, false, 0, "one page stays"},
        {2, 14, true, 3, "two displays, 14 pages: first display"},
        {5, 14, true, 6, "two displays, 14 pages: the first display has eight"},
        {7, 14, true, 8, "two displays: on to the second display's first page"},
        {12, 14, true, 13, "two displays, 14 pages: the second display has six"},
        {13, 14, true, 0, "two displays, 14 pages: back to the first display"},
        {7, 16, true, 8, "two displays, 16 pages: eight each"},
        {15, 16, true, 0, "two displays, 16 pages: the last wraps"},
        {7, 8, true, 0, "two displays, 8 pages: the first display's only"},
        {15, 20, true, 0, "two displays hold sixteen pages at most"},
        {15, 15, false, 0, "current beyond the count wraps"},
        {16, 5, false, 0, "first-page zone sets the count, next wraps"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(NextPageNumber(c.current, c.count, c.multi), c.want) << c.legend;
}

TEST(UnitCommands, PageTextsAndFailure) {
    EXPECT_EQ(PageStatusText(0, false), " Page 0");
    EXPECT_EQ(PageStatusText(3, true), " Display 0 Page 3");
    EXPECT_EQ(PageStatusText(11, true), " Display 1 Page 3");
    EXPECT_EQ(WriteFailureText(5), "Unable to write to serial port: code =5");
}

}  // namespace
}  // namespace pelor::unit
