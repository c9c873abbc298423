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
        {2, 14, true, 3, "two displays, 14 pages: limit 6"},
        {5, 14, true, 0, "two displays, 14 pages: page 5 wraps"},
        {7, 16, true, 0, "two displays, 16 pages: limit 0"},
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
