// An installer sets up the link from the real window: DISPLAY opens the sheet, the CONNECT tab
// is clicked, "UDP" and "N2K" are clicked, "Search Com Ports" runs to "Finished Search" and OK
// is pressed; the sheet opened again shows both still checked. All through the X server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "scenario_support.h"
#include "ui/data_viewer_dlg.h"
#include "ui/preferences_sheet.h"
#include "ui/prefs_connect_page.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// Opens the sheet with DISPLAY clicked, clicks the CONNECT tab, runs `act` on the page and
// waits for the sheet to close (which `act` must bring about).
void OnConnectPage(ui::CDataViewerDlg& window,
                   const std::function<void(ui::PreferencesSheet&, ui::CConnectSettings&)>& act) {
    scenario::OnSheetPage(window, "CONNECT", [&](ui::PreferencesSheet& sheet, QWidget& page) {
        auto* connect = qobject_cast<ui::CConnectSettings*>(&page);
        ASSERT_NE(connect, nullptr);
        act(sheet, *connect);
    });
}

void ClickCentre(QWidget& w) {
    scenario::Click(w, w.rect().center());
}

// Radio buttons and check boxes take clicks on their mark and caption only.
void ClickMark(QWidget& w) {
    scenario::Click(w, QPoint(8, w.height() / 2));
}

TEST(ConnectPageScenario, UdpFramesChosenSavedAndShownAgainAndThePortSearchFinishes) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings(
        {{"ProjectFilePath", demo.Project()}, {"ShowCOMStatus", "0"}, {"ConnectionType", "0"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        OnConnectPage(window, [](ui::PreferencesSheet& sheet, ui::CConnectSettings& page) {
            EXPECT_LE(sheet.frameGeometry().width(), 1024);
            EXPECT_LE(sheet.frameGeometry().height(), 768);
            EXPECT_TRUE(page.Radio(links::LinkRadio::Com)->isChecked());
            ClickMark(*page.Radio(links::LinkRadio::Udp));
            EXPECT_TRUE(scenario::WaitUntil(
                [&] { return page.Radio(links::LinkRadio::Udp)->isChecked(); }, 2s));
            ClickMark(*page.N2kBox());
            EXPECT_TRUE(scenario::WaitUntil([&] { return page.N2kBox()->isChecked(); }, 2s));

            // The search looks at the ports of the link chosen: back to COM for it.
            ClickMark(*page.Radio(links::LinkRadio::Com));
            auto* search = page.findChild<QPushButton*>("searchComPortsButton");
            ASSERT_NE(search, nullptr);
            ClickCentre(*search);
            EXPECT_TRUE(scenario::WaitUntil(
                [&] {
                    QListWidget* list = page.ComList();
                    return list->count() > 0 &&
                           list->item(list->count() - 1)->text() == "Finished Search";
                },
                10s))
                << "the search did not finish";
            ClickMark(*page.Radio(links::LinkRadio::Udp));
            EXPECT_TRUE(scenario::WaitUntil(
                [&] { return page.Radio(links::LinkRadio::Udp)->isChecked(); }, 2s));
            scenario::Pump(200ms);
            scenario::SaveShot(scenario::GrabWindow(sheet), "preferences-connect-udp-n2k");
            auto* ok = sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            ClickCentre(*ok);
        });
        EXPECT_EQ(window.dashboard().settings.connectionType, 7);

        bool udp = false;
        bool n2k = false;
        OnConnectPage(window, [&](ui::PreferencesSheet&, ui::CConnectSettings& page) {
            udp = page.Radio(links::LinkRadio::Udp)->isChecked();
            n2k = page.N2kBox()->isChecked();
            auto* close = page.findChild<QPushButton*>("PREFCLOSE");
            ASSERT_NE(close, nullptr);
            ClickCentre(*close);
        });
        EXPECT_TRUE(udp);
        EXPECT_TRUE(n2k);
    });
}

}  // namespace
