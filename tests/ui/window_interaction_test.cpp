// The main window's pointer, menus, touch zones and switch controls, on the real window run
// off screen with the demo project.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "app/interaction.h"
#include "display/web_bitmap.h"
#include "display_render_support.h"
#include "temp_dir.h"
#include "ui/data_viewer_dlg.h"
#include "ui/label_menus.h"
#include "ui/qt_settings_store.h"
#include "ui/switch_window.h"
#include "ui/touch_menus_dialog.h"
#include "ui/window_interaction.h"

namespace {

using namespace pelor;
namespace fs = std::filesystem;

void App() {
    static const pelor::testing::TempDir config("pelor-uii");
    ::setenv("XDG_CONFIG_HOME", config.Dir().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ui::testing::EnsureQtApplication();
}

// A copy of the demo project in a scratch folder, named in the settings with `extra` values.
class Demo {
public:
    explicit Demo(const std::map<QString, QVariant>& extra = {}) {
        App();
        cwd_ = fs::current_path();
        dir_ = pelor::testing::MakeTempDir("pelor-uid");
        fs::copy(fs::path(PELOR_SOURCE_DIR) / "examples" / "demo", dir_,
                 fs::copy_options::recursive);
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, "Ferrulon",
                    ui::QtSettingsStore::ApplicationName());
        s.clear();
        s.setValue("ProjectFilePath", QString::fromStdString((dir_ / "Demo.cdp").string()));
        s.setValue("ShowCOMStatus", 0);
        for (const auto& [key, value] : extra) s.setValue(key, value);
        s.sync();
    }
    ~Demo() {
        std::error_code ec;
        fs::current_path(cwd_, ec);
        fs::remove_all(dir_, ec);
    }

private:
    fs::path cwd_;
    fs::path dir_;
};

// Runs the real window modally; `script` runs once inside its event loop, then the window is
// closed without the question a changed layout asks.
void RunWindow(const std::function<void(ui::CDataViewerDlg&)>& script) {
    ui::CDataViewerDlg window;
    bool ran = false;
    QTimer starter;
    QObject::connect(&starter, &QTimer::timeout, [&] {
        if (ran || !window.isVisible() || QApplication::activeModalWidget() != &window) return;
        ran = true;
        script(window);
        if (window.isVisible()) window.CloseWithoutQuestions();
    });
    starter.start(20);
    window.DoModal();
    EXPECT_TRUE(ran) << "the window never came up";
}

void Pump(int ms = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// The unit reports its twelve outputs ('1' on, '0' off), as one reader pass of its own.
void ReportSwitches(ui::CDataViewerDlg& window, const std::string& outputs) {
    {
        std::lock_guard lock(window.dashboard().channels.mutex);
        window.dashboard().channels.ReceiveText.clear();
    }
    window.dashboard().TextPass(
        links::TextLink::Serial,
        "$PKZLS,S," + outputs +
            "0000,SWITCH MODULE STATUS,12 OUTPUTS,BANK 0*00\r\n$PKZLS,V,SIM "
            "1.0  ,PELOR*00\r\n");
    Pump(120);
}

QPoint Center(const core::Rect& r) {
    return {r.x + r.width / 2, r.y + r.height / 2};
}

void RightClick(QWidget* widget, QPoint at) {
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &e);
}

void LeftRelease(QWidget* widget, QPoint at) {
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(at), QPointF(widget->mapToGlobal(at)),
                  Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &e);
}

// Presses `buttonId` of the next "Touch Menus" dialog as soon as it is shown.
void PressInTouchMenu(int buttonId, QString* pictureSeen = nullptr) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, buttonId, pictureSeen] {
        auto* dialog = qobject_cast<ui::TouchMenusDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        timer->stop();
        timer->deleteLater();
        if (pictureSeen != nullptr)
            *pictureSeen = dialog->Button(1678)->property("picture").toString();
        dialog->Button(buttonId)->click();
    });
    timer->start(20);
}

