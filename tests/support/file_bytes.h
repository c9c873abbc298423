#pragma once
// A file's bytes as they are on disk, for tests that compare what a writer left behind.
#include <fstream>
#include <iterator>
#include <string>

namespace pelor::testing {

// The whole file, byte for byte; "" when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace pelor::testing
