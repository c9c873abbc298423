#include "tables/project_start.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"

namespace pelor::tables {
namespace {

using core::Answer;
using core::MessageButtons;
using core::ScriptedPrompt;
using testing::ScratchDir;

std::string ValidProject() {
    std::string text = "[Pelor_Project_File]\r\n[Version 3.04]\r\nL.txt\r\nP.txt\r\n";
    for (int i = 0; i < 3; ++i) text += "O.txt\r\n";
    text += "Log.csv\r\n";
    for (int i = 0; i < 12; ++i) text += "C" + std::to_string(i) + ".txt\r\n";
    text += "x.cdp\r\n\r\n\r\n";
    return text;
}

// One shown item, as a compact line: "M caption|text|buttons" or "D ext|initial|filter|flags".
std::vector<std::string> Trace(const ScriptedPrompt& prompt) {
    std::vector<std::string> out;
    for (const auto& s : prompt.shown) {
        if (s.isFileDialog) {
            const auto& d = s.dialog;
            out.push_back("D " + d.defaultExtension + "|" + d.initialName + "|" + d.filter + "|" +
                          (d.pathMustExist ? "E" : "") + (d.overwritePrompt ? "O" : ""));
        } else {
            out.push_back("M " + s.caption + "|" + s.text +
                          (s.buttons == MessageButtons::YesNo ? "|YesNo" : ""));
        }
    }
    return out;
}

const std::string kAsk =
    "D cdp|ProjectFileName|CDP Files (*.cdp)|*.cdp|TXT Files (*.txt)|*.txt|||EO";
// The "/r/n" of this text are shown as line breaks.
std::string CouldNotOpen(const std::string& dir) {
    return "M Error|Could not open Project File\n" + dir + "\nPlease select current project file";
}
const std::string kInvalid =
    "M Status|Invalid Project File . Click YES to reload new project file|YesNo";

TEST(OpenProjectAtStart, SavedPathLoadsTheProjectAndEntersItsFolder) {
    ScratchDir dir;
    dir.Write("x.cdp", ValidProject());
    ScriptedPrompt prompt;
    Project p;
    EXPECT_TRUE(OpenProjectAtStart(prompt, p, dir.Path("x.cdp")));
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(p.directory, dir.Dir());
    EXPECT_EQ(testing::WorkingDirectory() + "/", dir.Dir());
    EXPECT_EQ(p.projectFile, "x.cdp");
    EXPECT_EQ(p.pageFile, "P.txt");
}

TEST(OpenProjectAtStart, NoSavedPathAndEveryDialogCancelledEndsTheProgram) {
    ScratchDir dir;
    ScriptedPrompt prompt;
    Project p;
    EXPECT_FALSE(OpenProjectAtStart(prompt, p, std::nullopt));
    EXPECT_EQ(Trace(prompt),
              (std::vector<std::string>{CouldNotOpen(""), kAsk, CouldNotOpen(""), kAsk,
                                        "M Error|Failed to find Project Dir - exiting program"}));
    EXPECT_TRUE(p.projectFile.empty());
}

TEST(OpenProjectAtStart, MissingFolderThenAChosenProject) {
    ScratchDir dir;
    dir.Write("x.cdp", ValidProject());
    ScriptedPrompt prompt;
    prompt.files.push_back(dir.Path("x.cdp"));
    Project p;
    const std::string gone = dir.Path("gone/");
    EXPECT_TRUE(OpenProjectAtStart(prompt, p, gone + "x.cdp"));
    EXPECT_EQ(Trace(prompt), (std::vector<std::string>{CouldNotOpen(gone), kAsk}));
    EXPECT_EQ(p.directory, dir.Dir());
    EXPECT_EQ(p.labelsFile, "L.txt");
}

TEST(OpenProjectAtStart, InvalidProjectsAskToReload) {
    struct Case {
        const char* legend;
        std::string file;
        std::string firstMessage;
    };
    const Case cases[] = {
        {"other version", "[Pelor_Project_File]\r\n[Version 2.00]\r\n",
         "M Error|Incorrect Project file version"},
        {"two lines", "[Pelor_Project_File]\r\n[Version 3.04]\r\n",
         "M Error|Error Reading from file"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        dir.Write("bad.cdp", c.file);
        {
            ScriptedPrompt prompt;  // answers No
            Project p;
            EXPECT_FALSE(OpenProjectAtStart(prompt, p, dir.Path("bad.cdp"))) << c.legend;
            EXPECT_EQ(Trace(prompt), (std::vector<std::string>{c.firstMessage, kInvalid}))
                << c.legend;
        }
        {
            ScratchDir other;
            other.Write("good.cdp", ValidProject());
            ScriptedPrompt prompt;
            prompt.answers.push_back(Answer::Yes);
            prompt.files.push_back(other.Path("good.cdp"));
            Project p;
            EXPECT_TRUE(OpenProjectAtStart(prompt, p, dir.Path("bad.cdp"))) << c.legend;
            EXPECT_EQ(Trace(prompt), (std::vector<std::string>{c.firstMessage, kInvalid,
                                                               "D cdp|ProjectFileName|" +
                                                                   std::string(kCdpFilter) + "|E"}))
                << c.legend;
            EXPECT_EQ(p.directory, other.Dir()) << c.legend;
            EXPECT_EQ(testing::WorkingDirectory() + "/", other.Dir()) << c.legend;
            EXPECT_EQ(p.projectFile, "good.cdp") << c.legend;
            EXPECT_EQ(p.optionsFileC, "O.txt") << c.legend;
        }
    }
}

// An empty project file names no table: it is refused with one question that names the file,
// and the question comes back until a usable project is chosen or the user ends the program.
// No table chooser is ever shown for it.
TEST(OpenProjectAtStart, AnEmptyProjectIsRefusedUntilAUsableOneIsChosen) {
    ScratchDir dir;
    dir.Write("empty.cdp", "");
    ScratchDir other;
    other.Write("good.cdp", ValidProject());
    other.Write("blank.cdp", "");
    const std::string kChooser = "D cdp|ProjectFileName|" + std::string(kCdpFilter) + "|E";
    {
        ScriptedPrompt prompt;  // answers No
        Project p;
        EXPECT_FALSE(OpenProjectAtStart(prompt, p, dir.Path("empty.cdp")));
        EXPECT_EQ(Trace(prompt), (std::vector<std::string>{kInvalid}));
        EXPECT_EQ(prompt.shown[0].detail.rfind(dir.Path("empty.cdp"), 0), 0u)
            << prompt.shown[0].detail;
        EXPECT_TRUE(p.projectFile.empty());
    }
    {
        // Yes, the chooser cancelled; Yes, another empty file; Yes, a good project.
        ScriptedPrompt prompt;
        prompt.answers = {Answer::Yes, Answer::Yes, Answer::Yes};
        prompt.files = {std::nullopt, other.Path("blank.cdp"), other.Path("good.cdp")};
        Project p;
        EXPECT_TRUE(OpenProjectAtStart(prompt, p, dir.Path("empty.cdp")));
        EXPECT_EQ(Trace(prompt), (std::vector<std::string>{kInvalid, kChooser, kInvalid, kChooser,
                                                           kInvalid, kChooser}));
        EXPECT_EQ(prompt.shown[4].detail.rfind(other.Path("blank.cdp"), 0), 0u);
        EXPECT_EQ(p.directory, other.Dir());
        EXPECT_EQ(p.projectFile, "good.cdp");
        EXPECT_EQ(p.calibrationFiles[11], "C11.txt");
    }
}

TEST(OpenProjectAtStart, FolderWithoutFileNameOffersTheProjectChooser) {
    ScratchDir dir;
    dir.Write("x.cdp", ValidProject());
    {
        ScriptedPrompt prompt;
        prompt.files.push_back(dir.Path("x.cdp"));
        Project p;
        EXPECT_TRUE(OpenProjectAtStart(prompt, p, dir.Dir()));
        EXPECT_EQ(
            Trace(prompt),
            (std::vector<std::string>{
                "D txt|ProjectFileName|CDP Files (*.cdp)|*.cdp|TXT Files (*.txt)|*.txt|||EO"}));
        EXPECT_EQ(p.projectFile, "x.cdp");
    }
    {
        ScriptedPrompt prompt;  // cancelled: every name emptied, then the reload question
        Project p;
        p.labelsFile = "kept.txt";
        p.webBitmapEnabled = true;
        EXPECT_FALSE(OpenProjectAtStart(prompt, p, dir.Dir()));
        EXPECT_EQ(Trace(prompt).back(), kInvalid);
        EXPECT_TRUE(p.labelsFile.empty());
        EXPECT_FALSE(p.webBitmapEnabled);
    }
}

}  // namespace
}  // namespace pelor::tables
