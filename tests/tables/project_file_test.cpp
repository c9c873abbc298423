#include "tables/project_file.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "table_test_support.h"

namespace pelor::tables {
namespace {

using core::ScriptedPrompt;
using testing::ScratchDir;

TEST(ProjectLineRules, CutAfterTheExtensionCaseSensitively) {
    struct Case {
        const char* legend;
        std::string (*rule)(std::string_view);
        std::string in;
        std::string want;
    };
    const Case cases[] = {
        {"name with a comment after it", CutAfterTxt, "Labels.txt ; the labels\n", "Labels.txt"},
        {"upper-case extension is not found", CutAfterTxt, "LABELS.TXT\n", ""},
        {"first .txt wins", CutAfterTxt, "a.txt.txt\n", "a.txt"},
        {"no extension", CutAfterTxt, "\n", ""},
        {"log .csv", CutLogName, "DemoLog.csv\n", "DemoLog.csv"},
        {"log .dat gives nothing", CutLogName, "DemoLog.dat\n", ""},
        {".txt is searched before .csv", CutLogName, "a.csv.txt\n", "a.csv.txt"},
        {"log .ebl", CutLogName, "frames.ebl x\n", "frames.ebl"},
        {"log .htm", CutLogName, "web.htm\n", "web.htm"},
        {"bitmap", CutBitmapPath, "/srv/www/dash.bmp\n", "/srv/www/dash.bmp"},
        {"bitmap upper case", CutBitmapPath, "/srv/www/dash.BMP\n", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.rule(c.in), c.want) << c.legend;
}

std::string ProjectText(int lines) {
    std::vector<std::string> all = {"[Pelor_Project_File]",
                                    "[Version 3.04]",
                                    "L.txt",
                                    "P.txt",
                                    "OA.txt",
                                    "OB.txt",
                                    "OC.txt",
                                    "Log.csv"};
    for (int i = 0; i < 12; ++i) all.push_back("C" + std::to_string(i) + ".txt");
    all.push_back("x.cdp");
    all.push_back("Theme.txt");
    all.push_back("no bitmap");
    std::string text;
    for (int i = 0; i < lines && i < static_cast<int>(all.size()); ++i) text += all[i] + "\r\n";
    return text;
}

Project OldProject() {
    Project p;
    p.labelsFile = "old-l.txt";
    p.pageFile = "old-p.txt";
    for (int i = 0; i < 12; ++i) p.calibrationFiles[i] = "old" + std::to_string(i) + ".txt";
    p.themeFile = "old-theme.txt";
    p.webBitmapPath = "old.bmp";
    p.webBitmapEnabled = true;
    return p;
}

TEST(LoadProject, ReadsEveryLineOfAFullProject) {
    ScratchDir dir;
    dir.Write("x.cdp", ProjectText(23));
    ScriptedPrompt prompt;
    Project p = OldProject();
    EXPECT_EQ(LoadProject(prompt, p, dir.Dir(), "x.cdp", false), "x.cdp");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(p.projectFile, "x.cdp");
    EXPECT_EQ(p.labelsFile, "L.txt");
    EXPECT_EQ(p.pageFile, "P.txt");
    EXPECT_EQ(p.optionsFileA, "OA.txt");
    EXPECT_EQ(p.optionsFileB, "OB.txt");
    EXPECT_EQ(p.optionsFileC, "OC.txt");
    EXPECT_EQ(p.logFile, "Log.csv");
    EXPECT_EQ(p.calibrationFiles[11], "C11.txt");
    EXPECT_EQ(p.themeFile, "Theme.txt");
    EXPECT_EQ(p.webBitmapPath, kNoWebBitmap);
    EXPECT_FALSE(p.webBitmapEnabled);
}

TEST(LoadProject, ShortAndWrongFiles) {
    struct Case {
        const char* legend;
        std::string file;
        std::string want;
        std::vector<std::string> messages;
        std::string calibration1, calibration2, theme;
    };
    const Case cases[] = {
        {"10 lines: lines 3..10 taken, the rest kept",
         ProjectText(10),
         "x.cdp",
         {"Error Reading from file"},
         "C1.txt",
         "old2.txt",
         "old-theme.txt"},
        {"2 lines: invalid",
         ProjectText(2),
         "",
         {"Error Reading from file"},
         "old1.txt",
         "old2.txt",
         "old-theme.txt"},
        {"21 lines: theme and bitmap emptied without a message",
         ProjectText(21),
         "x.cdp",
         {},
         "C1.txt",
         "C2.txt",
         ""},
        {"empty file is accepted and changes nothing",
         "",
         "x.cdp",
         {"Error Reading from file"},
         "old1.txt",
         "old2.txt",
         "old-theme.txt"},
        {"wrong type",
         "[Other_File]\r\n[Version 3.04]\r\n",
         "",
         {"Incorrect Project file type"},
         "old1.txt",
         "old2.txt",
         "old-theme.txt"},
        {"wrong version",
         "[Pelor_Project_File]\r\n[Version 3.05]\r\nL.txt\r\n",
         "",
         {"Incorrect Project file version"},
         "old1.txt",
         "old2.txt",
         "old-theme.txt"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        dir.Write("x.cdp", c.file);
        ScriptedPrompt prompt;
        Project p = OldProject();
        EXPECT_EQ(LoadProject(prompt, p, dir.Dir(), "x.cdp", false), c.want) << c.legend;
        EXPECT_EQ(p.projectFile, c.want) << c.legend;
        EXPECT_EQ(prompt.MessageTexts(), c.messages) << c.legend;
        for (const auto& s : prompt.shown) EXPECT_EQ(s.caption, "Error") << c.legend;
        EXPECT_EQ(p.calibrationFiles[1], c.calibration1) << c.legend;
        EXPECT_EQ(p.calibrationFiles[2], c.calibration2) << c.legend;
        EXPECT_EQ(p.themeFile, c.theme) << c.legend;
    }
}

TEST(LoadProject, MissingFileAsksAndOpensTheChosenOneInItsFolder) {
    ScratchDir dir;
    dir.Write("x.cdp", ProjectText(23));
    {
        ScriptedPrompt prompt;
        Project p;
        EXPECT_EQ(LoadProject(prompt, p, dir.Dir(), "gone.cdp", false), "");
        ASSERT_EQ(prompt.shown.size(), 2u);
        EXPECT_EQ(prompt.shown[0].text, "Could not open Project File -gone.cdp");
        const auto& d = prompt.shown[1].dialog;
        EXPECT_EQ(d.defaultExtension, "cdp");
        EXPECT_EQ(d.initialName, "gone.cdp");
        // The chooser shows project files (it once offered only log and text files).
        EXPECT_EQ(d.filter, kCdpFilter);
        EXPECT_EQ(d.title, "Select the project file (.cdp)");
        EXPECT_TRUE(d.pathMustExist);
    }
    {
        ScriptedPrompt prompt;
        prompt.files.push_back(dir.Path("x.cdp"));
        Project p;
        EXPECT_EQ(LoadProject(prompt, p, "/nonexistent/", "gone.cdp", false), "x.cdp");
        EXPECT_EQ(testing::WorkingDirectory() + "/", dir.Dir());
        EXPECT_EQ(p.directory, dir.Dir());
        EXPECT_EQ(p.labelsFile, "L.txt");
    }
}

TEST(LoadProject, WebBitmapTestNeverEmptiesAnExistingBitmap) {
    ScratchDir dir;
    auto load = [&](const std::string& bitmapLine, ScriptedPrompt& prompt) {
        std::string text = ProjectText(22) + bitmapLine + "\r\n";
        dir.Write("x.cdp", text);
        Project p;
        LoadProject(prompt, p, dir.Dir(), "x.cdp", false);
        return p;
    };
    dir.Write("web.bmp", "BM-existing-picture");
    {
        ScriptedPrompt prompt;
        Project p = load(dir.Path("web.bmp") + " trailing", prompt);
        EXPECT_TRUE(p.webBitmapEnabled);
        EXPECT_EQ(p.webBitmapPath, dir.Path("web.bmp"));
        EXPECT_EQ(dir.Read("web.bmp"), "BM-existing-picture");
        EXPECT_TRUE(prompt.shown.empty());
    }
    {
        ScriptedPrompt prompt;  // a missing bitmap is created, empty
        Project p = load(dir.Path("new.bmp"), prompt);
        EXPECT_TRUE(p.webBitmapEnabled);
        EXPECT_TRUE(std::filesystem::exists(dir.Path("new.bmp")));
    }
    {
        ScriptedPrompt prompt;
        const std::string bad = dir.Path("no/such/dir/web.bmp");
        Project p = load(bad, prompt);
        EXPECT_FALSE(p.webBitmapEnabled);
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Could not Open " + bad});
    }
}

TEST(SaveProject, WritesTwentyThreeCrLfLinesThatReadBack) {
    ScratchDir dir;
    Project p = OldProject();
    p.directory = dir.Dir();
    p.projectFile = "saved.cdp";
    p.optionsFileA = "a.txt";
    p.optionsFileB = "b.txt";
    p.optionsFileC = "Options.txt";
    p.logFile = "DemoLog.csv";
    p.webBitmapPath = kNoWebBitmap;
    p.webBitmapEnabled = false;
    ScriptedPrompt prompt;
    ASSERT_TRUE(SaveProject(prompt, p));
    EXPECT_TRUE(prompt.shown.empty());
    const std::string text = dir.Read("saved.cdp");
    EXPECT_EQ(text.substr(0, 55), "[Pelor_Project_File]\r\n[Version 3.04]\r\nold-l.txt\r\nold-p.");
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    EXPECT_EQ(lines, 23u);
    EXPECT_NE(text.find("Options.txt\r\nOptions.txt\r\nOptions.txt\r\nDemoLog.csv\r\n"),
              std::string::npos);

    Project back;
    EXPECT_EQ(LoadProject(prompt, back, dir.Dir(), "saved.cdp", false), "saved.cdp");
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(back.optionsFileA, "Options.txt");
    EXPECT_EQ(back.optionsFileB, "Options.txt");
    EXPECT_EQ(back.optionsFileC, "Options.txt");
    EXPECT_EQ(back.calibrationFiles, p.calibrationFiles);
    EXPECT_EQ(back.webBitmapPath, kNoWebBitmap);
    back.directory = dir.Dir();
    ASSERT_TRUE(SaveProject(prompt, back));
    EXPECT_EQ(dir.Read("saved.cdp"), text);
}

TEST(SaveProject, ReportsEachFailure) {
    ScratchDir dir;
    {
        ScriptedPrompt prompt;
        Project p;
        p.directory = dir.Path("missing/");
        p.projectFile = "x.cdp";
        EXPECT_FALSE(SaveProject(prompt, p));
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].text, dir.Path("missing/"));
        EXPECT_EQ(prompt.shown[0].caption, "Error7");
    }
    {
        ScriptedPrompt prompt;
        Project p;
        p.directory = dir.Dir();
        EXPECT_FALSE(SaveProject(prompt, p));
        EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"Not a valid file name"});
    }
    {
        // A project file that cannot be written: the save dialog, then "Could not Open File".
        ScriptedPrompt prompt;
        prompt.files.push_back(dir.Path("no/such/elsewhere.cdp"));
        Project p;
        p.directory = dir.Dir();
        p.projectFile = "no/x.cdp";
        EXPECT_FALSE(SaveProject(prompt, p));
        ASSERT_EQ(prompt.shown.size(), 2u);
        EXPECT_TRUE(prompt.shown[0].isFileDialog);
        EXPECT_FALSE(prompt.shown[0].dialog.open);
        EXPECT_EQ(prompt.shown[0].dialog.initialName, dir.Path("no/x.cdp"));
        EXPECT_TRUE(prompt.shown[0].dialog.overwritePrompt);
        EXPECT_EQ(prompt.shown[1].text, "Could not Open File");
        EXPECT_EQ(prompt.shown[1].caption, "Error2");
    }
}

}  // namespace
}  // namespace pelor::tables
