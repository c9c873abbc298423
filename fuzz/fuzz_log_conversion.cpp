// A TXT capture log converted into its CSV table: line by line, and as a whole conversion.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text_file.h"
#include "logs/log_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace pelor;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Kept across inputs: a 4 KB input of empty lines makes some 800 KB of rows, and growing
    // a fresh string to that for every input cost more than converting.
    static std::string out;
    out.clear();
    std::size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::size_t before = out.size();
        if (first) {
            logs::AppendConvertedHeader(out, text.substr(start, end - start));
        } else {
            logs::AppendConvertedRow(out, text.substr(start, end - start));
        }
        // Every output line is a whole line of fixed columns, whatever the input line held.
        if (out.back() != '\n' || out.size() - before < 20) __builtin_trap();
        first = false;
        start = end;
    }
    // The whole conversion, reading the log from memory through the same code as a file and
    // writing the table to /dev/null.
    core::TextFile log;
    core::TextFile table;
    if (log.OpenMemory(text, "log.txt") && table.Open("/dev/null", core::TextFile::Mode::Write)) {
        const logs::ConversionResult r = logs::ConvertTextLog(log, table);
        if (r.ok != (r.message == "File Converted")) __builtin_trap();
    }
    return 0;
}
