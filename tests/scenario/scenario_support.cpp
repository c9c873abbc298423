#include "scenario_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "temp_dir.h"
#include "ui/data_viewer_app.h"
#include "ui/data_viewer_dlg.h"
#include "ui/preferences_sheet.h"
#include "ui/qt_settings_store.h"

extern char** environ;

#if defined(__SANITIZE_ADDRESS__)
// On the X platform the system's D-Bus and fontconfig libraries keep a few allocations for the
// life of the process; they are not the program's leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
#endif

namespace pelor::scenario {

namespace {

namespace fs = std::filesystem;

// Starts a program with arguments; stdout to `outFd` when >= 0. Returns the pid or -1.
int Spawn(const std::vector<std::string>& argv, int outFd) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int RunAndWait(const std::vector<std::string>& argv) {
    const int pid = Spawn(argv, -1);
    if (pid < 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Reads one line from `fd` (up to `limit`); empty on time-out or end.
std::string ReadLine(int fd, std::chrono::milliseconds limit) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        char c = 0;
        const ssize_t n = ::read(fd, &c, 1);
        if (n == 1) {
            if (c == '\n') return line;
            line.push_back(c);
        } else if (n == 0) {
            return line;
        } else {
            ::usleep(10000);
        }
    }
    return line;
}

// One Xvfb for the whole test program, on a display number it picks itself, with a scratch
// configuration folder so no user's settings are touched.
class XvfbEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        configDir_ = pelor::testing::MakeTempDir("pelor-scenario-config");
        ::setenv("XDG_CONFIG_HOME", configDir_.c_str(), 1);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        pid_ = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1920x1200x24",
                      "-nolisten", "tcp", "-noreset"},
                     -1);
        ::close(fds[1]);
        ASSERT_GT(pid_, 0) << "Xvfb could not be started (install the xvfb package)";
        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
        const std::string display = ReadLine(fds[0], std::chrono::seconds(10));
        ::close(fds[0]);
        ASSERT_FALSE(display.empty()) << "Xvfb did not report its display";
        ::setenv("DISPLAY", (":" + display).c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        if (!configDir_.empty()) fs::remove_all(configDir_, ec);
    }

private:
    int pid_ = -1;
    std::string configDir_;
};

[[maybe_unused]] ::testing::Environment* const kXvfb =
    ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);

QPoint Global(QWidget& widget, QPoint at) {
    const QPoint g = widget.mapToGlobal(at);
    // "xdotool mousemove --sync" waits for the pointer to move: when it is already there (the
    // same button clicked again, or by the previous test), it would wait many seconds.
    if (QCursor::pos() == g) QCursor::setPos(g + QPoint(3, 3));
    return g;
}

}  // namespace

void EnsureApplication() {
    if (QApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "pelor";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    // The program's own palette, so dialogs are checked as users see them.
    ui::CDataViewerApp::ApplyPalette();
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limit.count()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ::usleep(5000);
    }
    return true;
}

void Pump(std::chrono::milliseconds period) {
    WaitUntil([] { return false; }, period);
}

