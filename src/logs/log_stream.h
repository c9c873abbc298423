#pragma once
// The open capture log: a C stream with a small fully buffered buffer, written in text mode
// (every "\n" reaches the disk as "\r\n", a lone "\r" passes unchanged) or in binary mode.
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace pelor::logs {

class LogStream {
public:
    enum class Open { Append, Truncate };

    LogStream() = default;
    LogStream(const LogStream&) = delete;
    LogStream& operator=(const LogStream&) = delete;
    ~LogStream();

    bool OpenFile(const std::string& path, Open how, bool text);
    bool IsOpen() const { return file_ != nullptr; }
    // Full buffering with `size` bytes; before the first write.
    bool SetBuffer(std::size_t size);
    // Text mode turns "\n" into "\r\n". False once the stream has failed.
    bool Write(std::string_view data);
    // Pushes buffered bytes to the file; false on a write error.
    bool Flush();
    bool HasError() const;
    // Flushes and closes; false when anything failed. The stream is closed either way.
    bool Close();
    // After a failed write: drops what is still buffered and closes; false when the close
    // itself failed.
    bool Discard();

private:
    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    bool text_ = true;
    bool failed_ = false;
};

}  // namespace pelor::logs
