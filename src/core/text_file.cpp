#include "core/text_file.h"

#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "core/replace_target.h"

namespace pelor::core {

namespace {

constexpr std::size_t kAheadSize = 4096;

const LentFiles* g_lentFiles = nullptr;

}  // namespace

TextFile::TextFile(TextFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      path_(std::move(other.path_)),
      replacement_(std::exchange(other.replacement_, {})),
      buffer_(std::move(other.buffer_)),
      failed_(other.failed_),
      lastWasWrite_(other.lastWasWrite_),
      readAhead_(other.readAhead_),
      memory_(other.memory_),
      aheadBlock_(std::move(other.aheadBlock_)),
      aheadData_(std::exchange(other.aheadData_, nullptr)),
      aheadPos_(std::exchange(other.aheadPos_, 0)),
      aheadEnd_(std::exchange(other.aheadEnd_, 0)) {
    other.readAhead_ = false;
    other.memory_ = false;
}

TextFile& TextFile::operator=(TextFile&& other) noexcept {
    if (this != &other) {
        Abandon();
        file_ = std::exchange(other.file_, nullptr);
        buffer_ = std::move(other.buffer_);
        path_ = std::move(other.path_);
        replacement_ = std::exchange(other.replacement_, {});
        failed_ = other.failed_;
        lastWasWrite_ = other.lastWasWrite_;
        readAhead_ = std::exchange(other.readAhead_, false);
        memory_ = std::exchange(other.memory_, false);
        aheadBlock_ = std::move(other.aheadBlock_);
        aheadData_ = std::exchange(other.aheadData_, nullptr);
        aheadPos_ = std::exchange(other.aheadPos_, 0);
        aheadEnd_ = std::exchange(other.aheadEnd_, 0);
    }
    return *this;
}

TextFile::~TextFile() {
    // A file never closed explicitly keeps what was written, except an unfinished replacement.
    if (!replacement_.temp.empty()) {
        Abandon();
    } else if (file_ != nullptr) {
        std::fclose(file_);
    }
}

bool WriteTextMode(std::FILE* file, std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t nl = text.find('\n', start);
        const std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        if (end > start && std::fwrite(text.data() + start, 1, end - start, file) != end - start) {
            return false;
        }
        if (nl == std::string_view::npos) break;
        if (std::fwrite("\r\n", 1, 2, file) != 2) return false;
        start = nl + 1;
    }
    return true;
}

void LendFiles(const LentFiles* files) {
    g_lentFiles = files;
}

bool TextFile::Open(const std::string& path, Mode mode) {
    if (mode == Mode::Read && g_lentFiles != nullptr) {
        const auto lent = g_lentFiles->find(path);
        if (lent != g_lentFiles->end()) return OpenMemory(lent->second, path);
        Abandon();
        path_ = path;
        return false;
    }
    Abandon();
    path_ = path;
    failed_ = false;
    lastWasWrite_ = false;
    const char* how = "rb";
    switch (mode) {
        case Mode::Read:
            how = "rb";
            break;
        case Mode::Write:
            how = "wb";
            break;
        case Mode::ReadWrite:
            how = "r+b";
            break;
        case Mode::Append:
            how = "ab";
            break;
        case Mode::Replace:
            // A link is written through and the new file keeps the old one's permissions; a
            // file the user may not write is refused like one that cannot be opened.
            file_ = OpenReplacement(path, replacement_);
            return file_ != nullptr;
    }
    file_ = std::fopen(path.c_str(), how);
    if (file_ == nullptr) return false;
    if (mode == Mode::Read) {
        readAhead_ = true;
        if (!aheadBlock_) aheadBlock_ = std::make_unique_for_overwrite<char[]>(kAheadSize);
        aheadData_ = aheadBlock_.get();
    }
    return true;
}

bool TextFile::OpenMemory(std::string_view bytes, const std::string& name) {
    Abandon();
    path_ = name;
    failed_ = false;
    lastWasWrite_ = false;
    // A read-only memory stream never writes through the pointer.
    static char empty = 0;
    char* data = bytes.empty() ? &empty : const_cast<char*>(bytes.data());
    file_ = ::fmemopen(data, bytes.size(), "rb");
    if (file_ == nullptr) return false;
    readAhead_ = true;
    memory_ = true;
    aheadData_ = data;
    aheadEnd_ = bytes.size();
    return true;
}

void TextFile::ResetAhead() {
    readAhead_ = false;
    memory_ = false;
    aheadData_ = nullptr;
    aheadPos_ = 0;
    aheadEnd_ = 0;
}

bool TextFile::Refill() {
    if (memory_ || file_ == nullptr) return false;
    aheadPos_ = 0;
    aheadEnd_ = std::fread(aheadBlock_.get(), 1, kAheadSize, file_);
    if (aheadEnd_ == 0 && std::ferror(file_)) failed_ = true;
    return aheadEnd_ > 0;
}

bool TextFile::ReadLineAhead(std::string& line, std::size_t limit) {
    while (line.size() < limit) {
        if (aheadPos_ == aheadEnd_ && !Refill()) break;
        const char* from = aheadData_ + aheadPos_;
        const std::size_t window = std::min(aheadEnd_ - aheadPos_, limit - line.size());
        // The first line end in the window, "\r" or "\n", whichever comes first.
        const char* end = static_cast<const char*>(std::memchr(from, '\n', window));
        const std::size_t before = end == nullptr ? window : static_cast<std::size_t>(end - from);
        const char* cr = static_cast<const char*>(std::memchr(from, '\r', before));
        if (cr != nullptr) end = cr;
        if (end == nullptr) {
            line.append(from, window);
            aheadPos_ += window;
            continue;
        }
        line.append(from, static_cast<std::size_t>(end - from));
        aheadPos_ += static_cast<std::size_t>(end - from) + 1;
        if (*end == '\n') {
            line.push_back('\n');
            break;
        }
        // A "\r" followed by "\n" reads as one "\n"; a lone one stays.
        if (aheadPos_ == aheadEnd_) Refill();
        if (aheadPos_ < aheadEnd_ && aheadData_[aheadPos_] == '\n') {
            ++aheadPos_;
            line.push_back('\n');
            break;
        }
        line.push_back('\r');
    }
    if (failed_) return false;
    return !line.empty();
}

bool TextFile::ReadLine(std::string& line, std::size_t bufferSize) {
    line.clear();
    if (file_ == nullptr || bufferSize < 2) return false;
    if (lastWasWrite_) {
        std::fseek(file_, 0, SEEK_CUR);
        lastWasWrite_ = false;
    }
    const std::size_t limit = bufferSize - 1;
    if (readAhead_) return ReadLineAhead(line, limit);
    while (line.size() < limit) {
        int c = std::getc(file_);
        if (c == EOF) break;
        if (c == '\r') {
            int next = std::getc(file_);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file_);
            }
        }
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    if (std::ferror(file_)) {
        failed_ = true;
        return false;
    }
    return !line.empty();
}

