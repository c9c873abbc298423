#pragma once
// The CONNECT page: the link radio buttons and "N2K", the COM, network and USB fields, the
// capture interval, the "Enable" boxes, the NMEA 2000 adapter's receive/transmit list, and the
// page's tools: "Search Com Ports" (off the GUI thread) with its double-click port test,
// "Discover USB Devices", "Test Connection" and "SCAN". PREFSAVE writes the adapter list into
// the options file (bytes 336..367 only).
#include <array>
#include <atomic>
#include <thread>

#include "links/port_search.h"
#include "prefs/connection_page.h"
#include "tables/adapter_pgn_list.h"
#include "ui/prefs_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace pelor::ui {

class CConnectSettings : public PrefsPage {
    Q_OBJECT

public:
    CConnectSettings(PrefsContext context, QWidget* parent);
    ~CConnectSettings() override;
    void Refresh() override;

    // Where "Search Com Ports" looks (tests point it at their pseudo-terminals).
    void SetPortLister(links::PortLister lister) { lister_ = std::move(lister); }

    QRadioButton* Radio(prefs::LinkRadio radio) const {
        return radios_[static_cast<std::size_t>(radio)];
    }
    QCheckBox* N2kBox() const { return n2k_; }
    QListWidget* ComList() const { return comList_; }
    QListWidget* UsbList() const { return usbList_; }
    QCheckBox* RxBox(int row) const { return rx_[static_cast<std::size_t>(row)]; }
    QCheckBox* TxBox(int row) const { return tx_[static_cast<std::size_t>(row)]; }
    QCheckBox* InitAdapterBox() const { return initAdapter_; }
    bool SearchRunning() const { return searching_; }

    void SearchComPorts();
    void TestPort(QListWidgetItem* item);
    void DiscoverUsbDevices();
    void Save();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* LinkGroup();
    QWidget* ComGroup();
    QWidget* NetworkGroup();
    QWidget* UsbGroup();
    QWidget* AdapterGroup();
    void UpdateAdapterRows();
    void StopSearch();

    prefs::ConnectionPage& page_;
    std::array<QRadioButton*, prefs::kLinkRadioCount> radios_{};
    QCheckBox* n2k_ = nullptr;
    QCheckBox* connectOnStart_ = nullptr;
    QCheckBox* comStatus_ = nullptr;
    QCheckBox* passThrough_ = nullptr;
    QComboBox* interval_ = nullptr;
    QSpinBox* comPort_ = nullptr;
    QComboBox* baud_ = nullptr;
    QSpinBox* serialBuffer_ = nullptr;
    QLineEdit* devicePath_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    QListWidget* comList_ = nullptr;
    QLineEdit* ipAddress_ = nullptr;
    QSpinBox* tcpPort_ = nullptr;
    QSpinBox* tcpBuffer_ = nullptr;
    QSpinBox* usbDevice_ = nullptr;
    QSpinBox* usbBuffer_ = nullptr;
    QComboBox* usbBaud_ = nullptr;
    QListWidget* usbList_ = nullptr;
    QCheckBox* initAdapter_ = nullptr;
    std::array<QCheckBox*, tables::kAdapterPgnRowCount> rx_{};
    std::array<QCheckBox*, tables::kAdapterPgnRowCount> tx_{};

    links::PortLister lister_ = links::ListSerialPortInfo;
    std::thread search_;
    std::atomic<bool> cancelSearch_{false};
    bool searching_ = false;
};

}  // namespace pelor::ui
