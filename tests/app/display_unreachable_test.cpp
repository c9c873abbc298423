// The built program started where no window can open: with DISPLAY unset, and with DISPLAY
// naming a display no X server answers. Either way it says so in a sentence and ends with
// exit code 2, instead of Qt's abort.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;  // -1: killed or did not end
    std::string errors;
};

// Runs the built pelor with the environment of this test minus the display variables, plus
// `extra`; stops it after ten seconds.
Outcome RunPelor(const std::vector<std::string>& extra) {
    Outcome out;
    const std::string program = std::string(PELOR_BINARY_DIR) + "/src/ui/pelor";
    if (!fs::exists(program)) {
        out.exitCode = -2;
        return out;
    }
    const fs::path scratch =
        fs::temp_directory_path() / ("pelor-display-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string var = *e;
        for (const char* drop :
             {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=", "XDG_CONFIG_HOME=", "HOME="}) {
            if (var.rfind(drop, 0) == 0) goto skip;
        }
        env.push_back(var);
    skip:;
    }
    // Settings of the run stay in the scratch folder.
    env.push_back("HOME=" + scratch.string());
    env.push_back("XDG_CONFIG_HOME=" + scratch.string());
    for (const auto& e : extra) env.push_back(e);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string errorsPath = (scratch / "stderr.txt").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::string arg0 = program;
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        ADD_FAILURE() << "could not start " << program;
        return out;
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > limit) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            ADD_FAILURE() << "pelor did not end";
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status)) out.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) out.exitCode = 128 + WTERMSIG(status);
    std::ifstream in(errorsPath);
    out.errors.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return out;
}

// A display number nobody serves on this machine: no socket and no lock file.
std::string UnservedDisplay() {
    for (int n = 999; n > 900; --n) {
        if (!fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) &&
            !fs::exists("/tmp/.X" + std::to_string(n) + "-lock")) {
            return ":" + std::to_string(n);
        }
    }
    return ":999";
}

#define SKIP_WITHOUT_PROGRAM(o) \
    if ((o).exitCode == -2) GTEST_SKIP() << "the window program is not built (no Qt build)"

TEST(DisplayUnreachable, UnsetDisplayEndsWithCodeTwoAndASentence) {
    const Outcome o = RunPelor({});
    SKIP_WITHOUT_PROGRAM(o);
    EXPECT_EQ(o.exitCode, 2) << o.errors;
    EXPECT_NE(o.errors.find("no display found"), std::string::npos) << o.errors;
}

TEST(DisplayUnreachable, DisplayNobodyServesEndsWithCodeTwoAndNamesIt) {
    const std::string display = UnservedDisplay();
    for (const char* platform : {"", "QT_QPA_PLATFORM=xcb"}) {
        std::vector<std::string> env{"DISPLAY=" + display};
        if (*platform != '\0') env.emplace_back(platform);
        const Outcome o = RunPelor(env);
        SKIP_WITHOUT_PROGRAM(o);
        EXPECT_EQ(o.exitCode, 2) << platform << "\n" << o.errors;
        EXPECT_NE(o.errors.find("cannot open the display \"" + display + "\""), std::string::npos)
            << o.errors;
        EXPECT_EQ(o.errors.find("Aborted"), std::string::npos) << o.errors;
    }
}

}  // namespace