QImage GrabWindow(QWidget& window) {
    QCoreApplication::processEvents();
    QScreen* screen = window.screen();
    if (screen == nullptr) return {};
    return screen->grabWindow(window.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

std::string SaveShot(const QImage& image, const std::string& name) {
    const fs::path dir = fs::path(PELOR_BINARY_DIR) / "scenario-shots";
    std::error_code ec;
    fs::create_directories(dir, ec);
    const std::string path = (dir / (name + ".png")).string();
    image.save(QString::fromStdString(path));
    return path;
}

void Click(QWidget& widget, QPoint at, int button) {
    const QPoint g = Global(widget, at);
    RunAndWait({"xdotool", "mousemove", "--sync", std::to_string(g.x()), std::to_string(g.y()),
                "click", std::to_string(button)});
    Pump(std::chrono::milliseconds(50));
}

void DoubleClick(QWidget& widget, QPoint at) {
    const QPoint g = Global(widget, at);
    RunAndWait({"xdotool", "mousemove", "--sync", std::to_string(g.x()), std::to_string(g.y()),
                "click", "--repeat", "2", "--delay", "80", "1"});
    Pump(std::chrono::milliseconds(50));
}

void Key(QWidget& window, const std::string& keys) {
    QWidget* top = window.window();
    top->activateWindow();
    const std::string id = std::to_string(static_cast<unsigned long long>(top->winId()));
    RunAndWait({"xdotool", "windowfocus", "--sync", id});
    Pump(std::chrono::milliseconds(30));
    RunAndWait({"xdotool", "key", "--clearmodifiers", keys});
    Pump(std::chrono::milliseconds(50));
}

void Type(QWidget& window, const std::string& text) {
    QWidget* top = window.window();
    top->activateWindow();
    const std::string id = std::to_string(static_cast<unsigned long long>(top->winId()));
    RunAndWait({"xdotool", "windowfocus", "--sync", id});
    Pump(std::chrono::milliseconds(30));
    RunAndWait({"xdotool", "type", "--clearmodifiers", "--delay", "8", text});
    Pump(std::chrono::milliseconds(50));
}

DemoProject::DemoProject(const std::string& example) {
    dir_ = pelor::testing::MakeTempDir("pelor-scenario-project") + "/";
    const fs::path source = fs::path(PELOR_SOURCE_DIR) / "examples" / example;
    std::error_code ec;
    fs::copy(source, dir_, fs::copy_options::recursive, ec);
    for (const auto& entry : fs::directory_iterator(dir_, ec)) {
        if (entry.path().extension() == ".cdp") projectFile_ = entry.path().filename().string();
        // Copies of checked-in files may be read-only; the program must be able to save.
        fs::permissions(entry.path(), fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, ec);
    }
}

DemoProject::~DemoProject() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

std::string DemoProject::Project() const {
    return dir_ + projectFile_;
}

void WriteSettings(const std::map<std::string, std::string>& values) {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon",
                ui::QtSettingsStore::ApplicationName());
    s.clear();
    for (const auto& [name, value] : values) {
        bool number = false;
        const uint n = QString::fromStdString(value).toUInt(&number);
        if (number) {
            s.setValue(QString::fromStdString(name), n);
        } else {
            s.setValue(QString::fromStdString(name), QString::fromStdString(value));
        }
    }
    s.sync();
}

void WriteTcpSettings(const DemoProject& demo, const Simulator& sim,
                      const std::string& connection) {
    WriteSettings({{"ProjectFilePath", demo.Project()},
                   {"ConnectionType", connection},
                   {"IPAddress", "127.0.0.1"},
                   {"TCPPort", std::to_string(sim.Port())},
                   {"ShowCOMStatus", "0"}});
}

void OnSheetPage(ui::CDataViewerDlg& window, const QString& caption,
                 const std::function<void(ui::PreferencesSheet&, QWidget&)>& act,
                 std::chrono::milliseconds closeLimit) {
    using namespace std::chrono_literals;
    bool done = false;
    QTimer driver;
    driver.setInterval(50);
    // The sheet runs its own loop: it is driven from a timer inside that loop.
    QObject::connect(&driver, &QTimer::timeout, [&] {
        auto* sheet = qobject_cast<ui::PreferencesSheet*>(QApplication::activeModalWidget());
        if (sheet == nullptr || done) return;
        done = true;
        driver.stop();
        ASSERT_TRUE(WaitUntil([&] { return sheet->isVisible(); }, 3s));
        Pump(300ms);
        QTabBar* bar = sheet->Tabs()->tabBar();
        int index = -1;
        for (int i = 0; i < bar->count(); ++i) {
            if (bar->tabText(i) == caption) index = i;
        }
        ASSERT_GE(index, 0) << caption.toStdString();
        Click(*bar, bar->tabRect(index).center());
        ASSERT_TRUE(WaitUntil([&] { return sheet->Tabs()->currentIndex() == index; }, 2s));
        Pump(150ms);
        QWidget* page = sheet->Page(caption);
        ASSERT_NE(page, nullptr);
        act(*sheet, *page);
    });
    driver.start();
    QPushButton* display = window.Button(app::kIdDisplay);
    ASSERT_NE(display, nullptr);
    Click(*display, display->rect().center());
    EXPECT_TRUE(WaitUntil([&] { return done; }, 5s)) << "DISPLAY opened no sheet";
    EXPECT_TRUE(WaitUntil([&] { return QApplication::activeModalWidget() == &window; }, closeLimit))
        << "the sheet did not close";
}

Simulator::Simulator(const std::vector<std::string>& args) {
    std::vector<std::string> argv{std::string(PELOR_BINARY_DIR) + "/tools/pelor-sim"};
    argv.insert(argv.end(), args.begin(), args.end());
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = Spawn(argv, fds[1]);
    ::close(fds[1]);
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    if (pid_ > 0) address_ = ReadLine(fds[0], std::chrono::seconds(10));
    ::close(fds[0]);
}

Simulator::~Simulator() {
    Kill();
}

int Simulator::Port() const {
    const auto colon = address_.rfind(':');
    return colon == std::string::npos ? 0 : std::atoi(address_.c_str() + colon + 1);
}

void Simulator::Kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

void RunMainWindow(const std::function<void(ui::CDataViewerDlg&)>& script) {
    EnsureApplication();
    const fs::path cwd = fs::current_path();
    ui::CDataViewerDlg window;
    bool ran = false;
    QTimer starter;
    starter.setSingleShot(false);
    QObject::connect(&starter, &QTimer::timeout, [&] {
        if (ran || !window.isVisible()) return;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != &window) {
            ADD_FAILURE() << "start-up left a dialog open: " << modal->windowTitle().toStdString();
            static_cast<QDialog*>(modal)->reject();
            return;
        }
        ran = true;
        starter.stop();
        // Let the window map and paint once before the script looks at it.
        Pump(std::chrono::milliseconds(300));
        script(window);
        // Closed without the questions a person would answer (a changed page layout): the
        // scripts that want them close the window themselves.
        if (window.isVisible()) window.CloseWithoutQuestions();
    });
    starter.start(50);
    window.DoModal();
    EXPECT_TRUE(ran) << "the main window never came up";
    std::error_code ec;
    fs::current_path(cwd, ec);
}

