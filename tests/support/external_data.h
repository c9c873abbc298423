#pragma once
// Where tests and benchmarks find the captures recorded on boats by others: the folder named
// by the environment variable PELOR_EXTERNAL_DATA, or else the one beside the source tree
// (../shared/testdata/external, compiled in as PELOR_EXTERNAL_DATA_DIR). The captures are
// read where they lie, never copied into the repository; when one is absent the caller skips
// with the text of ExternalDataMissing, which says where it looked and how to point elsewhere.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#ifndef PELOR_EXTERNAL_DATA_DIR
#define PELOR_EXTERNAL_DATA_DIR "../shared/testdata/external"
#endif

namespace pelor::testing {

inline constexpr const char* kExternalDataVariable = "PELOR_EXTERNAL_DATA";

// The folder of the external captures (no trailing "/").
inline std::string ExternalDataDir() {
    const char* set = std::getenv(kExternalDataVariable);
    std::string dir = set != nullptr && *set != '\0' ? set : PELOR_EXTERNAL_DATA_DIR;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return dir;
}

// The path of one capture, `relative` to that folder ("derived/bench-n2k-158k.ngt1").
inline std::string ExternalDataPath(std::string_view relative) {
    return ExternalDataDir() + "/" + std::string(relative);
}

// True when the capture is there to read.
inline bool HasExternalData(std::string_view relative) {
    std::error_code ec;
    return std::filesystem::is_regular_file(ExternalDataPath(relative), ec);
}

// Why a test or benchmark that needs `relative` did not run.
inline std::string ExternalDataMissing(std::string_view relative) {
    return "external capture " + std::string(relative) + " not found in " + ExternalDataDir() +
           " (set " + kExternalDataVariable + " to the folder of the external captures)";
}

}  // namespace pelor::testing
