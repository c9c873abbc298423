#pragma once
// What a writer that replaces a file (a temporary file renamed over the old one) must know
// about the file it replaces, so that the replacement keeps what the user set:
//   - a symbolic link is written through: the file at the end of the link chain is replaced,
//     the link stays a link;
//   - the new file gets the old file's permission bits (and its owner and group, where the
//     system lets us);
//   - a file the user may not write is not replaced at all.
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

}  // namespace pelor::core
