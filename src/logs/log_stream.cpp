#include "logs/log_stream.h"

#include <stdio_ext.h>

#include "core/text_file.h"

namespace pelor::logs {

LogStream::~LogStream() {
    Close();
}

bool LogStream::OpenFile(const std::string& path, Open how, bool text) {
    Close();
    file_ = std::fopen(path.c_str(), how == Open::Append ? "ab" : "wb");
    text_ = text;
    failed_ = false;
    return file_ != nullptr;
}

bool LogStream::SetBuffer(std::size_t size) {
    if (file_ == nullptr) return false;
    auto buffer = std::make_unique<char[]>(size);
    if (std::setvbuf(file_, buffer.get(), _IOFBF, size) != 0) return false;
    buffer_ = std::move(buffer);
    return true;
}

bool LogStream::Write(std::string_view data) {
    if (file_ == nullptr || failed_) return false;
    if (!text_) {
        if (!data.empty() && std::fwrite(data.data(), 1, data.size(), file_) != data.size()) {
            failed_ = true;
        }
        return !failed_;
    }
    if (!core::WriteTextMode(file_, data)) failed_ = true;
    return !failed_;
}

bool LogStream::Flush() {
    if (file_ == nullptr) return false;
    if (std::fflush(file_) != 0) failed_ = true;
    return !failed_;
}

bool LogStream::HasError() const {
    return failed_ || (file_ != nullptr && std::ferror(file_));
}

bool LogStream::Close() {
    if (file_ == nullptr) return true;
    bool ok = !HasError();
    if (std::fflush(file_) != 0) ok = false;
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    buffer_.reset();  // only after the stream that used it is gone
    failed_ = false;
    return ok;
}

bool LogStream::Discard() {
    if (file_ == nullptr) return true;
    __fpurge(file_);
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    buffer_.reset();
    failed_ = false;
    return ok;
}

}  // namespace pelor::logs
