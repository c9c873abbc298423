#pragma once
// Text files that behave on disk exactly like the unit tools' text mode: every "\n" written
// goes to disk as "\r\n", every "\r\n" read comes back as "\n", and a lone "\r" passes
// unchanged both ways. Lines are read like a C line read with a fixed buffer: a line longer
// than the buffer is split and its rest comes back as the next line.
#include <cstddef>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "core/replace_target.h"

namespace pelor::core {

// The text-mode write every text writer uses: `text` goes to `file` with each "\n" turned
// into "\r\n" (a lone "\r" passes unchanged). False when a write failed.
bool WriteTextMode(std::FILE* file, std::string_view text);

class TextFile {
public:
    enum class Mode {
        Read,       // existing file, reading
        Write,      // create or truncate, writing
        ReadWrite,  // existing file, reading and writing without truncation
        Append,     // create or extend, writing at the end
        Replace,    // write a temporary file beside the target; Close() renames it over the
                    // target (through any symbolic link, keeping the old file's permissions;
                    // a file the user may not write is refused)
    };

    TextFile() = default;
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;
    TextFile(TextFile&& other) noexcept;
    TextFile& operator=(TextFile&& other) noexcept;
    ~TextFile();

    bool Open(const std::string& path, Mode mode);
    // Reads `bytes` as a file's content, through the same reading code as Open(path, Read):
    // for checks and fuzzing that need no file system. The bytes must outlive the reading;
    // Path() is `name`.
    bool OpenMemory(std::string_view bytes, const std::string& name = "(memory)");
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& Path() const { return path_; }

    // Reads one line into `line` as a read with a buffer of `bufferSize` bytes would: at most
    // bufferSize - 1 characters, ending after the first "\n" (translated) if it comes first.
    // Returns false when nothing could be read (end of file or a read error; see HasError).
    bool ReadLine(std::string& line, std::size_t bufferSize);

    // Reads up to `size` bytes as they are on disk (no line-end translation), for readers that
    // cut lines themselves. Returns the count; less than `size` at the end or on a read error.
    std::size_t ReadBlock(char* out, std::size_t size);

    // Writes `text`, turning each "\n" into "\r\n". Returns false once the stream has failed.
    bool Write(std::string_view text);

    // Full buffering with a buffer of `size` bytes; must come before the first read or write.
    bool SetBuffer(std::size_t size);

    // Repositions at the current position (needed between reading and writing an update).
    bool SeekCurrent();

    bool HasError() const;
    bool AtEnd() const;

    // Flushes and closes. In Replace mode a clean close renames the temporary file over the
    // target; any earlier error discards it and leaves the target as it was. Returns false
    // when the close, the flush or the rename failed, or the stream had failed before.
    bool Close();

    // Closes without keeping anything written in Replace mode.
    void Abandon();

private:
    // Lines of a file opened for reading, and of memory, are cut from a block read ahead
    // rather than character by character; the other modes read through the stream.
    bool Refill();
    bool ReadLineAhead(std::string& line, std::size_t limit);
    void ResetAhead();

    std::FILE* file_ = nullptr;
    std::string path_;
    Replacement replacement_;         // Replace mode: the temporary file and the file it replaces
    std::unique_ptr<char[]> buffer_;  // set by SetBuffer; freed only after the stream is closed
    bool failed_ = false;
    bool lastWasWrite_ = false;
    bool readAhead_ = false;              // Read mode or memory
    bool memory_ = false;                 // the bytes are all in aheadData_; the stream is unused
    std::unique_ptr<char[]> aheadBlock_;  // Read mode: the block read ahead
    const char* aheadData_ = nullptr;
    std::size_t aheadPos_ = 0;
    std::size_t aheadEnd_ = 0;
};

// Named contents that opening a file for reading takes in place of the file system: while a
// table is lent, Open(path, Read) reads the entry named `path` exactly and fails for any other
// path, as for a missing file; the other modes are not affected. For checks and fuzzing of
// whole start-up, which finds its files by name, without writing them to disk for each input.
// The table must outlive the lending; nullptr ends it. Lend only while no other thread reads.
using LentFiles = std::map<std::string, std::string, std::less<>>;
void LendFiles(const LentFiles* files);

// The bounded line lengths the unit's file formats are read with (buffer sizes in bytes).
inline constexpr std::size_t kTableLineBuffer = 80;
inline constexpr std::size_t kProjectLineBuffer = 255;
inline constexpr std::size_t kThemeLineBuffer = 599;

}  // namespace pelor::core
