#pragma once
// Real-window scenarios: each test program starts its own Xvfb, runs the real main window on
// the X server (platform "xcb"), drives it with pointer and keys through the window system
// (xdotool) and reads back what the X server shows. The unit simulator runs as a process of
// its own on 127.0.0.1, so a test can kill it as a person would pull a cable.
#include <QImage>
#include <QPoint>
#include <QString>
#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

class QWidget;

namespace pelor::ui {
class CDataViewerDlg;
class PreferencesSheet;
}  // namespace pelor::ui

namespace pelor::scenario {

// The application object on the Xvfb display, created once per test program (Xvfb is started
// by a test environment before the first test runs; fails the test when it cannot start).
void EnsureApplication();

// Runs events until `done` holds or `limit` passes; returns whether it held.
bool WaitUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
// Runs events for `period`.
void Pump(std::chrono::milliseconds period);

// What the X server shows of a top-level window (not what Qt would paint offscreen).
QImage GrabWindow(QWidget& window);
// Saves `image` as a PNG under build/scenario-shots/ (for people to look at); returns the path.
std::string SaveShot(const QImage& image, const std::string& name);

// Pointer and keys through the X server (xdotool). Positions are in `widget`'s coordinates.
void Click(QWidget& widget, QPoint at, int button = 1);
void DoubleClick(QWidget& widget, QPoint at);
// `keys` in xdotool's names, e.g. "Escape", "alt+F4", "Return". Sent to the focused window
// after giving `window` the input focus.
void Key(QWidget& window, const std::string& keys);
// Types `text` as a person would on the keyboard, into the focused widget of `window`.
void Type(QWidget& window, const std::string& text);

// A copy of examples/demo in a fresh temporary folder (removed by the destructor); Project()
// is the path of its project file.
class DemoProject {
public:
    explicit DemoProject(const std::string& example = "demo");
    ~DemoProject();
    DemoProject(const DemoProject&) = delete;
    DemoProject& operator=(const DemoProject&) = delete;
    const std::string& Dir() const { return dir_; }  // ends in "/"
    std::string Project() const;

private:
    std::string dir_;
    std::string projectFile_;
};

// Replaces the program's settings (QSettings of "Ferrulon"/program name in the scratch
// configuration folder of this test program) with these values; numbers as text are stored
// as numbers.
void WriteSettings(const std::map<std::string, std::string>& values);

class Simulator;
// WriteSettings for a run of `demo` that connects at start over TCP to `sim` on 127.0.0.1
// (connection type 129: the unit's sentences; 132: adapter frames), without the status
// window.
void WriteTcpSettings(const DemoProject& demo, const Simulator& sim,
                      const std::string& connection = "129");

// pelor-sim as a process; the first line it prints is where to connect.
class Simulator {
public:
    explicit Simulator(const std::vector<std::string>& args);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;
    // "127.0.0.1:PORT" or the pseudo-terminal's path; empty if it did not start.
    const std::string& Address() const { return address_; }
    int Port() const;
    // Ends it at once (SIGKILL), as a pulled cable or a crashed unit.
    void Kill();

private:
    int pid_ = -1;
    std::string address_;
};

// Runs the real main window modally (start-up, event loop, shut-down). Once the window is
// shown, `script` runs inside its event loop; when it returns the window is closed (without the
// questions of a changed layout) unless the script closed it. Dialogs left open by start-up
// fail the test.
void RunMainWindow(const std::function<void(ui::CDataViewerDlg&)>& script);

// RunMainWindow on `demo` connected at start over TCP to a simulated unit sending its text
// sentences every `interval`: `script` runs once the caption shows the unit's version (the test
// fails if it never does within 8 s).
void RunConnectedWindow(const DemoProject& demo, std::chrono::milliseconds interval,
                        const std::function<void(ui::CDataViewerDlg&)>& script);

// Opens the preferences sheet with DISPLAY clicked through the X server, clicks the tab
// `caption`, runs `act` on the sheet and the page, and waits up to `closeLimit` for the sheet
// to close (which `act` must bring about).
void OnSheetPage(ui::CDataViewerDlg& window, const QString& caption,
                 const std::function<void(ui::PreferencesSheet&, QWidget&)>& act,
                 std::chrono::milliseconds closeLimit = std::chrono::milliseconds(10000));

// Share of pixels that differ between `a` and `b` (same size) by more than `tolerance` in any
// channel.
double ChangedShare(const QImage& a, const QImage& b, int tolerance = 24);
// Share of pixels in `image` brighter than `level` (max channel).
double LitShare(const QImage& image, int level = 64);

}  // namespace pelor::scenario
