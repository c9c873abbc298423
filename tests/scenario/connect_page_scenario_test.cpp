// An installer sets up the link from the real window: DISPLAY opens the sheet, the CONNECT tab
// is clicked, "UDP" and "N2K" are clicked, "Search Com Ports" runs to "Finished Search" and OK
// is pressed; the sheet opened again shows both still checked. All through the X server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
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
            EXPECT_TRUE(page.Radio(prefs::LinkRadio::Com)->isChecked());
            ClickMark(*page.Radio(prefs::LinkRadio::Udp));
            EXPECT_TRUE(scenario::WaitUntil(
                [&] { return page.Radio(prefs::LinkRadio::Udp)->isChecked(); }, 2s));
            ClickMark(*page.N2kBox());
            EXPECT_TRUE(scenario::WaitUntil([&] { return page.N2kBox()->isChecked(); }, 2s));

            // The search looks at the ports of the link chosen: back to COM for it.
            ClickMark(*page.Radio(prefs::LinkRadio::Com));
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
            ClickMark(*page.Radio(prefs::LinkRadio::Udp));
            EXPECT_TRUE(scenario::WaitUntil(
                [&] { return page.Radio(prefs::LinkRadio::Udp)->isChecked(); }, 2s));
            scenario::Pump(200ms);
            scenario::SaveShot(scenario::GrabWindow(sheet), "preferences-connect-udp-n2k");
            auto* ok = sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            ClickCentre(*ok);
        });
        EXPECT_EQ(window.dashboard().settings.connectionType, 7);

        bool udp = false;
        bool n2k = false;
        OnConnectPage(window, [&](ui::PreferencesSheet&, ui::CConnectSettings& page) {
            udp = page.Radio(prefs::LinkRadio::Udp)->isChecked();
            n2k = page.N2kBox()->isChecked();
            auto* close = page.findChild<QPushButton*>("PREFCLOSE");
            ASSERT_NE(close, nullptr);
            ClickCentre(*close);
        });
        EXPECT_TRUE(udp);
        EXPECT_TRUE(n2k);
    });
}

// An address the network link cannot use is refused when OK is pressed: the person types it
// into "IP Address", presses OK with the pointer, reads the message, answers it, and finds the
// sheet still open on the CONNECT page; the window keeps the address it had.
TEST(ConnectPageScenario, OkRefusesAnInvalidIpAddressAndTheSheetStaysOnConnect) {
    scenario::EnsureApplication();
    scenario::DemoProject demo;
    scenario::WriteSettings({{"ProjectFilePath", demo.Project()},
                             {"ShowCOMStatus", "0"},
                             {"ConnectionType", "1"},
                             {"IPAddress", "127.0.0.1"}});

    scenario::RunMainWindow([&](ui::CDataViewerDlg& window) {
        std::vector<std::string> messages;
        bool openAfterMessage = false;
        QString tabAfterMessage;
        OnConnectPage(window, [&](ui::PreferencesSheet& sheet, ui::CConnectSettings& page) {
            EXPECT_TRUE(page.Radio(prefs::LinkRadio::Tcp)->isChecked());
            auto* address = page.findChild<QLineEdit*>("ipAddressEdit");
            ASSERT_NE(address, nullptr);
            ClickCentre(*address);
            scenario::Key(sheet, "ctrl+a");
            for (const char* key :
                 {"1", "2", "7", "period", "0", "period", "0", "period", "9", "9", "9"}) {
                scenario::Key(sheet, key);
            }
            ASSERT_TRUE(scenario::WaitUntil([&] { return address->text() == "127.0.0.999"; }, 2s))
                << "typed: " << address->text().toStdString();

            // The message box runs its own loop: a timer inside it plays the person.
            QTimer person;
            QMessageBox* answered = nullptr;
            QObject::connect(&person, &QTimer::timeout, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                if (box == nullptr || !box->isVisible()) return;
                QAbstractButton* ok = box->button(QMessageBox::Ok);
                if (box != answered) {
                    answered = box;
                    messages.push_back(box->text().toStdString());
                    scenario::Pump(200ms);
                    if (ok != nullptr) ClickCentre(*ok);
                } else {
                    scenario::Key(*box, "Return");  // the pointer landed before the box was placed
                }
            });
            person.start(50);
            auto* ok = sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
            ClickCentre(*ok);
            EXPECT_TRUE(scenario::WaitUntil(
                [&] { return !messages.empty() && QApplication::activeModalWidget() == &sheet; },
                10s))
                << "no message, or it was not answered";
            person.stop();
            scenario::Pump(200ms);
            openAfterMessage = sheet.isVisible();
            tabAfterMessage = sheet.Tabs()->tabText(sheet.Tabs()->currentIndex());
            scenario::SaveShot(scenario::GrabWindow(sheet), "preferences-connect-invalid-address");

            auto* close = page.findChild<QPushButton*>("PREFCLOSE");
            ASSERT_NE(close, nullptr);
            ClickCentre(*close);
        });
        EXPECT_EQ(messages, std::vector<std::string>{"CONNECT: Invalid IP address 127.0.0.999"});
        EXPECT_TRUE(openAfterMessage) << "OK closed the sheet with the address";
        EXPECT_EQ(tabAfterMessage, "CONNECT");
        EXPECT_EQ(window.dashboard().settings.ipAddress, "127.0.0.1");
    });
}

}  // namespace