TEST(WindowInteraction, RightClickInACellAndAMenuChoiceChangeThePage) {
    Demo demo;
    RunWindow([](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        QWidget* area = window.GaugeAreaWidget();
        QMenu* top = window.Interaction().Menus().Top();
        const auto& layout = d.display.Layout();
        d.page.m_nCurrentPage = 1;

        RightClick(area, Center(layout.cells[7]));
        Pump();
        EXPECT_TRUE(top->isVisible()) << "a right click in a cell shows the label menu";
        EXPECT_EQ(d.page.m_nSelectedCell, 7);
        ASSERT_EQ(top->actions().size(), 16);
        EXPECT_EQ(top->actions()[0]->text().toStdString(), "ENG TEMP") << "label 0's name";
        QAction* dial = window.Interaction().Menus().Action(32815);  // label 4, DIAL
        ASSERT_NE(dial, nullptr);
        EXPECT_EQ(dial->text().toStdString(), "SmallDial");
        d.channels.m_PosMode[3] = 6;
        dial->trigger();
        top->hide();
        EXPECT_EQ(d.labelModes[1][4], 6);
        EXPECT_EQ(d.labelCells[1][4], 7);
        EXPECT_EQ(d.channels.m_PosMode[3], 0) << "live positions cleared for the new page";

        // Outside every cell: nothing shown, the selection kept.
        RightClick(area, QPoint(3, 3));
        Pump();
        EXPECT_FALSE(top->isVisible());
        EXPECT_EQ(d.page.m_nSelectedCell, 7);

        // NONE keeps the cell.
        RightClick(area, Center(layout.cells[0]));
        Pump();
        window.Interaction().Menus().Action(32823)->trigger();
        top->hide();
        EXPECT_EQ(d.labelModes[1][4], 0);
        EXPECT_EQ(d.labelCells[1][4], 7);

        // Labels 12..15 offer no Indicator; the greyed modes follow the display type.
        EXPECT_EQ(window.Interaction().Menus().Popup(12)->actions().size(), 11);
        EXPECT_EQ(window.Interaction().Menus().Popup(11)->actions().size(), 12);
        EXPECT_TRUE(window.Interaction().Menus().Action(32910)->isEnabled());
        {
            std::lock_guard lock(d.channels.mutex);
            d.display.ApplyLayout(d.channels, 1, 100, false);
        }
        window.ApplyLayout();
        EXPECT_FALSE(window.Interaction().Menus().Action(32910)->isEnabled()) << "type 1: ramp";
        EXPECT_TRUE(window.Interaction().Menus().Action(32789)->isEnabled()) << "type 1: text";

        // CLEAR empties the page; a double click toggles the grid.
        d.labelModes[1][2] = 4;
        window.OnCommand(app::kIdClear);
        EXPECT_EQ(d.labelModes[1][2], 0);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(50, 50),
                        QPointF(area->mapToGlobal(QPoint(50, 50))), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(area, &dbl);
        EXPECT_EQ(d.page.m_bShowGrid, 1);
    });
}

TEST(WindowInteraction, ToolTipsByControlId) {
    Demo demo;
    RunWindow([](ui::CDataViewerDlg& window) {
        const std::map<int, std::string> kTips = {
            {1002, "Next - click to goto next display screen"},
            {1003, "Flash - click to upload files to Remote Sensor Unit"},
            {1004, "Data Log - click to start recording or playback"},
            {1005, "USB Log - click to start USB data log"},
            {1006, "Connect - click to connect to Remote Sensor Unit"},
            {1007, "Save - click to save current screen layout"},
            {1024, "Preferences - click to change system settings"},
            {1181, "Clear Screen - click to erase current screen"},
            {1534, "Switch/Indicator 1 - Red=OFF, Green=ON, Yellow=UNKNOWN"},
            {1540, "Switch/Indicator 7 - Red=OFF, Green=ON, Yellow=UNKNOWN"},
            {1545, "Switch/Indicator 12 - Red=OFF, Green=ON, Yellow=UNKNOWN"},
            {1, ""},
        };
        for (const auto& [id, tip] : kTips)
            EXPECT_EQ(window.Button(id)->toolTip().toStdString(), tip) << id;
    });
}

