#pragma once
// Whether two paths name one file, for a file that may not exist yet.
#include <string>

namespace pelor::core {

// True when `a` and `b` are the same file (links and "." or ".." followed). A path that does
// not exist yet (a name typed into a chooser) is compared by its normalised form.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace pelor::core
