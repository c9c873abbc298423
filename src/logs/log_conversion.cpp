#include "logs/log_conversion.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/format.h"
#include "core/hex.h"
#include "core/text_file.h"
#include "decode/channel_store.h"

namespace pelor::logs {
namespace {

constexpr std::size_t kFirstSentence = 22;
constexpr std::size_t kSentenceWidth = 33;
constexpr int kSentences = 16;
// Every column a row reads lies within the first kRowWidth characters of its line.
constexpr std::size_t kRowWidth = kFirstSentence + kSentenceWidth * kSentences;
static_assert(kFirstSentence + kSentenceWidth * (kSentences - 1) + 16 < kRowWidth);
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
    // A line shorter than a whole row reads as blanks past its end: it is padded once, so
    // that the columns below are read without a bounds check each.
    std::array<char, kRowWidth> padded;
    const char* text = line.data();
    if (line.size() < kRowWidth) {
        if (!line.empty()) std::memcpy(padded.data(), line.data(), line.size());
        std::memset(padded.data() + line.size(), ' ', kRowWidth - line.size());
        text = padded.data();
    }
    // The row is built in place: at most 1 + 18 + 7 + 16 * 11 + 2 characters.
    char row[256];
    char* w = row;
    const auto at = [text](std::size_t i) { return text[i]; };
    const auto pair = [&](std::size_t i) {
        *w++ = at(i);
        *w++ = at(i + 1);
    };
    *w++ = ' ';
    pair(4);
    *w++ = '/';
    pair(6);
    *w++ = '/';
    pair(2);
    *w++ = ',';
    pair(8);
    *w++ = ':';
    pair(10);
    *w++ = ':';
    pair(12);
    *w++ = ',';
    for (std::size_t i = 15; i < 21; ++i) {
        const char c = at(i);
        if (c != '#') *w++ = c;
    }
    *w++ = ',';
    for (int s = 0; s < kSentences; ++s) {
        const std::size_t base = kFirstSentence + kSentenceWidth * static_cast<std::size_t>(s);
        for (std::size_t i = 9; i < 15; ++i) {
            const char c = at(base + i);
            *w++ = c == '#' ? ' ' : c;
        }
        // ",%3.3d," of the level 0..255.
        const int level = core::HexPairValue(at(base + 15), at(base + 16));
        *w++ = ',';
        *w++ = static_cast<char>('0' + level / 100);
        *w++ = static_cast<char>('0' + level / 10 % 10);
        *w++ = static_cast<char>('0' + level % 10);
        *w++ = ',';
    }
    *w++ = ',';
    *w++ = '\n';
    out.append(row, static_cast<std::size_t>(w - row));
}

namespace {

// Cuts the input into the lines a text-mode line read with a buffer of kConversionLineBuffer
// bytes gives: "\r\n" reads as "\n", a lone "\r" stays, and a line of more than 599 characters
// comes in pieces of 599. The input is read in large blocks rather than a character at a time;
// each line is handed on without its "\n".
class LineCutter {
public:
    explicit LineCutter(core::TextFile& in)
        : in_(in), buffer_(new char[kBlock + kLimit + 1]), size_(kBlock + kLimit + 1) {}

    // The next line; false at the end of the input (or after a read error: see Failed).
    bool Next(std::string_view& line) {
        for (;;) {
            const std::size_t available = end_ - pos_;
            const char* start = buffer_.get() + pos_;
            const std::size_t look = std::min(available, kLimit + 1);
            const auto* nl = static_cast<const char*>(std::memchr(start, '\n', look));
            if (nl != nullptr) {
                const std::size_t k = static_cast<std::size_t>(nl - start);
                const bool crlf = k > 0 && start[k - 1] == '\r';
                if (k < kLimit || crlf) {
                    // A whole line of at most 599 characters ("\r\n" counting as one).
                    line = std::string_view(start, crlf ? k - 1 : k);
                    pos_ += k + 1;
                    return true;
                }
            }
            if (available > kLimit || (nl != nullptr)) {
                // 599 characters with more of the same line after them.
                line = std::string_view(start, kLimit);
                pos_ += kLimit;
                return true;
            }
            if (atEnd_) {
                if (available == 0) return false;
                line = std::string_view(start, available);
                pos_ = end_;
                return true;
            }
            Refill();
        }
    }
    bool Failed() const { return in_.HasError(); }

private:
    static constexpr std::size_t kBlock = std::size_t{64} * 1024;
    static constexpr std::size_t kLimit = kConversionLineBuffer - 1;

    void Refill() {
        const std::size_t rest = end_ - pos_;
        if (pos_ > 0 && rest > 0) std::memmove(buffer_.get(), buffer_.get() + pos_, rest);
        pos_ = 0;
        end_ = rest;
        const std::size_t want = size_ - end_;
        const std::size_t got = in_.ReadBlock(buffer_.get() + end_, want);
        end_ += got;
        if (got < want) atEnd_ = true;
    }

    core::TextFile& in_;
    std::unique_ptr<char[]> buffer_;  // not cleared: only what was read is looked at
    std::size_t size_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
};

}  // namespace

ConversionResult ConvertTextLog(core::TextFile& in, core::TextFile& out) {
    ConversionResult r{false, "", "Error"};
    if (!out.SetBuffer(kOutputBuffer)) {
        r.message = "Could not set buffer to 0";
        return r;
    }
    LineCutter lines(in);
    std::string_view line;
    std::string text;
    text.reserve(kOutputBuffer + 512);
    if (!lines.Next(line)) {
        r.message = "Error Reading from file";
        out.Abandon();
        return r;
    }
    AppendConvertedHeader(text, line);
    while (lines.Next(line)) {
        AppendConvertedRow(text, line);
        if (text.size() >= kOutputBuffer) {
            if (!out.Write(text)) break;
            text.clear();
        }
    }
    if (lines.Failed()) {
        r.message = "Error Reading from file";
        out.Abandon();
        return r;
    }
    if (!out.Write(text) || !out.Close()) {
        r.message = "Error Writing to file";
        out.Abandon();
        return r;
    }
    r.ok = true;
    r.message = "File Converted";
    r.caption = "Status";
    return r;
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
    return ConvertTextLog(in, out);
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
