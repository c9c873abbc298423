#pragma once
// The unit's command sentences and what the main window does around them: the next page
// number with its wrap, the caption's page text, and the message for a failed write.
//
//   "$PKZLC,N\r"          next page (9 bytes, no checksum)
//   "\r\ntc\r\n"          hold, the same 6 bytes to hold and to release
//   "$PKZLC,Z\r"          port pass-through after a serial connect
//   "$PKZLC,E\r"          flash programming: erase
//   "$PKZLC,P\r"          flash programming: program
#include <string>
#include <string_view>

namespace pelor::unit {

inline constexpr std::string_view kNextPageCommand = "$PKZLC,N\r";
inline constexpr std::string_view kHoldCommand{"\r\ntc\r\n", 6};
inline constexpr std::string_view kPassThroughCommand = "$PKZLC,Z\r";
inline constexpr std::string_view kEraseCommand = "$PKZLC,E\r";
inline constexpr std::string_view kProgramCommand = "$PKZLC,P\r";

// With two displays page p is page p % 8 of display p / 8.
inline constexpr int kPagesPerDisplay = 8;

// The page after `current`: one more, back to 0 when it reaches the page count. With two
// displays the count covers both (at most 16): 14 pages are the first display's eight and the
// second display's six, and Next page goes from page 7 on to the second display's page 0
// (page 8). A count of 0 or less always gives page 0.
int NextPageNumber(int current, int pageCount, bool multiDisplay);

// The link status text that names the page: " Page %i", or " Display %i Page %i" (page / 8,
// page % 8) with two displays.
std::string PageStatusText(int page, bool multiDisplay);

// "Unable to write to serial port: code =%d".
std::string WriteFailureText(int code);

// Picture names for the PAGE and STOP buttons: the pressed look shows "D" as the up picture.
inline constexpr const char* kPagePressedPicture = "PAGED_PAGEU";
inline constexpr const char* kPagePicture = "PAGE";
inline constexpr const char* kStopPressedPicture = "STOPD_STOPU";
inline constexpr const char* kStopPicture = "STOP";

}  // namespace pelor::unit
