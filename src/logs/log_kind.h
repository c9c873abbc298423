#pragma once
// The kinds of capture log, chosen by the last three characters of the log path (compared
// case-sensitively): "csv" -> CsvHeaderPending at start, "txt" and "htm" -> Text, "ebl" -> Ebl.
#include <cstdint>
#include <optional>
#include <string_view>

namespace pelor::logs {

enum class LogKind : std::uint8_t {
    Text = 0,              // ".txt" and ".htm"
    CsvRows = 1,           // ".csv" after its header line
    CsvHeaderPending = 2,  // ".csv" before its header line
    Ebl = 3,               // ".ebl": raw adapter frames
};

// The kind a log path starts with, or nothing for an unknown (or upper-case) extension.
std::optional<LogKind> KindForPath(std::string_view path);

// Whether `path` ends in `extension` (three characters, case-sensitive).
bool PathEndsIn(std::string_view path, std::string_view extension);

}  // namespace pelor::logs