void RunConnectedWindow(const DemoProject& demo, std::chrono::milliseconds interval,
                        const std::function<void(ui::CDataViewerDlg&)>& script) {
    Simulator sim({"--tcp", "0", "--mode", "text", "--interval", std::to_string(interval.count())});
    ASSERT_GT(sim.Port(), 0) << "simulator did not start: '" << sim.Address() << "'";
    WriteTcpSettings(demo, sim);
    RunMainWindow([&](ui::CDataViewerDlg& window) {
        ASSERT_TRUE(WaitUntil([&] { return window.windowTitle().contains("SIM"); },
                              std::chrono::seconds(8)))
            << "never connected: " << window.windowTitle().toStdString();
        script(window);
    });
}

double ChangedShare(const QImage& a, const QImage& b, int tolerance) {
    if (a.size() != b.size() || a.isNull()) return 1.0;
    long changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (std::abs(qRed(pa[x]) - qRed(pb[x])) > tolerance ||
                std::abs(qGreen(pa[x]) - qGreen(pb[x])) > tolerance ||
                std::abs(qBlue(pa[x]) - qBlue(pb[x])) > tolerance) {
                ++changed;
            }
        }
    }
    return static_cast<double>(changed) / (static_cast<double>(a.width()) * a.height());
}

double LitShare(const QImage& image, int level) {
    if (image.isNull()) return 0.0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    long lit = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (std::max({qRed(p[x]), qGreen(p[x]), qBlue(p[x])}) > level) ++lit;
        }
    }
    return static_cast<double>(lit) / (static_cast<double>(rgb.width()) * rgb.height());
}

}  // namespace pelor::scenario
