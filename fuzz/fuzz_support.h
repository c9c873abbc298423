#pragma once
// A scratch folder per fuzzing process, where each input is written as a file for the file
// readers to open.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace pelor::fuzz {

// Made on first use, removed with everything in it when the process ends.
class Scratch {
public:
    // In memory (/dev/shm) where the machine has it: on a disk, rewriting the same few files
    // tens of thousands of times a minute costs more than the parsing being fuzzed.
    Scratch() {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/pelor-fuzz-XXXXXX";
            if (::mkdtemp(pattern.data()) != nullptr) {
                folder_ = pattern + "/";
                return;
            }
        }
    }
    ~Scratch() {
        std::error_code ec;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
    }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

inline const std::string& ScratchFolder() {
    static const Scratch scratch;
    return scratch.Folder();
}

inline bool WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace pelor::fuzz
