// The external captures are found through one setting: PELOR_EXTERNAL_DATA, or the folder
// beside the source tree when it is not set; an absent capture is reported with both.
#include "external_data.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace pelor::testing {
namespace {

// Sets or clears the variable for one test and puts the old value back.
class ScopedVariable {
public:
    explicit ScopedVariable(const char* value) {
        if (const char* old = std::getenv(kExternalDataVariable)) old_ = old;
        if (value != nullptr) {
            ::setenv(kExternalDataVariable, value, 1);
        } else {
            ::unsetenv(kExternalDataVariable);
        }
    }
    ~ScopedVariable() {
        if (old_.empty()) {
            ::unsetenv(kExternalDataVariable);
        } else {
            ::setenv(kExternalDataVariable, old_.c_str(), 1);
        }
    }

private:
    std::string old_;
};

TEST(ExternalData, TheVariableNamesTheFolderElseTheOneBesideTheSource) {
    {
        ScopedVariable unset(nullptr);
        EXPECT_EQ(ExternalDataDir(), std::string(PELOR_EXTERNAL_DATA_DIR));
        ScopedVariable empty("");
        EXPECT_EQ(ExternalDataDir(), std::string(PELOR_EXTERNAL_DATA_DIR));
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("pelor-external-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir / "derived");
    std::ofstream(dir / "derived" / "x.ngt1") << "x";
    {
        ScopedVariable set((dir.string() + "/").c_str());
        EXPECT_EQ(ExternalDataDir(), dir.string());
        EXPECT_EQ(ExternalDataPath("derived/x.ngt1"), dir.string() + "/derived/x.ngt1");
        EXPECT_TRUE(HasExternalData("derived/x.ngt1"));
        EXPECT_FALSE(HasExternalData("derived/absent.ngt1"));
        EXPECT_FALSE(HasExternalData("derived"));  // a folder is no capture
        const std::string why = ExternalDataMissing("derived/absent.ngt1");
        EXPECT_NE(why.find("derived/absent.ngt1"), std::string::npos) << why;
        EXPECT_NE(why.find(dir.string()), std::string::npos) << why;
        EXPECT_NE(why.find("PELOR_EXTERNAL_DATA"), std::string::npos) << why;
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pelor::testing
