#pragma once
// A scratch directory per test, removed afterwards, and the working directory restored.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "file_bytes.h"
#include "temp_dir.h"

namespace pelor::tables::testing {

class ScratchDir {
public:
    ScratchDir() {
        path_ = pelor::testing::MakeTempDir("pelor-tables");
        dir_ = path_ + "/";
        char cwd[4096];
        if (::getcwd(cwd, sizeof cwd) != nullptr) cwd_ = cwd;
    }
    ~ScratchDir() {
        if (!cwd_.empty()) (void)::chdir(cwd_.c_str());
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The directory with a trailing "/".
    const std::string& Dir() const { return dir_; }
    std::string Path(const std::string& name) const { return dir_ + name; }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(Path(name), std::ios::binary);
        out << bytes;
    }
    std::string Read(const std::string& name) const { return ReadBytes(Path(name)); }

    static std::string ReadBytes(const std::string& path) {
        return pelor::testing::ReadBytes(path);
    }

private:
    std::string path_;
    std::string dir_;
    std::string cwd_;
};

inline std::string WorkingDirectory() {
    char cwd[4096];
    return ::getcwd(cwd, sizeof cwd) != nullptr ? std::string(cwd) : std::string();
}

}  // namespace pelor::tables::testing