// The fault seen: a switch status gave the main window's buttons the switch window's large
// pictures, and the buttons grew over each other.
TEST(WindowInteraction, SwitchStatusKeepsTheButtonsSmallGreenAndApart) {
    Demo demo;
    RunWindow([](ui::CDataViewerDlg& window) {
        // Outputs 1 and 11 go on and off again, the others stay on.
        ReportSwitches(window, "111111111111");
        ReportSwitches(window, "101111111110");
        std::vector<QRect> taken;
        const QRect inside(QPoint(0, 0), window.size());
        for (int k = 0; k < 12; ++k) {
            QPushButton* b = window.Button(app::kIdSwitch0 + k);
            EXPECT_EQ(b->size(), QSize(32, 32)) << k;
            EXPECT_EQ(b->iconSize(), QSize(32, 32)) << k;
            QLabel* name = window.Interaction().SwitchName(k);
            EXPECT_FALSE(name->text().isEmpty()) << k;
            for (const QRect& r : {b->geometry(), name->geometry()}) {
                EXPECT_TRUE(inside.contains(r)) << k << " is cut by the window's edge";
                for (const QRect& other : taken) EXPECT_FALSE(r.intersects(other)) << k;
                taken.push_back(r);
            }
            // What a person sees: green for on, red for off, in the middle of the button.
            const QColor c = b->grab().toImage().pixelColor(16, 16);
            if (k == 1 || k == 11)
                EXPECT_GT(c.red(), c.green()) << k << " is off: red";
            else
                EXPECT_GT(c.green(), c.red()) << k << " is on: green";
        }
        EXPECT_EQ(window.Interaction().SwitchName(0)->text().toStdString(), "NAV LTS");
    });
}

TEST(WindowInteraction, TouchZonesAtScale100And50) {
    for (const int scale : {100, 50}) {
        Demo demo({{"ShowCOMStatus", 0x80}, {"DisplayScale", scale}});
        RunWindow([scale](ui::CDataViewerDlg& window) {
            app::Dashboard& d = window.dashboard();
            ASSERT_EQ(d.page.m_bTouchMode, 1);
            QWidget* area = window.GaugeAreaWidget();
            const auto& zones = d.display.Layout().touchZones;
            // Type 9 at scale 100: next page (400, 260)-(610, 540).
            EXPECT_EQ(zones[display::kTouchNextPage].x, 400 * scale / 100);
            EXPECT_EQ(zones[display::kTouchNextPage].width, 210 * scale / 100);

            LeftRelease(area, Center(zones[display::kTouchNextPage]));
            EXPECT_EQ(d.page.m_nCurrentPage, 1) << scale;
            LeftRelease(area, Center(zones[display::kTouchFirstPage]));
            EXPECT_EQ(d.page.m_nCurrentPage, 0) << scale;
            // Between the zones: nothing.
            LeftRelease(area, QPoint(350 * scale / 100, 100 * scale / 100));
            EXPECT_EQ(d.page.m_nCurrentPage, 0) << scale;
            EXPECT_EQ(window.Interaction().Switches(), nullptr);
            LeftRelease(area, Center(zones[display::kTouchSwitches]));
            ASSERT_NE(window.Interaction().Switches(), nullptr) << scale;
            EXPECT_TRUE(window.Interaction().Switches()->isVisible());
            window.Interaction().Switches()->close();

            // The touch menu zone opens the dialog; NEXT turns the page.
            PressInTouchMenu(1672);
            LeftRelease(area, Center(zones[display::kTouchMenu]));
            EXPECT_EQ(d.page.m_nCurrentPage, 1) << scale;
        });
    }
    // Touch mode off: left clicks do nothing.
    Demo demo;
    RunWindow([](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        ASSERT_EQ(d.page.m_bTouchMode, 0);
        LeftRelease(window.GaugeAreaWidget(),
                    Center(d.display.Layout().touchZones[display::kTouchNextPage]));
        EXPECT_EQ(d.page.m_nCurrentPage, 0);
    });
}

