// The installed way to start a boat's dashboard from a kiosk script: `pelor --project FILE`
// opens that project in the real program, remembers it, and leaves cleanly on SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QSettings>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "scenario_support.h"

extern char** environ;

namespace {

using namespace pelor;
using namespace std::chrono_literals;

TEST(CommandLineScenario, ProjectOptionOpensThatProjectAndRemembersIt) {
    scenario::DemoProject demo;
    {
        // The program's settings are named after it ("pelor"), not after this test program.
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon", "pelor");
        s.clear();
        s.setValue("ProjectFilePath", "/nowhere/Other.cdp");
        s.setValue("ConnectionType", 0);
        s.sync();
    }

    const std::string program = std::string(PELOR_BINARY_DIR) + "/src/ui/pelor";
    std::vector<std::string> argv{program, "--project", demo.Project()};
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, args.data(), environ), 0);

    // The dashboard is up once it has read its project: the settings then name it. Give it
    // time to start, then ask it to close the normal way.
    std::this_thread::sleep_for(3s);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, WNOHANG), 0) << "the dashboard ended on its own";
    ::kill(pid, SIGTERM);
    const auto end = std::chrono::steady_clock::now() + 10s;
    pid_t done = 0;
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(50ms);
    }
    if (done == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "the dashboard did not close on SIGTERM";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;

    QSettings saved(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon", "pelor");
    saved.sync();
    EXPECT_EQ(saved.value("ProjectFilePath").toString().toStdString(), demo.Project());
    // Closing saved the project it had open, so the demo's project file is still whole.
    std::ifstream project(demo.Project());
    std::string first;
    std::getline(project, first);
    EXPECT_EQ(first.substr(0, 20), "[Pelor_Project_File]");
}

// `pelor --project FILE` with a file that is no project: the question comes up, the person
// answers No (Escape, the box's way out), and the program ends with status 2 without
// remembering the refused file: the next plain start opens the saved project again.
TEST(CommandLineScenario, ARefusedProjectIsNotRememberedAndEndsWithStatusTwo) {
    scenario::DemoProject demo;
    const std::string random = demo.Dir() + "random.cdp";
    { std::ofstream(random, std::ios::binary) << "\x7f\x45\x4c\x46 not a project\n"; }
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon", "pelor");
        s.clear();
        s.setValue("ProjectFilePath", QString::fromStdString(demo.Project()));
        s.setValue("ConnectionType", 0);
        s.sync();
    }

    const std::string program = std::string(PELOR_BINARY_DIR) + "/src/ui/pelor";
    std::vector<std::string> argv{program, "--project", random};
    std::vector<char*> args;
    for (auto& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, args.data(), environ), 0);

    // "Incorrect Project file type" (captioned "Error"), then the question (captioned
    // "Status"; the window system may add the program name): the keyboard answers both.
    const auto answer = [](const std::string& caption, const std::string& key) {
        return std::system(("id=$(timeout 15 xdotool search --sync --onlyvisible --name '^" +
                            caption + "( |$)' | head -n 1) && [ -n \"$id\" ] && sleep 0.3 && " +
                            "xdotool windowfocus --sync \"$id\" && xdotool key --clearmodifiers " +
                            key)
                               .c_str());
    };
    EXPECT_EQ(answer("Error", "Return"), 0) << "the file was not said to be no project";
    const int found = answer("Status", "Escape");
    EXPECT_EQ(found, 0) << "no question came up";

    int status = 0;
    const auto end = std::chrono::steady_clock::now() + 10s;
    pid_t done = 0;
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(50ms);
    }
    if (done == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "the dashboard did not end after No";
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << "status " << status;

    QSettings saved(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon", "pelor");
    saved.sync();
    EXPECT_EQ(saved.value("ProjectFilePath").toString().toStdString(), demo.Project());
}

}  // namespace
