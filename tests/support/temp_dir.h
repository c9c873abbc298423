#pragma once
// Temporary folders for tests: made fresh under the system's temporary folder with a name of
// the caller's stem and six random characters, so that tests running side by side never share
// one.
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace pelor::testing {

// Makes "<tmp>/<stem>-XXXXXX" and returns its path (no trailing "/"), or "" when it cannot.
inline std::string MakeTempDir(std::string_view stem) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / (std::string(stem) + "-XXXXXX")).string();
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// A temporary folder removed with everything in it when this goes.
class TempDir {
public:
    explicit TempDir(std::string_view stem = "pelor-test") : dir_(MakeTempDir(stem)) {}
    ~TempDir() {
        std::error_code ec;
        if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, without a trailing "/"; "" when it could not be made.
    const std::string& Dir() const { return dir_; }
    // `name` inside the folder.
    std::string Path(std::string_view name) const { return dir_ + "/" + std::string(name); }

private:
    std::string dir_;
};

}  // namespace pelor::testing
