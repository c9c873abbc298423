// The CONNECT page on the offscreen platform, in the sheet over a started dashboard (a copy of
// the demo project): the stored link shown and taken back on OK, the adapter list saved into
// the options file, the port search against pseudo-terminals and the USB device list from the
// fake USB library.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dialog_support.h"
#include "display_render_support.h"
#include "file_bytes.h"
#include "loopback.h"
#include "prefs/preferences.h"
#include "tables/options_file.h"
#include "temp_dir.h"
#include "ui/preferences_sheet.h"
#include "ui/prefs_connect_page.h"

namespace {

using namespace pelor;
namespace fs = std::filesystem;

using pelor::testing::ReadBytes;
using ui::testing::Press;

QStringList Lines(QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

// A pseudo-terminal whose slave the search may open.
struct Pty {
    Pty() {
        char name[128] = {};
        EXPECT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
        path = name;
        termios t{};
        tcgetattr(slave, &t);
        cfsetispeed(&t, B4800);
        cfsetospeed(&t, B4800);
        tcsetattr(slave, TCSANOW, &t);
    }
    ~Pty() {
        close(slave);
        close(master);
    }
    int master = -1, slave = -1;
    std::string path;
};

struct NoHooks : app::WindowHooks {};

class ConnectPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::testing::EnsureQtApplication();
        root_ = pelor::testing::MakeTempDir("pelor-connect");
        dir_ = root_ + "/demo/";
        cwd_ = fs::current_path().string();
        fs::copy(std::string(PELOR_SOURCE_DIR) + "/examples/demo", dir_);
        store.values["ProjectFilePath"] = dir_ + "Demo.cdp";
    }
    void Open() {
        ASSERT_TRUE(dashboard.Initialise(hooks));
        copies = prefs::MakePreferencesCopies(dashboard);
        sheet = std::make_unique<ui::PreferencesSheet>(copies, prompt);
        sheet->show();
        page = qobject_cast<ui::CConnectSettings*>(sheet->Page("CONNECT"));
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override {
        sheet.reset();
        std::error_code ec;
        fs::current_path(cwd_, ec);
        fs::remove_all(root_, ec);
    }
    template <class W>
    W* Child(const char* name) {
        auto* w = page->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::string OptionsBytes(const tables::OptionsTable& table) {
        core::ScriptedPrompt quiet;
        EXPECT_TRUE(tables::WriteOptionsFile(quiet, root_ + "/", "Expected.txt", table));
        return ReadBytes(root_ + "/Expected.txt");
    }
    void WaitForSearch() {
        QElapsedTimer t;
        t.start();
        while (page->SearchRunning() && t.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        ASSERT_FALSE(page->SearchRunning());
    }

    core::ScriptedPrompt prompt;
    core::MemorySettingsStore store;
    core::RecordingView view;
    core::ManualClock clock;
    NoHooks hooks;
    app::Dashboard dashboard{prompt, store, view, clock};
    prefs::PreferencesCopies copies;
    std::unique_ptr<ui::PreferencesSheet> sheet;
    ui::CConnectSettings* page = nullptr;
    std::string root_, dir_, cwd_;
};

TEST_F(ConnectPageTest, ShowsTheStoredLinkAndOkTakesTheEdits) {
    store.values["ConnectionType"] = 0x87u;  // UDP frames, connect at start
    store.values["ComPort"] = 2u;
    store.values["CaptureInterval"] = 3u;
    store.values["SerialDevicePath"] = std::string("/dev/serial/by-id/usb-A-if00");
    Open();
    EXPECT_TRUE(page->Radio(prefs::LinkRadio::Udp)->isChecked());
    EXPECT_TRUE(page->N2kBox()->isChecked());
    EXPECT_TRUE(Child<QCheckBox>("Connect On Start")->isChecked());
    EXPECT_EQ(Child<QSpinBox>("COM PORT")->value(), 3);
    EXPECT_EQ(Child<QComboBox>("Update Interval")->currentText(), "5 Sec");
    EXPECT_EQ(Child<QLineEdit>("serialDevicePathEdit")->text(), "/dev/serial/by-id/usb-A-if00");
    EXPECT_EQ(Child<QLineEdit>("ipAddressEdit")->text(), "192.168.0.100");
    EXPECT_EQ(Child<QSpinBox>("tcpPortEdit")->value(), 10001);

    page->Radio(prefs::LinkRadio::Tcp)->click();
    page->N2kBox()->setChecked(false);
    Child<QSpinBox>("COM PORT")->setValue(34);
    Child<QComboBox>("Update Interval")->setCurrentIndex(7);  // "5 Min"
    Child<QComboBox>("Baud Rate (COM)")->setCurrentIndex(6);
    Child<QLineEdit>("serialDevicePathEdit")->clear();
    Child<QLineEdit>("ipAddressEdit")->setText("127.0.0.1");
    Child<QSpinBox>("TCP Buffer")->setValue(900);
    Child<QCheckBox>("Port Pass Through")->setChecked(true);
    Press(page, "PREFOK");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    const app::Settings& s = dashboard.settings;
    EXPECT_EQ(s.connectionType, 1);
    EXPECT_TRUE(s.autoConnect);
    EXPECT_EQ(s.comPort, 33);
    EXPECT_EQ(s.captureIntervalIndex, 7);
    EXPECT_EQ(s.captureIntervalSeconds, 300);
    EXPECT_EQ(s.baudRate, 115200);
    EXPECT_EQ(s.serialDevicePath, "");
    EXPECT_EQ(s.ipAddress, "127.0.0.1");
    EXPECT_EQ(s.tcpBufferSize, 900);
    EXPECT_TRUE(s.portPassThrough);
}

TEST_F(ConnectPageTest, UnknownTypeShowsComAndAFieldOutOfRangeKeepsTheSheetOpen) {
    store.values["ConnectionType"] = 0x0Cu;
    Open();
    EXPECT_TRUE(page->Radio(prefs::LinkRadio::Com)->isChecked());
    Child<QSpinBox>("Serial Buffer")->setValue(150);
    Press(page, "PREFOK");
    EXPECT_NE(sheet->result(), QDialog::Accepted);
    EXPECT_EQ(prompt.MessageTexts(),
              std::vector<std::string>{"CONNECT: Serial Buffer must be 200 to 799"});
    Child<QSpinBox>("Serial Buffer")->setValue(200);
    Press(page, "PREFOK");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(dashboard.settings.connectionType, 0);
    EXPECT_EQ(dashboard.settings.serialBufferSize, 200);
}

TEST_F(ConnectPageTest, AdapterListSavesItsBytesAndOkTakesTheFlag) {
    Open();
    // The file's own bytes: a NMEA 2000 row byte and a PGN slot past the page's 21 rows.
    tables::OptionsTable onDisk = dashboard.tables.options;
    onDisk[300] = 0x77;
    onDisk[360] = 0x5A;
    onDisk[336] = 0xFF;
    onDisk[356] = 0x00;
    onDisk[367] = 0x00;
    core::ScriptedPrompt quiet;
    ASSERT_TRUE(tables::WriteOptionsFile(quiet, dir_, copies.optionsFile, onDisk));
    copies.options.table[336] = 0xFF;
    copies.options.table[356] = 0x00;
    copies.options.table[367] = 0x00;
    page->Refresh();

    EXPECT_FALSE(page->InitAdapterBox()->isChecked());
    EXPECT_FALSE(page->RxBox(0)->isEnabled());
    page->InitAdapterBox()->setChecked(true);
    EXPECT_TRUE(page->RxBox(0)->isEnabled());
    EXPECT_FALSE(page->RxBox(0)->isChecked());
    EXPECT_TRUE(page->TxBox(20)->isChecked());
    page->RxBox(0)->setChecked(true);    // 336: receive on
    page->TxBox(20)->setChecked(false);  // 356: transmit off
    EXPECT_EQ(page->RxBox(0)->objectName(), "127488 Engine Params Rapid RX");

    Press(page, "PREFSAVE");
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{"File Saved"});
    tables::OptionsTable expected = onDisk;
    expected[336] = 0xF0;
    expected[356] = 0xF0;
    expected[367] = 0xFF;
    EXPECT_EQ(ReadBytes(dir_ + copies.optionsFile), OptionsBytes(expected));

    Press(page, "PREFOK");
    ASSERT_EQ(sheet->result(), QDialog::Accepted);
    prefs::ApplyPreferences(dashboard, copies, hooks);
    EXPECT_EQ(dashboard.tables.values.adapterInit, 0xFF);
    EXPECT_EQ(dashboard.tables.options[356], 0xF0);
}

TEST_F(ConnectPageTest, SearchListsThePortsAndADoubleClickTestsAndChoosesOne) {
    Open();
    Pty a, b;
    page->SetPortLister([&] {
        return std::vector<links::SerialPortInfo>{{a.path, "", false}, {b.path, "", false}};
    });
    Press(page, "searchComPortsButton");
    WaitForSearch();
    EXPECT_EQ(Lines(page->ComList()),
              (QStringList{QString::fromStdString(a.path + "  Baud = 4800"),
                           QString::fromStdString(b.path + "  Baud = 4800"), "Finished Search"}));

    QListWidgetItem* second = page->ComList()->item(1);
    Q_EMIT page->ComList()->itemDoubleClicked(second);
    EXPECT_EQ(Lines(page->ComList()),
              (QStringList{"Successful Open Port", "Current Baud = 4800", "Successful Set Port",
                           "New Baud = 4800", "Port Closed"}));
    EXPECT_EQ(Child<QLineEdit>("serialDevicePathEdit")->text().toStdString(), b.path);

    // "N2K ENABLE": only ports behind USB are listed, by name.
    page->Radio(prefs::LinkRadio::N2k)->click();
    page->SetPortLister([] {
        return std::vector<links::SerialPortInfo>{{"/dev/ttyUSB2", "NGT-1", true},
                                                  {"/dev/ttyS0", "", false}};
    });
    Press(page, "searchComPortsButton");
    WaitForSearch();
    EXPECT_EQ(Lines(page->ComList()), (QStringList{"COM 35  Name= NGT-1", "Finished Search"}));
    // A COM-numbered line chooses the number and clears the device path.
    Q_EMIT page->ComList()->itemDoubleClicked(page->ComList()->item(0));
    EXPECT_EQ(Lines(page->ComList()), QStringList{"Unable to Open Port"});
    EXPECT_EQ(Child<QSpinBox>("COM PORT")->value(), 35);
    EXPECT_EQ(Child<QLineEdit>("serialDevicePathEdit")->text(), "");
}

TEST_F(ConnectPageTest, DiscoverUsbDevicesListsTheFakeLibrarysDevices) {
    void* lib = dlopen(PELOR_FAKE_FTD2XX, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr);
    reinterpret_cast<void (*)(const char*)>(dlsym(lib, "FakeFtdiSetDevices"))(
        "FT232R USB UART\nUS232R");
    Open();
    copies.usbLibraryPath = PELOR_FAKE_FTD2XX;
    Press(page, "discoverUsbButton");
    EXPECT_EQ(Lines(page->UsbList()), (QStringList{"00  | FT232R USB UART", "01  | US232R"}));
    page->UsbList()->setCurrentRow(1);
    EXPECT_EQ(Child<QSpinBox>("Device Number")->value(), 1);
    EXPECT_EQ(copies.connection.usbDeviceNumber, 1);
    reinterpret_cast<void (*)()>(dlsym(lib, "FakeFtdiReset"))();
    dlclose(lib);

    copies.usbLibraryPath = PELOR_FAKE_FTD2XX_NOLIST;
    Press(page, "discoverUsbButton");
    EXPECT_EQ(Lines(page->UsbList()), QStringList{});
    EXPECT_EQ(prompt.MessageTexts(), (std::vector<std::string>{"Error: Can't Find FT_ListDevices",
                                                               "FT_ListDevices is not valid!"}));
}

// The page's network group is wired to the shared tools: "Test Connection" to a listener on
// 127.0.0.1 at the page's port, and a scan's "IP Addr : " line chosen fills the address.
TEST_F(ConnectPageTest, NetworkToolsWorkOnThePagesFields) {
    pelor::testing::LoopbackListener listener(1);
    ASSERT_TRUE(listener.Ok());
    Open();
    Child<QLineEdit>("ipAddressEdit")->setText("127.0.0.1");
    Child<QSpinBox>("tcpPortEdit")->setValue(listener.Port());
    Press(page, "testConnectionButton");
    auto* list = Child<QListWidget>("networkList");
    QElapsedTimer t;
    t.start();
    while (!Lines(list).contains("Socket closed") && t.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    EXPECT_EQ(Lines(list), (QStringList{"Initialize  success", "Socket created", "Valid IP address",
                                        "Connection to host successful", "Socket closed"}));

    // A typed port past 65535 is refused with a line, not cut to 16 bits: this one would
    // otherwise reach the listener again.
    const int alias = listener.Port() + 65536;
    Child<QSpinBox>("tcpPortEdit")->setValue(alias);
    t.restart();
    while (t.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);  // tool done
    Press(page, "testConnectionButton");
    t.restart();
    while (t.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(Lines(list), QStringList{QString("Invalid port %1 (0 to 65535)").arg(alias)});

    list->clear();
    list->addItems({"Serial #: 01-02-03-04", "IP Addr : 127.0.0.9"});
    list->setCurrentRow(0);
    EXPECT_EQ(copies.connection.ipAddress, "127.0.0.1");
    list->setCurrentRow(1);
    EXPECT_EQ(Child<QLineEdit>("ipAddressEdit")->text(), "127.0.0.9");
    EXPECT_EQ(copies.connection.ipAddress, "127.0.0.9");
}

}  // namespace
