#pragma once
// The table source format shared by every configuration table of the unit:
//
//   [TABLE][6800][8][128]            header: address (4 hex digits), entry width, entry count
//   db 'ENG TEMP' ; 0                text entry: characters 4..11 are the entry's 8 bytes
//   db %05; NumOfPages ...           byte entry: characters 4..5 are two hex digits
//
// Entry i of a file is line i + 1. Text entries land at destination + 8 i, byte entries at
// destination + i, so one file may mix both kinds. Lines are read with an 80-byte buffer; a
// longer line is split and its rest read as a further line. On disk every line ends in CR LF;
// readers also take files with bare LF ends.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "core/hex.h"
#include "core/prompt.h"
#include "core/text_file.h"

namespace pelor::tables {

using core::HexDigitValue;
using core::HexDigitValueAnyCase;

// The open dialog the start-up reader shows for a table file.
inline constexpr const char* kTableOpenFilter =
    "Text Files (*.txt)|*.txt|CSV Files (*.csv)|*.csv|HTM Web Log Files (*.htm)|*.htm|N2K Log "
    "Files (*.ebl)|*.ebl||";

// Start-up reader. Reads projectDir + name into `destination` (never beyond its end); with
// askUser an open dialog comes first. Returns the file name finally used: the caller keeps it
// as the table's name. Every failure is reported through `prompt`; entries read before a bad
// line stay stored. `what` names the table in the dialog's title ("display labels").
std::string LoadTableFile(core::Prompt& prompt, const std::string& projectDir,
                          const std::string& name, std::span<std::uint8_t> destination,
                          bool askUser, std::string_view what = {});

// The reading half of LoadTableFile, from a file already open (also one read from memory);
// `fileName` names it in messages, `shownPath` (when given) on a line under them. Closes the
// file.
std::string ReadTableEntries(core::Prompt& prompt, core::TextFile& file,
                             const std::string& fileName, std::span<std::uint8_t> destination,
                             const std::string& shownPath = {});

// Editors' reader: skips `skip` entry lines after the header, then reads exactly `count` byte
// entries (either case of hex digits) into destination[0..count-1]. When the file ends early
// the last line read stands for every missing line. count must not exceed destination.size().
bool ReadByteEntries(core::Prompt& prompt, const std::string& path, int skip, int count,
                     std::span<std::uint8_t> destination);
// The same from a file already open (its Path() names it in messages). Closes the file.
bool ReadByteEntries(core::Prompt& prompt, core::TextFile& file, int skip, int count,
                     std::span<std::uint8_t> destination);

// The bare file name of a path ("/a/b/c.txt" -> "c.txt").
std::string BareFileName(std::string_view path);

// "<path> is not in the project folder <dir> ..." when a chosen file lies elsewhere, else "".
std::string OutsideProjectFolder(const std::string& chosenPath, const std::string& directory);

// One byte entry line: "db %" + two upper-case hex digits + `comment` (which the caller
// formats, starting with ";" and ending with the template's blank and "\n").
std::string ByteEntryLine(std::uint8_t value, std::string_view comment);

// The frame every table writer shares: name check, open (a temporary file renamed over the
// target on a clean close), 100-byte buffer, header, lines, the messages of each failure.
class TableWriter {
public:
    struct Texts {
        std::string emptyNameCaption = "Error";
        std::string openFailure = "Could not Open File";
        std::string closeFailure = "Could not Close File";
    };

    explicit TableWriter(core::Prompt& prompt) : prompt_(prompt) {}
    TableWriter(core::Prompt& prompt, Texts texts) : prompt_(prompt), texts_(std::move(texts)) {}

    // Checks the name, opens directory + name and writes `header` (a whole line with "\n").
    bool Begin(const std::string& directory, const std::string& name, std::string_view header);
    // Writes one whole line. On the first failure reports "Error Writing to file" (or
    // `failureText`), drops the file and returns false; later calls do nothing.
    bool Line(std::string_view line, std::string_view failureText = "Error Writing to file");
    // Closes; the target is replaced only now. With `announce`, "File Saved" follows.
    bool Finish(bool announce);
    // Drops what was written; the target stays as it was.
    void Abandon() { file_.Abandon(); }

    const std::string& Path() const { return path_; }
    bool Failed() const { return failed_; }

private:
    core::Prompt& prompt_;
    Texts texts_;
    core::TextFile file_;
    std::string path_;
    bool failed_ = false;
};

// Rewrites the entry lines firstEntry .. firstEntry + lines.size() - 1 of an existing byte
// table file in place. Every line of the file up to the end of the section must have the
// length `expectedLength(entry)` (entry -1 is the header) and end in CR LF, which is what the
// full writer produces; any other file is refused with a message and left untouched.
bool UpdateByteSection(core::Prompt& prompt, const std::string& directory, const std::string& name,
                       int firstEntry, std::span<const std::string> lines,
                       const std::function<std::size_t(int entry)>& expectedLength);

}  // namespace pelor::tables