TEST(WindowInteraction, FullScreenSizesForTwoDisplayTypes) {
    Demo demo({{"ShowCOMStatus", 0x80}});
    RunWindow([](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        const QSize normal = window.size();
        // Type 9 (T100L): stored width - 126, stored height - 10 of the 800 x 570 window.
        QString picture;
        PressInTouchMenu(1678, &picture);
        window.Interaction().RunTouchMenu();
        EXPECT_EQ(picture.toStdString(), "FULLSCREENU");
        EXPECT_EQ(d.page.m_bFullScreen, 1);
        EXPECT_EQ(window.size(), QSize(674, 560));
        PressInTouchMenu(1678, &picture);
        window.Interaction().RunTouchMenu();
        EXPECT_EQ(picture.toStdString(), "FULLSCREEND") << "full screen shows the pressed look";
        EXPECT_EQ(d.page.m_bFullScreen, 0);
        EXPECT_EQ(window.size(), normal);

        // Type 6 (T050L): 775 x 560.
        {
            std::lock_guard lock(d.channels.mutex);
            d.display.ApplyLayout(d.channels, 6, 100, false);
        }
        d.page.m_nDisplayType = 6;
        window.ApplyLayout();
        PressInTouchMenu(1678);
        window.Interaction().RunTouchMenu();
        EXPECT_EQ(window.size(), QSize(775, 560));

        // SETUP runs the DISPLAY command: the preferences sheet opens (closed here by a
        // watcher that records its title); the page and the full-screen size stay.
        const int page = d.page.m_nCurrentPage;
        QStringList opened;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&opened, &window] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == &window || qobject_cast<ui::TouchMenusDialog*>(modal))
                return;
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                opened << dialog->windowTitle();
                dialog->reject();
            }
        });
        closer.start(30);
        PressInTouchMenu(1671);
        window.Interaction().RunTouchMenu();
        closer.stop();
        EXPECT_TRUE(opened.contains("Pelor Preferences")) << opened.join(", ").toStdString();
        EXPECT_EQ(d.page.m_nCurrentPage, page);
        EXPECT_EQ(window.size(), QSize(775, 560)) << "full screen stays";

        // SWITCH opens the "Kantelo" window.
        PressInTouchMenu(1673);
        window.Interaction().RunTouchMenu();
        ASSERT_NE(window.Interaction().Switches(), nullptr);
        EXPECT_TRUE(window.Interaction().Switches()->isVisible());
    });
}

TEST(WindowInteraction, KanteloWindowButtonsNamesAndStates) {
    Demo demo;
    RunWindow([](ui::CDataViewerDlg& window) {
        ReportSwitches(window, "000001000000");
        window.Interaction().OpenSwitchWindow();
        ui::SwitchWindow* w = window.Interaction().Switches();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle().toStdString(), "Kantelo");
        EXPECT_FALSE(w->isModal());
        for (int k = 0; k < 12; ++k) {
            EXPECT_EQ(w->Button(k)->size(), QSize(96, 96)) << k;
            EXPECT_EQ(w->Button(k)->property("controlId").toInt(), 1534 + k);
            EXPECT_EQ(w->Name(k)->property("controlId").toInt(), 1068 + k);
        }
        // Three columns of four: 0..3 down the left, 4..7 in the middle.
        EXPECT_LT(w->Button(0)->x(), w->Button(4)->x());
        EXPECT_LT(w->Button(4)->x(), w->Button(8)->x());
        EXPECT_EQ(w->Button(0)->x(), w->Button(3)->x());
        EXPECT_LT(w->Button(0)->y(), w->Button(1)->y());
        EXPECT_EQ(w->Name(2)->text().toStdString(), "BILGE");
        EXPECT_TRUE(w->State(5)) << "starts from the module's report";
        EXPECT_FALSE(w->State(4));
        EXPECT_EQ(w->Button(5)->property("picture").toString().toStdString(), "SWGREEN");
        // A press flips the button; without a link nothing is sent.
        w->Button(4)->click();
        EXPECT_TRUE(w->State(4));
        EXPECT_EQ(w->Button(4)->property("picture").toString().toStdString(), "SWGREEN");
        // The module's next report sets it back.
        ReportSwitches(window, "000000000000");
        EXPECT_FALSE(w->State(5));
    });
}

// The paint only hands the gauge area over; the window's step writes the web bitmap, so no
// file is written while the paint holds the channel store.
TEST(GaugeArea, ThePaintWritesNoWebBitmapTheStepAfterItDoes) {
    Demo demo;
    const std::string path = std::string(PELOR_BINARY_DIR) + "/gauge_area_web.bmp";
    fs::remove(path);
    RunWindow([&path](ui::CDataViewerDlg& window) {
        app::Dashboard& d = window.dashboard();
        const tables::Project before = d.project;
        d.project.webBitmapEnabled = true;
        d.project.webBitmapPath = path;
        window.RequestRepaint();
        window.GaugeAreaWidget()->grab();  // one paint, now
        EXPECT_FALSE(fs::exists(path)) << "the paint wrote the bitmap";

        d.Watch();
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
        const display::LayoutState& layout = d.display.Layout();
        display::RgbBuffer blank;
        blank.width = layout.gaugeArea.width;
        blank.height = layout.gaugeArea.height;
        ASSERT_EQ(bytes.size(), display::EncodeWebBitmap(blank).size());
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + display::kBmpHeaderSize,
                               display::EncodeWebBitmap(blank).begin()))
            << "the header of a bitmap of the gauge area";
        EXPECT_TRUE(d.project.webBitmapEnabled);
        d.project = before;
    });
    fs::remove(path);
}

}  // namespace
