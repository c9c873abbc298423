#include "logs/log_conversion.h"

#include <cstdio>

#include "core/format.h"
#include "core/text_file.h"
#include "decode/channel_store.h"

namespace pelor::logs {
namespace {

constexpr std::size_t kFirstSentence = 22;
constexpr std::size_t kSentenceWidth = 33;
constexpr int kSentences = 16;
// The converted file is written through a larger buffer than the log writers use; the bytes
// written are the same.
constexpr std::size_t kOutputBuffer = std::size_t{64} * 1024;

char At(std::string_view line, std::size_t i) {
    return i < line.size() ? line[i] : ' ';
}

std::string_view WithoutNewline(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    return line;
}

}  // namespace

std::string ConvertedLogPath(std::string_view input) {
    std::string out(input.substr(0, input.size() >= 3 ? input.size() - 3 : 0));
    out += "csv";
    return out;
}

void AppendConvertedHeader(std::string& out, std::string_view line) {
    line = WithoutNewline(line);
    out += "TIME , DATE, Index, ";
    for (int s = 0; s < kSentences; ++s) {
        const std::size_t base = kFirstSentence + kSentenceWidth * static_cast<std::size_t>(s);
        for (std::size_t i = 20; i < 28; ++i) {
            const char c = At(line, base + i);
            if (c != '#') out += c;
        }
        out += ',';
        out += At(line, base + 28);
        out += ',';
    }
    out += ",\n";
}

void AppendConvertedRow(std::string& out, std::string_view line) {
    line = WithoutNewline(line);
    out += ' ';
    const auto pair = [&](std::size_t i) {
        out += At(line, i);
        out += At(line, i + 1);
    };
    pair(4);
    out += '/';
    pair(6);
    out += '/';
    pair(2);
    out += ',';
    pair(8);
    out += ':';
    pair(10);
    out += ':';
    pair(12);
    out += ',';
    for (std::size_t i = 15; i < 21; ++i) {
        const char c = At(line, i);
        if (c != '#') out += c;
    }
    out += ',';
    for (int s = 0; s < kSentences; ++s) {
        const std::size_t base = kFirstSentence + kSentenceWidth * static_cast<std::size_t>(s);
        for (std::size_t i = 9; i < 15; ++i) {
            const char c = At(line, base + i);
            out += c == '#' ? ' ' : c;
        }
        const int level =
            16 * decode::HexDigit(At(line, base + 15)) + decode::HexDigit(At(line, base + 16));
        char digits[8];
        std::snprintf(digits, sizeof digits, ",%3.3d,", level);
        out += digits;
    }
    out += ",\n";
}

ConversionResult ConvertTextLog(const std::string& input) {
    ConversionResult r{false, "", "Error"};
    core::TextFile in;
    if (!in.Open(input, core::TextFile::Mode::Read)) {
        r.message = input;
        return r;
    }
    const std::string outputPath = ConvertedLogPath(input);
    core::TextFile out;
    // A log already named ".csv" would be emptied before it is read: refused like an output
    // that cannot be created. The table is written beside the output and takes its place only
    // when complete (through a link, keeping the old file's permissions); an output the user
    // may not write is refused.
    if (outputPath == input || !out.Open(outputPath, core::TextFile::Mode::Replace)) {
        r.message = outputPath;
        return r;
    }
    if (!out.SetBuffer(kOutputBuffer)) {
        r.message = "Could not set buffer to 0";
        return r;
    }
    std::string line;
    std::string text;
    if (!in.ReadLine(line, kConversionLineBuffer)) {
        r.message = "Error Reading from file";
        return r;
    }
    AppendConvertedHeader(text, line);
    for (;;) {
        if (!in.ReadLine(line, kConversionLineBuffer)) break;
        AppendConvertedRow(text, line);
        if (text.size() >= kOutputBuffer) {
            if (!out.Write(text)) break;
            text.clear();
        }
    }
    if (in.HasError()) {
        r.message = "Error Reading from file";
        return r;
    }
    if (!out.Write(text) || !out.Close()) {
        r.message = "Error Writing to file";
        return r;
    }
    r.ok = true;
    r.message = "File Converted";
    r.caption = "Status";
    return r;
}

bool ConvertTextLog(const std::string& input, core::Prompt& prompt) {
    const ConversionResult r = ConvertTextLog(input);
    prompt.Message(r.message, r.caption);
    return r.ok;
}

bool ChooseAndConvertTextLog(const std::string& initial, core::Prompt& prompt) {
    core::FileDialogRequest request;
    request.open = false;
    request.defaultExtension = "txt";
    request.initialName = initial;
    request.filter = "Text Files (*.txt)|*.txt||";
    request.overwritePrompt = true;
    const auto path = prompt.ChooseFile(request);
    if (!path) return false;
    return ConvertTextLog(*path, prompt);
}

}  // namespace pelor::logs
