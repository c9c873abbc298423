#pragma once
// Conversion of a TXT capture log into a CSV table: one column pair (value text, level) per
// transducer. The conversion reads fixed character positions of each line:
//   0..13 stamp YYYYMMDDhhmmss, 15..20 record count, then per sentence s (0..15) at
//   22 + 33 s: value +9..+14, level digits +15..+16, name +20..+27, id +28.
// Characters missing from a short line read as spaces.
#include <string>
#include <string_view>

#include "core/prompt.h"
#include "core/text_file.h"

namespace pelor::logs {

// The longest input line (a longer one is split and its rest read as the next line).
inline constexpr std::size_t kConversionLineBuffer = 600;

// The output path: the input path with its last three characters replaced by "csv".
std::string ConvertedLogPath(std::string_view input);

// "TIME , DATE, Index, <16 x name,id,>,\n" from the first line (the line's "\n" not included).
void AppendConvertedHeader(std::string& out, std::string_view line);
// " MM/DD/YY,hh:mm:ss,<count>,<16 x value,lll,>,\n" from a data line.
void AppendConvertedRow(std::string& out, std::string_view line);

struct ConversionResult {
    bool ok = false;
    std::string message;  // shown to the user: the error text, or "File Converted"
    std::string caption;  // "Error" or "Status"
};

// Converts `input` into ConvertedLogPath(input) (created or emptied; text mode, CRLF lines).
ConversionResult ConvertTextLog(const std::string& input);

// The conversion itself, from an open input (a file or memory) into an open output, which is
// closed (kept) on success and abandoned on failure.
ConversionResult ConvertTextLog(core::TextFile& in, core::TextFile& out);

// The same, with the outcome shown through `prompt`; true when converted.
bool ConvertTextLog(const std::string& input, core::Prompt& prompt);

// The FILES page's Convert button: offers `initial` in a save-file chooser (default extension
// "txt", text filter, overwrite prompt) and converts the chosen file. False on cancel or error.
bool ChooseAndConvertTextLog(const std::string& initial, core::Prompt& prompt);

}  // namespace pelor::logs
