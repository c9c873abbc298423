#pragma once
// What a writer that replaces a file (a temporary file renamed over the old one) must know
// about the file it replaces, so that the replacement keeps what the user set:
//   - a symbolic link is written through: the file at the end of the link chain is replaced,
//     the link stays a link;
//   - the new file gets the old file's permission bits (and its owner and group, where the
//     system lets us);
//   - a file the user may not write is not replaced at all.
// Every writer that replaces a file goes through OpenReplacement and FinishReplacement (or
// ReplaceFile for a file written in one go), so that these rules hold for all of them.
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace pelor::core {

struct ReplaceTarget {
    std::string path;     // the file the rename replaces: `path` with every link followed
    bool exists = false;  // false: a new file is made (permissions from the umask)
    unsigned mode = 0;    // permission bits of the existing file
    unsigned owner = 0;
    unsigned group = 0;
};

// False when `path` names an existing file that this user may not write: one without any
// write permission bit (refused even where the system would let an administrator write it)
// or one the system says we may not write.
bool MayWrite(const std::string& path);

// Follows the links of `path` to the file a replacement must take the place of. Empty when
// that file exists and MayWrite refuses it, or when the link chain is too long.
std::optional<ReplaceTarget> ResolveReplaceTarget(const std::string& path);

// The temporary file beside the target ("<target>.tmp~").
std::string TemporaryPathFor(const ReplaceTarget& target);

// Gives the open temporary file `fd` the target's permissions (owner and group best effort).
// Nothing to do for a new file. False when the permissions could not be set.
bool KeepAttributes(int fd, const ReplaceTarget& target);

// A replacement under way: the temporary file being written and the file it will replace.
struct Replacement {
    std::string temp;    // TemporaryPathFor(target)
    std::string target;  // ReplaceTarget::path
};

// Opens the temporary file for `path` for writing ("wb") with the target's permissions and
// fills `replacement`. Null when the target is refused (ResolveReplaceTarget), or the
// temporary file cannot be made or given the permissions (nothing is then left behind).
std::FILE* OpenReplacement(const std::string& path, Replacement& replacement);

// After the caller has closed the temporary file's stream: renames it over the target when
// `written` (everything was written and the close succeeded), otherwise removes it and leaves
// the target as it was. True when the target now holds the new content.
bool FinishReplacement(const Replacement& replacement, bool written);

// Replaces the file at `path` in one go: `write` fills the temporary file's stream and says
// whether it succeeded; the file is renamed over the target only when `write`, the flush and
// the close all succeeded. False when anything failed; the target is then as it was.
bool ReplaceFile(const std::string& path, const std::function<bool(std::FILE*)>& write);

}  // namespace pelor::core
