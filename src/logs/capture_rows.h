#pragma once
// The text of capture log records, as plain functions over the stored sentences.
//
// A stored transducer sentence (LastSentence entry) has the unit's fixed shape:
//   $IIXDR,G,vvvvvvvv,G,nnnnnnnnc*hh\r
//   0-based: 9..16 value field (9..12 shown, 15 level/glyph), 20..27 name, 28 channel digit.
#include <array>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "logs/log_kind.h"

namespace pelor::logs {

using StoredSentences = std::array<std::string, 16>;

// The placeholder stored for entries 1..15 when recording starts:
// "$IIXDR,G, 0000000,G,NOTUSED %01X*00\r" with the entry number as one hex digit.
std::string PlaceholderSentence(int entry);

// The field text of one record for `kind` (see the row writer): one column group per stored
// sentence, entry 0 always, entries 1..15 when not empty.
void AppendFieldText(std::string& out, const StoredSentences& sentences, LogKind kind);

// "%Y%m%d%H%M%S" of a broken-down time.
std::string Stamp(const std::tm& time);

// One record line (ending in "\n") of a CSV or TXT log: the header "Date Time, Count,F" for
// CsvHeaderPending, otherwise "stamp,count,F" with the count as "%6.6d".
std::string RecordLine(LogKind kind, const std::string& stamp, std::int32_t count,
                       std::string_view fields);

// The body line of the web page: "D sentence,S sentence,F\n".
std::string WebRecordLine(std::string_view dSentence, std::string_view sSentence,
                          std::string_view fields);

// The fixed head and tail of the web page as written (each "\r\n" of the page text is also
// subject to the text-mode translation of the log stream).
inline constexpr std::string_view kWebPageHead =
    "<HTML>\r\n<head>\r\n<Title> Koralind Web Log File </Title>\r\n</head>\r\n<Body>\r\n";
inline constexpr std::string_view kWebPageTail = "</Body>\r\n</HTML>\r\n";

// Adapter frames of one received batch as "$PKZLN," sentences, appended to `out`:
//   batch:   10 02 93 L prio pgn0 pgn1 pgn2 dst src ts0 ts1 ts2 ts3 n data[L-11] CK ...
//   output:  $PKZLN,pppppp,tttttttt,ss,dd..dd*hh\r   (upper-case hex, PGN and time stamp
//            most significant byte first, XOR checksum of the characters between '$' and '*')
// The stuffing of the link (every 0x10 inside a frame sent twice) is removed first. A frame
// whose end lies past the batch ends the scan. `scratch` holds the unstuffed copy so that a
// caller can keep its capacity between batches.
void AppendFrameSentences(std::string& out, std::span<const std::uint8_t> batch,
                          std::basic_string<std::uint8_t>& scratch);

}  // namespace pelor::logs
