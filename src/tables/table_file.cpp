#include "tables/table_file.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

#include "core/format.h"
#include "core/replace_target.h"

namespace pelor::tables {
namespace {

constexpr std::string_view kHeaderMark = "[TABLE]";
constexpr std::size_t kWriteBuffer = 100;

bool StartsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// The chooser's title says which table is asked for, and which file was not found when the
// project named one.
std::optional<std::string> ChooseTableFile(core::Prompt& prompt, const std::string& name,
                                           std::string_view what, bool named) {
    core::FileDialogRequest request;
    request.open = true;
    request.title = "Select the " + std::string(what.empty() ? "table" : what) + " file";
    if (named) request.title += " (" + name + " could not be opened)";
    request.defaultExtension = "txt";
    request.initialName = name;
    request.filter = kTableOpenFilter;
    request.pathMustExist = true;
    auto chosen = prompt.ChooseFile(request);
    if (!chosen) return std::nullopt;
    return BareFileName(*chosen);
}

// Characters 4..11 of a text entry; a line that ends early gives blanks for what it lacks.
void StoreTextEntry(std::string_view line, std::uint8_t* out) {
    std::string_view body = line;
    while (!body.empty() && (body.back() == '\n')) body.remove_suffix(1);
    for (std::size_t k = 0; k < 8; ++k) {
        const std::size_t at = 4 + k;
        out[k] = at < body.size() ? static_cast<std::uint8_t>(body[at]) : std::uint8_t{' '};
    }
}

std::uint8_t ByteEntryValue(std::string_view line, int (*digit)(char)) {
    const int high = line.size() > 4 ? digit(line[4]) : 0;
    const int low = line.size() > 5 ? digit(line[5]) : 0;
    return static_cast<std::uint8_t>(high * 16 + low);
}

int StrictDigit(char c) {
    return core::HexDigitValue(c);
}
int AnyCaseDigit(char c) {
    return core::HexDigitValueAnyCase(c);
}

}  // namespace

std::string BareFileName(std::string_view path) {
    const auto slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string OutsideProjectFolder(const std::string& chosenPath, const std::string& directory) {
    const auto slash = chosenPath.find_last_of('/');
    if (slash == std::string::npos) return {};
    const std::string folder = chosenPath.substr(0, slash + 1);
    if (folder == directory) return {};
    return core::Format(
        "%s is not in the project folder %s. Table files are kept in the project folder: "
        "choose or name the file there.",
        chosenPath.c_str(), directory.c_str());
}

std::string ByteEntryLine(std::uint8_t value, std::string_view comment) {
    std::string line = core::Format("db %%%02X", static_cast<unsigned>(value));
    line.append(comment);
    return line;
}

std::string LoadTableFile(core::Prompt& prompt, const std::string& projectDir,
                          const std::string& name, std::span<std::uint8_t> destination,
                          bool askUser, std::string_view what) {
    std::string fileName = name;
    if (askUser) {
        auto chosen = ChooseTableFile(prompt, fileName, what, false);
        if (!chosen) return fileName;
        fileName = *chosen;
    }

    core::TextFile file;
    if (!file.Open(projectDir + fileName, core::TextFile::Mode::Read)) {
        auto chosen = ChooseTableFile(prompt, fileName, what, true);
        if (!chosen) return fileName;
        fileName = *chosen;
        if (!file.Open(projectDir + fileName, core::TextFile::Mode::Read)) {
            prompt.Message(fileName, "Error");
            return fileName;
        }
    }

    return ReadTableEntries(prompt, file, fileName, destination, projectDir + fileName);
}

std::string ReadTableEntries(core::Prompt& prompt, core::TextFile& file,
                             const std::string& fileName, std::span<std::uint8_t> destination,
                             const std::string& shownPath) {
    std::string line;
    line.reserve(core::kTableLineBuffer);
    if (!file.ReadLine(line, core::kTableLineBuffer)) {
        prompt.MessageWithDetail("Error Reading from file",
                                 shownPath.empty() ? fileName : shownPath, "Error");
        file.Close();
        return fileName;
    }
    if (line.find(kHeaderMark) == std::string::npos) {
        prompt.Message(core::Format("Wrong File Format - [TABLE] %s", fileName.c_str()), "Error");
        file.Close();
        return fileName;
    }

    const std::size_t capacity = destination.size();
    for (std::size_t i = 0;; ++i) {
        if (!file.ReadLine(line, core::kTableLineBuffer)) {
            if (file.HasError()) {
                prompt.Message(core::Format("Error Reading from file %s", fileName.c_str()),
                               "Error");
                file.Close();
                return fileName;
            }
            break;  // end of file
        }
        if (StartsWith(line, "db '")) {
            if (i < capacity / 8) StoreTextEntry(line, destination.data() + 8 * i);
        } else if (StartsWith(line, "db %")) {
            if (i < capacity) destination[i] = ByteEntryValue(line, StrictDigit);
        } else {
            prompt.Message(core::Format("Error Format must be db '########' %s  Line %d \n\r %s",
                                        fileName.c_str(), static_cast<int>(i), line.c_str()),
                           "Error");
            file.Close();
            return fileName;
        }
    }
    file.Close();
    return fileName;
}

bool ReadByteEntries(core::Prompt& prompt, const std::string& path, int skip, int count,
                     std::span<std::uint8_t> destination) {
    core::TextFile file;
    if (!file.Open(path, core::TextFile::Mode::Read)) {
        prompt.Message(core::Format("Could not Open %s", path.c_str()), "Error");
        return false;
    }
    return ReadByteEntries(prompt, file, skip, count, destination);
}

bool ReadByteEntries(core::Prompt& prompt, core::TextFile& file, int skip, int count,
                     std::span<std::uint8_t> destination) {
    const std::string& path = file.Path();
    std::string line;
    line.reserve(core::kTableLineBuffer);
    if (!file.ReadLine(line, core::kTableLineBuffer)) {
        prompt.MessageWithDetail("Error Reading from file", path, "Error");
        file.Close();
        return false;
    }
    if (line.find(kHeaderMark) == std::string::npos) {
        prompt.Message(core::Format("Wrong File Format - [TABLE] %s", path.c_str()), "Error");
        file.Close();
        return false;
    }
    // `last` is the most recent line read; past the end of the file it stands for the rest.
    std::string last = line;
    auto next = [&]() -> bool {
        if (file.ReadLine(line, core::kTableLineBuffer)) {
            last.swap(line);
            return true;
        }
        if (file.HasError()) {
            prompt.Message(core::Format("Error Reading from file %s", path.c_str()), "Error");
            file.Close();
            return false;
        }
        return true;
    };
    for (int k = 0; k < skip; ++k) {
        if (!next()) return false;
    }
    const std::size_t wanted =
        count < 0 ? 0 : std::min(static_cast<std::size_t>(count), destination.size());
    for (std::size_t k = 0; k < wanted; ++k) {
        if (!next()) return false;
        if (!StartsWith(last, "db %")) {
            prompt.Message("Error Format must be db ' " + path, "Error");
            file.Close();
            return false;
        }
        destination[k] = ByteEntryValue(last, AnyCaseDigit);
    }
    file.Close();
    return true;
}

bool TableWriter::Begin(const std::string& directory, const std::string& name,
                        std::string_view header) {
    failed_ = true;
    if (name.empty()) {
        prompt_.Message("Not a valid file name", texts_.emptyNameCaption);
        return false;
    }
    path_ = directory + name;
    if (!file_.Open(path_, core::TextFile::Mode::Replace)) {
        prompt_.Message(texts_.openFailure, "Error");
        return false;
    }
    if (!file_.SetBuffer(kWriteBuffer)) {
        prompt_.Message("Could not set buffer to 0", "Error");
        file_.Abandon();
        return false;
    }
    failed_ = false;
    return Line(header);
}

bool TableWriter::Line(std::string_view line, std::string_view failureText) {
    if (failed_) return false;
    if (!file_.Write(line) || file_.HasError()) {
        failed_ = true;
        prompt_.Message(failureText, "Error");
        // The temporary file is dropped: the table on disk stays as it was.
        file_.Abandon();
        return false;
    }
    return true;
}

bool TableWriter::Finish(bool announce) {
    if (failed_) return false;
    if (!file_.Close()) {
        failed_ = true;
        prompt_.Message(texts_.closeFailure, "Error");
        return false;
    }
    if (announce) prompt_.Message("File Saved", "Status");
    return true;
}

namespace {

// Checks the raw bytes of the file: every line up to entry lastEntry must have its template
// length and end in CR LF.
bool HasSavedLayout(const std::string& path, int lastEntry,
                    const std::function<std::size_t(int entry)>& expectedLength) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    bool ok = true;
    for (int entry = -1; ok && entry <= lastEntry; ++entry) {
        const std::size_t want = expectedLength(entry) + 1;  // + the carriage return
        std::size_t length = 0;
        int previous = 0;
        int c = 0;
        while ((c = std::getc(f)) != EOF) {
            ++length;
            if (c == '\n') break;
            previous = c;
            if (length > want) break;
        }
        ok = c == '\n' && previous == '\r' && length == want;
    }
    std::fclose(f);
    return ok;
}

}  // namespace

bool UpdateByteSection(core::Prompt& prompt, const std::string& directory, const std::string& name,
                       int firstEntry, std::span<const std::string> lines,
                       const std::function<std::size_t(int entry)>& expectedLength) {
    if (name.empty()) {
        prompt.Message("Not a valid file name", "Error");
        return false;
    }
    const std::string path = directory + name;
    core::TextFile file;
    // A file nobody may write is refused even where the system would let us write it.
    if (!core::MayWrite(path) || !file.Open(path, core::TextFile::Mode::ReadWrite)) {
        prompt.Message("Could not Open File", "Error");
        return false;
    }
    const int lastEntry = firstEntry + static_cast<int>(lines.size()) - 1;
    bool linesFit = firstEntry >= 0;
    for (std::size_t k = 0; linesFit && k < lines.size(); ++k) {
        linesFit = lines[k].size() == expectedLength(firstEntry + static_cast<int>(k));
    }
    if (!linesFit || !HasSavedLayout(path, lastEntry, expectedLength)) {
        prompt.Message(core::Format("Cannot update %s in place: its lines are not in the saved "
                                    "layout. Save the whole options file first.",
                                    name.c_str()),
                       "Error");
        file.Close();
        return false;
    }
    if (!file.SetBuffer(kWriteBuffer)) {
        prompt.Message("Could not set buffer to 0", "Error");
        file.Close();
        return false;
    }
    std::string line;
    for (int entry = -1; entry < firstEntry; ++entry) {
        if (!file.ReadLine(line, core::kTableLineBuffer)) {
            prompt.Message(core::Format("Error Reading from file %s", path.c_str()), "Error");
            file.Close();
            return false;
        }
    }
    file.SeekCurrent();
    for (const auto& l : lines) {
        if (!file.Write(l)) {
            prompt.Message("Error Writing to file", "Error");
            if (!file.Close()) prompt.Message("Could not Close File", "Error");
            return false;
        }
    }
    if (!file.Close()) {
        prompt.Message("Could not Close File", "Error");
        return false;
    }
    prompt.Message("File Saved", "Status");
    return true;
}

}  // namespace pelor::tables