std::size_t TextFile::ReadBlock(char* out, std::size_t size) {
    if (file_ == nullptr || size == 0) return 0;
    if (readAhead_) {
        const std::size_t kept = std::min(size, aheadEnd_ - aheadPos_);
        if (kept > 0) std::memcpy(out, aheadData_ + aheadPos_, kept);
        aheadPos_ += kept;
        if (kept == size || memory_) return kept;
        const std::size_t n = std::fread(out + kept, 1, size - kept, file_);
        if (n < size - kept && std::ferror(file_)) failed_ = true;
        return kept + n;
    }
    if (lastWasWrite_) {
        std::fseek(file_, 0, SEEK_CUR);
        lastWasWrite_ = false;
    }
    const std::size_t n = std::fread(out, 1, size, file_);
    if (n < size && std::ferror(file_)) failed_ = true;
    return n;
}

bool TextFile::Write(std::string_view text) {
    if (file_ == nullptr) return false;
    if (failed_) return false;
    lastWasWrite_ = true;
    if (!WriteTextMode(file_, text) || std::ferror(file_)) failed_ = true;
    return !failed_;
}

bool TextFile::SetBuffer(std::size_t size) {
    if (file_ == nullptr) return false;
    // The buffer is our own: the C library would otherwise pick its own size.
    std::unique_ptr<char[]> buffer(new char[size]);  // the stream fills it; no need to clear
    if (std::setvbuf(file_, buffer.get(), _IOFBF, size) != 0) return false;
    buffer_ = std::move(buffer);
    return true;
}

bool TextFile::SeekCurrent() {
    if (file_ == nullptr) return false;
    lastWasWrite_ = false;
    return std::fseek(file_, 0, SEEK_CUR) == 0;
}

bool TextFile::HasError() const {
    return failed_ || (file_ != nullptr && std::ferror(file_) != 0);
}

bool TextFile::AtEnd() const {
    if (file_ == nullptr) return true;
    if (readAhead_) return aheadPos_ == aheadEnd_ && (memory_ || std::feof(file_) != 0);
    return std::feof(file_) != 0;
}

bool TextFile::Close() {
    if (file_ == nullptr) return false;
    bool ok = !HasError();
    if (std::fflush(file_) != 0) ok = false;
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    ResetAhead();
    if (!replacement_.temp.empty()) {
        ok = FinishReplacement(std::exchange(replacement_, {}), ok);
    }
    return ok;
}

void TextFile::Abandon() {
    ResetAhead();
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!replacement_.temp.empty()) FinishReplacement(std::exchange(replacement_, {}), false);
}

}  // namespace pelor::core
