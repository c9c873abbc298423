#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <filesystem>

#include "display_render_support.h"
#include "tables/options_file.h"
#include "tables/project_file.h"
#include "temp_dir.h"
#include "ui/data_viewer_dlg.h"
#include "ui/qt_prompt.h"
#include "ui/qt_settings_store.h"

namespace {

using namespace pelor;

// The program's one QApplication, on the offscreen platform, with settings in a scratch
// folder so a developer's own settings are never touched.
void App() {
    // Removed when the program ends.
    static const pelor::testing::TempDir config("pelor-ui");
    ::setenv("XDG_CONFIG_HOME", config.Dir().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ui::testing::EnsureQtApplication();
}

QSettings UserSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon",
                     ui::QtSettingsStore::ApplicationName());
}

// A minimal valid project: options (page count, display type) and a named log file; every
// other table is missing and is asked for — the tests cancel those dialogs.
std::string WriteProject(const std::string& dir, std::uint8_t displayType = 10) {
    core::ScriptedPrompt quiet;
    tables::OptionsTable options{};
    options[0] = 3;
    options[6] = displayType;
    EXPECT_TRUE(tables::WriteOptionsFile(quiet, dir, "Options.txt", options));
    tables::Project p;
    p.directory = dir;
    p.projectFile = "Ui.cdp";
    p.optionsFileA = p.optionsFileB = p.optionsFileC = "Options.txt";
    p.logFile = "Log.txt";
    p.webBitmapPath = tables::kNoWebBitmap;
    EXPECT_TRUE(tables::SaveProject(quiet, p));
    return dir + "Ui.cdp";
}

TEST(QtPrompt, FiltersBecomeQtFilterLists) {
    EXPECT_EQ(ui::FilterList("CDP Files (*.cdp)|*.cdp|TXT Files (*.txt)|*.txt||"),
              (QStringList{"CDP Files (*.cdp)", "TXT Files (*.txt)"}));
    EXPECT_EQ(ui::FilterList("Logs|*.csv||"), (QStringList{"Logs (*.csv)"}));
    EXPECT_TRUE(ui::FilterList("").isEmpty());
}

TEST(MainWindow, HasEveryButtonTheTitleAndSavesItsSettingsOnClose) {
    App();
    const std::string cwd = std::filesystem::current_path().string();
    const std::string dir = pelor::testing::MakeTempDir("pelor-uip") + "/";
    const std::string projectPath = WriteProject(dir);
    {
        QSettings s = UserSettings();
        s.clear();
        s.setValue("ProjectFilePath", QString::fromStdString(projectPath));
        s.setValue("ShowCOMStatus", 0x81);
    }

    ui::CDataViewerDlg window;
    // Missing tables open file choosers and messages: close each as it appears, and count.
    QStringList shown;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&shown, &window] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != &window && modal->inherits("QDialog")) {
            shown << modal->metaObject()->className();
            static_cast<QDialog*>(modal)->reject();
        }
    });
    canceller.start(20);
    // Once the window runs its own loop, press OK.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&window] {
        if (window.isVisible() && QApplication::activeModalWidget() == &window) {
            // Recording starts and stops from the RECORD button, then OK closes.
            window.OnCommand(app::kIdRecord);
            window.OnCommand(app::kIdRecord);
            window.OnCommand(app::kIdOk);
        }
    });
    closer.start(50);
    window.DoModal();

    for (const auto& entry : app::kPictureButtons) {
        QPushButton* b = window.Button(entry.id);
        ASSERT_NE(b, nullptr) << entry.caption;
        EXPECT_EQ(b->objectName().toStdString(), entry.caption);
        EXPECT_EQ(b->property("controlId").toInt(), entry.id);
    }
    EXPECT_EQ(window.windowTitle().toStdString(), "::disconnected");
    EXPECT_FALSE(shown.isEmpty()) << "the missing tables were asked for";
    auto* status = window.findChild<QPlainTextEdit*>("StatusWindow");
    ASSERT_NE(status, nullptr);
    EXPECT_FALSE(status->isHidden()) << "ShowCOMStatus 0x81: status window shown";
    EXPECT_EQ(window.dashboard().page.m_nPageCount, 3);

    QSettings saved = UserSettings();
    saved.sync();
    for (const char* key :
         {"BaudRate", "ComPort", "CaptureInterval", "DisplayType", "DisplayScale",
          "SerialBufferSize", "TCPPort", "ConnectionType", "TCPBufferSize", "USBDeviceNumber",
          "USBBufferSize", "USBBaudRate", "ShowCOMStatus", "IPAddress", "ProjectFilePath"}) {
        EXPECT_TRUE(saved.contains(key)) << key;
    }
    EXPECT_EQ(saved.value("ShowCOMStatus").toUInt(), 0x81u);
    EXPECT_EQ(saved.value("DisplayType").toUInt(), 10u);

    EXPECT_TRUE(std::filesystem::exists(dir + "Log.txt")) << "RECORD created the log";
    EXPECT_FALSE(window.dashboard().Capture().Recording());

    std::error_code ec;
    std::filesystem::current_path(cwd, ec);
    std::filesystem::remove_all(dir, ec);
}

// Display type 14 opens a window larger than most screens: it starts with the gauge area
// scaled down, drawn at that size, so the whole window and its buttons are on the screen.
TEST(MainWindow, ALargeDisplayTypeStartsScaledDownToFitTheScreen) {
    App();
    const std::string cwd = std::filesystem::current_path().string();
    const std::string dir = pelor::testing::MakeTempDir("pelor-uiz") + "/";
    const std::string projectPath = WriteProject(dir, 14);
    {
        QSettings s = UserSettings();
        s.clear();
        s.setValue("ProjectFilePath", QString::fromStdString(projectPath));
        s.setValue("ShowCOMStatus", 0);
    }

    ui::CDataViewerDlg window;
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&window] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != &window && modal->inherits("QDialog"))
            static_cast<QDialog*>(modal)->reject();
    });
    canceller.start(20);
    QSize shown;
    QRect room;
    double zoom = 0;
    double canvasZoom = 0;
    QRect okButton;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (window.isVisible() && QApplication::activeModalWidget() == &window) {
            shown = window.size();
            room = window.screen()->availableGeometry();
            zoom = window.ViewZoom();
            canvasZoom = window.Canvas().Zoom();
            QPushButton* ok = window.Button(app::kIdOk);
            okButton = QRect(ok->mapTo(&window, QPoint(0, 0)), ok->size());
            window.OnCommand(app::kIdOk);
        }
    });
    closer.start(50);
    window.DoModal();

    ASSERT_EQ(window.dashboard().page.m_nDisplayType, 14);
    const core::Rect area = window.dashboard().display.Layout().scaledGaugeArea;
    ASSERT_GT(area.x + area.width, room.width()) << "the type no longer needs scaling here";
    EXPECT_LT(zoom, 1.0);
    EXPECT_EQ(canvasZoom, zoom * window.devicePixelRatioF());
    EXPECT_LE(shown.width(), room.width());
    EXPECT_LE(shown.height(), room.height());
    EXPECT_TRUE(QRect(QPoint(0, 0), shown).contains(okButton)) << "OK is off the window";

    std::error_code ec;
    std::filesystem::current_path(cwd, ec);
    std::filesystem::remove_all(dir, ec);
}

}  // namespace
