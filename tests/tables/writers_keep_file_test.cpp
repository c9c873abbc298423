// Every table writer and the project writer keep what the user set on the file they replace:
// a read-only file gets the writer's open-failure message and stays as it was, a symbolic
// link is written through (its target replaced, the link kept), and the new file keeps the
// old one's permissions. "Read-only" means no write bit for anyone, which holds for root too.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"
#include "tables/calibration_file.h"
#include "tables/label_file.h"
#include "tables/options_file.h"
#include "tables/page_file.h"
#include "tables/project_file.h"
#include "tables/table_types.h"

namespace pelor::tables {
namespace {

namespace fs = std::filesystem;
using core::ScriptedPrompt;
using testing::ScratchDir;

struct Writer {
    const char* legend;
    // Writes the file `name` in `dir`; the prompt answers any save dialog with `dir + name`.
    std::function<bool(ScriptedPrompt&, const std::string& dir, const std::string& name)> write;
    std::vector<std::string> refusedMessages;  // what a read-only file gets, in order
};

std::vector<Writer> Writers() {
    return {
        {"labels",
         [](ScriptedPrompt& p, const std::string& dir, const std::string& name) {
             LabelTable labels{};
             return WriteLabelFile(p, dir, name, labels, LabelSettings{});
         },
         {"Could not Open File"}},
        {"pages",
         [](ScriptedPrompt& p, const std::string& dir, const std::string& name) {
             PageTable pages{};
             return WritePageFile(p, dir, name, pages, 9, false);
         },
         {"Could not Open File"}},
        {"options",
         [](ScriptedPrompt& p, const std::string& dir, const std::string& name) {
             return WriteOptionsFile(p, dir, name, OptionsTable{});
         },
         {"Could not Open File"}},
        {"calibration",
         [](ScriptedPrompt& p, const std::string& dir, const std::string& name) {
             return WriteCalibrationFile(p, dir, name, "8000", CalibrationRows{});
         },
         {"Could not Open T.txt"}},
        {"project",
         [](ScriptedPrompt& p, const std::string& dir, const std::string& name) {
             // The project writer offers a save dialog when its file cannot be opened; the
             // user picks the same file again.
             p.files.push_back(dir + name);
             Project project;
             project.directory = dir;
             project.projectFile = name;
             return SaveProject(p, project);
         },
         {"Could not Open File"}},
    };
}

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

TEST(WritersKeepFile, ReadOnlyFileIsRefusedAndKept) {
    for (const Writer& w : Writers()) {
        ScratchDir dir;
        dir.Write("T.txt", "precious\r\n");
        ASSERT_EQ(::chmod(dir.Path("T.txt").c_str(), 0444), 0);
        fs::create_symlink("T.txt", dir.Path("L.txt"));
        for (const char* name : {"T.txt", "L.txt"}) {
            ScriptedPrompt prompt;
            EXPECT_FALSE(w.write(prompt, dir.Dir(), name)) << w.legend << " " << name;
            std::vector<std::string> want = w.refusedMessages;
            if (std::string(w.legend) == "calibration" && std::string(name) == "L.txt") {
                want = {"Could not Open L.txt"};
            }
            EXPECT_EQ(prompt.MessageTexts(), want) << w.legend << " " << name;
            EXPECT_EQ(dir.Read("T.txt"), "precious\r\n") << w.legend << " " << name;
            EXPECT_EQ(ModeOf(dir.Path("T.txt")), 0444u) << w.legend;
            EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path("L.txt")))) << w.legend;
        }
        // Nothing else was left in the folder (no temporary file).
        std::size_t entries = 0;
        for (const auto& e : fs::directory_iterator(dir.Dir())) {
            (void)e;
            ++entries;
        }
        EXPECT_EQ(entries, 2u) << w.legend;
    }
}

TEST(WritersKeepFile, LinkIsWrittenThroughAndPermissionsKept) {
    for (const Writer& w : Writers()) {
        ScratchDir dir;
        fs::create_directory(dir.Path("shared"));
        dir.Write("shared/T.txt", "old\r\n");
        ASSERT_EQ(::chmod(dir.Path("shared/T.txt").c_str(), 0640), 0);
        fs::create_symlink("shared/T.txt", dir.Path("T.txt"));
        ScriptedPrompt prompt;
        ASSERT_TRUE(w.write(prompt, dir.Dir(), "T.txt")) << w.legend;
        EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dir.Path("T.txt")))) << w.legend;
        const std::string written = dir.Read("shared/T.txt");
        EXPECT_NE(written, "old\r\n") << w.legend;
        EXPECT_GT(written.size(), 20u) << w.legend;
        EXPECT_EQ(ModeOf(dir.Path("shared/T.txt")), 0640u) << w.legend;

        // A plain file keeps its permissions too.
        dir.Write("P.txt", "old\r\n");
        ASSERT_EQ(::chmod(dir.Path("P.txt").c_str(), 0604), 0);
        ScriptedPrompt again;
        ASSERT_TRUE(w.write(again, dir.Dir(), "P.txt")) << w.legend;
        EXPECT_EQ(ModeOf(dir.Path("P.txt")), 0604u) << w.legend;
        EXPECT_GT(dir.Read("P.txt").size(), 20u) << w.legend;
    }
}

// The in-place section update of the options file writes a read-only file neither.
TEST(WritersKeepFile, SectionUpdateRefusesReadOnlyFile) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    OptionsTable options{};
    ASSERT_TRUE(WriteOptionsFile(prompt, dir.Dir(), "O.txt", options));
    const std::string before = dir.Read("O.txt");
    ASSERT_EQ(::chmod(dir.Path("O.txt").c_str(), 0444), 0);
    options[40] = 0x5A;
    ScriptedPrompt update;
    EXPECT_FALSE(UpdateOptionsSection(update, dir.Dir(), "O.txt", options, 32, 32));
    EXPECT_EQ(update.MessageTexts(), std::vector<std::string>{"Could not Open File"});
    EXPECT_EQ(dir.Read("O.txt"), before);
}

}  // namespace
}  // namespace pelor::tables
