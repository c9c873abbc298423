#include "ui/prefs_connect_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "links/usb_discovery.h"
#include "ui/network_tools_wiring.h"

namespace pelor::ui {
namespace {

constexpr int kComNumberRole = Qt::UserRole;
constexpr int kPortPathRole = Qt::UserRole + 1;

QStringList BaudChoices() {
    return {"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
}

// A list index kept as stored when the list has no entry for it (no entry shown).
void ShowIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

RangeSpinBox* NumberBox(QWidget* parent, const char* name, int min, int max, int* field) {
    auto* box = new RangeSpinBox(min, max, parent);
    box->setObjectName(name);
    QObject::connect(box, &QSpinBox::valueChanged, parent, [field](int v) { *field = v; });
    return box;
}

QCheckBox* FlagBox(QWidget* parent, const char* name, bool* field) {
    auto* box = new QCheckBox("Enable", parent);
    box->setObjectName(name);
    QObject::connect(box, &QCheckBox::toggled, parent, [field](bool on) { *field = on; });
    return box;
}

QComboBox* ChoiceBox(QWidget* parent, const char* name, const QStringList& items, int* field) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    QObject::connect(box, &QComboBox::currentIndexChanged, parent, [field](int i) {
        if (i >= 0) *field = i;
    });
    return box;
}

QListWidget* ToolList(QWidget* parent, const char* name, int rows) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setMinimumHeight(rows * 17);
    list->setMaximumHeight(rows * 17 + 8);
    return list;
}

}  // namespace

CConnectSettings::CConnectSettings(PrefsContext context, QWidget* parent)
    : PrefsPage(context, parent), page_(context.copies.connection) {
    auto* outer = new QVBoxLayout(this);
    auto* columns = new QGridLayout;
    columns->setHorizontalSpacing(8);
    columns->setVerticalSpacing(4);
    columns->addWidget(LinkGroup(), 0, 0);
    columns->addWidget(ComGroup(), 1, 0);
    columns->addWidget(NetworkGroup(), 0, 1);
    columns->addWidget(UsbGroup(), 1, 1);
    columns->addWidget(AdapterGroup(), 0, 2, 2, 1);
    columns->setColumnStretch(0, 1);
    columns->setColumnStretch(1, 1);
    outer->addLayout(columns);
    outer->addStretch(1);
    outer->addWidget(PageButtons(
        {}, [this] { Save(); },
        "Save - click to save the NMEA 2000 adapter list into the options file"));

    WireNetworkTools(this, ctx_.copies.discoveryTarget);
    Refresh();
}

CConnectSettings::~CConnectSettings() {
    StopSearch();
}

QWidget* CConnectSettings::LinkGroup() {
    auto* box = new QGroupBox("Link", this);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(box);
    for (int r = 0; r < prefs::kLinkRadioCount; ++r) {
        const auto radio = static_cast<prefs::LinkRadio>(r);
        auto* b = new QRadioButton(prefs::LinkRadioCaption(radio), box);
        b->setObjectName(prefs::LinkRadioCaption(radio));
        group->addButton(b, r);
        radios_[static_cast<std::size_t>(r)] = b;
        grid->addWidget(b, r / 2, r % 2);
        connect(b, &QRadioButton::toggled, this, [this, radio](bool on) {
            if (on) page_.link.radio = radio;
        });
    }
    n2k_ = new QCheckBox("N2K", box);
    n2k_->setObjectName("N2K");
    n2k_->setToolTip("With TCP or UDP: NMEA 2000 frames instead of text sentences");
    connect(n2k_, &QCheckBox::toggled, this, [this](bool on) { page_.link.n2k = on; });
    grid->addWidget(n2k_, 3, 0);

    auto* form = new QFormLayout;
    form->setVerticalSpacing(2);
    connectOnStart_ = FlagBox(box, "Connect On Start", &page_.link.connectOnStart);
    comStatus_ = FlagBox(box, "Com Status Window", &page_.showComStatus);
    passThrough_ = FlagBox(box, "Port Pass Through", &page_.portPassThrough);
    QStringList intervals;
    for (const char* i : prefs::UpdateIntervalChoices()) intervals << i;
    interval_ = ChoiceBox(box, "Update Interval", intervals, &page_.captureIntervalIndex);
    form->addRow("Connect On Start", connectOnStart_);
    form->addRow("Com Status Window", comStatus_);
    form->addRow("Port Pass Through", passThrough_);
    form->addRow("Update Interval", interval_);
    grid->addLayout(form, 4, 0, 1, 2);
    return box;
}

QWidget* CConnectSettings::ComGroup() {
    auto* box = new QGroupBox("COM", this);
    auto* layout = new QVBoxLayout(box);
    auto* form = new QFormLayout;
    form->setVerticalSpacing(2);
    comPort_ =
        NumberBox(box, "COM PORT", prefs::kComPortMin, prefs::kComPortMax, &page_.comPortNumber);
    baud_ = ChoiceBox(box, "Baud Rate (COM)", BaudChoices(), &page_.baudIndex);
    serialBuffer_ = NumberBox(box, "Serial Buffer", prefs::kSerialBufferMin,
                              prefs::kSerialBufferMax, &page_.serialBufferSize);
    devicePath_ = new QLineEdit(box);
    devicePath_->setObjectName("serialDevicePathEdit");
    devicePath_->setMaxLength(259);
    devicePath_->setPlaceholderText("empty: use the COM number");
    devicePath_->setToolTip(
        "A device path such as /dev/serial/by-id/... opened in place of the COM number, so "
        "that plugging in another converter cannot change the port");
    connect(devicePath_, &QLineEdit::textChanged, this,
            [this](const QString& t) { page_.serialDevicePath = Bytes(t.trimmed()); });
    form->addRow("COM PORT", comPort_);
    form->addRow("Baud Rate", baud_);
    form->addRow("Serial Buffer", serialBuffer_);
    form->addRow("Device Path", devicePath_);
    layout->addLayout(form);
    searchButton_ = new QPushButton("Search Com Ports", box);
    searchButton_->setObjectName("searchComPortsButton");
    connect(searchButton_, &QPushButton::clicked, this, &CConnectSettings::SearchComPorts);
    layout->addWidget(searchButton_);
    comList_ = ToolList(box, "comList", 6);
    comList_->setToolTip("Double-click a port to test it and choose it");
    connect(comList_, &QListWidget::itemDoubleClicked, this, &CConnectSettings::TestPort);
    layout->addWidget(comList_);
    return box;
}

QWidget* CConnectSettings::NetworkGroup() {
    auto* box = new QGroupBox("Network", this);
    auto* layout = new QVBoxLayout(box);
    auto* form = new QFormLayout;
    form->setVerticalSpacing(2);
    ipAddress_ = new QLineEdit(box);
    ipAddress_->setObjectName("ipAddressEdit");
    ipAddress_->setMaxLength(static_cast<int>(prefs::kIpAddressLimit));
    connect(ipAddress_, &QLineEdit::textChanged, this,
            [this](const QString& t) { page_.ipAddress = Bytes(t); });
    tcpPort_ =
        NumberBox(box, "tcpPortEdit", prefs::kTcpPortMin, prefs::kTcpPortMax, &page_.tcpPort);
    tcpBuffer_ = NumberBox(box, "TCP Buffer", prefs::kTcpBufferMin, prefs::kTcpBufferMax,
                           &page_.tcpBufferSize);
    form->addRow("IP Address", ipAddress_);
    form->addRow("TCP PORT", tcpPort_);
    form->addRow("TCP Buffer", tcpBuffer_);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    auto* test = new QPushButton("Test Connection", box);
    test->setObjectName("testConnectionButton");
    auto* scan = new QPushButton("SCAN", box);
    scan->setObjectName("scanButton");
    buttons->addWidget(test);
    buttons->addWidget(scan);
    layout->addLayout(buttons);
    layout->addWidget(ToolList(box, "networkList", 7));
    return box;
}

QWidget* CConnectSettings::UsbGroup() {
    auto* box = new QGroupBox("USB", this);
    auto* layout = new QVBoxLayout(box);
    auto* form = new QFormLayout;
    form->setVerticalSpacing(2);
    usbDevice_ = NumberBox(box, "Device Number", prefs::kUsbDeviceMin, prefs::kUsbDeviceMax,
                           &page_.usbDeviceNumber);
    usbBuffer_ = NumberBox(box, "USB BUFFER", prefs::kUsbBufferMin, prefs::kUsbBufferMax,
                           &page_.usbBufferSize);
    usbBaud_ = ChoiceBox(box, "Baud Rate (USB)", BaudChoices(), &page_.usbBaudIndex);
    form->addRow("Device Number", usbDevice_);
    form->addRow("USB BUFFER", usbBuffer_);
    form->addRow("Baud Rate", usbBaud_);
    layout->addLayout(form);
    auto* discover = new QPushButton("Discover USB Devices", box);
    discover->setObjectName("discoverUsbButton");
    connect(discover, &QPushButton::clicked, this, &CConnectSettings::DiscoverUsbDevices);
    layout->addWidget(discover);
    usbList_ = ToolList(box, "usbList", 4);
    connect(usbList_, &QListWidget::currentTextChanged, this, [this](const QString& line) {
        const int number = links::UsbDeviceNumberOfLine(Bytes(line));
        if (number >= 0) usbDevice_->setValue(number);
    });
    layout->addWidget(usbList_);
    layout->addStretch(1);
    return box;
}

QWidget* CConnectSettings::AdapterGroup() {
    auto* box = new QGroupBox("NMEA 2000 Adapter", this);
    auto* grid = new QGridLayout(box);
    grid->setVerticalSpacing(0);
    grid->addWidget(new QLabel("Init NMEA 2000 Adapter", box), 0, 0);
    initAdapter_ = new QCheckBox("Enable", box);
    initAdapter_->setObjectName("Init NMEA 2000 Adapter");
    connect(initAdapter_, &QCheckBox::toggled, this, [this](bool on) {
        tables::SetAdapterInit(ctx_.copies.options.table, on);
        UpdateAdapterRows();
    });
    grid->addWidget(initAdapter_, 0, 1, 1, 2);
    grid->addWidget(new QLabel("<b>NMEA 2000 Adapter PGN Enable List</b>", box), 1, 0);
    grid->addWidget(new QLabel("RX", box), 1, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel("TX", box), 1, 2, Qt::AlignHCenter);
    const auto& captions = tables::AdapterPgnRowCaptions();
    for (int k = 0; k < tables::kAdapterPgnRowCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const QString caption = captions[i];
        grid->addWidget(new QLabel(caption, box), k + 2, 0);
        rx_[i] = new QCheckBox(box);
        rx_[i]->setObjectName(caption + " RX");
        tx_[i] = new QCheckBox(box);
        tx_[i]->setObjectName(caption + " TX");
        connect(rx_[i], &QCheckBox::toggled, this,
                [this, k](bool on) { tables::SetAdapterRx(ctx_.copies.options.table, k, on); });
        connect(tx_[i], &QCheckBox::toggled, this,
                [this, k](bool on) { tables::SetAdapterTx(ctx_.copies.options.table, k, on); });
        grid->addWidget(rx_[i], k + 2, 1, Qt::AlignHCenter);
        grid->addWidget(tx_[i], k + 2, 2, Qt::AlignHCenter);
    }
    grid->setRowStretch(tables::kAdapterPgnRowCount + 2, 1);
    return box;
}

void CConnectSettings::UpdateAdapterRows() {
    const bool on = initAdapter_->isChecked();
    for (int k = 0; k < tables::kAdapterPgnRowCount; ++k) {
        rx_[static_cast<std::size_t>(k)]->setEnabled(on);
        tx_[static_cast<std::size_t>(k)]->setEnabled(on);
    }
}

void CConnectSettings::Refresh() {
    const prefs::ConnectionPage p = page_;  // the widgets' signals write into page_
    {
        const QSignalBlocker b(n2k_);
        radios_[static_cast<std::size_t>(p.link.radio)]->setChecked(true);
        n2k_->setChecked(p.link.n2k);
    }
    connectOnStart_->setChecked(p.link.connectOnStart);
    comStatus_->setChecked(p.showComStatus);
    passThrough_->setChecked(p.portPassThrough);
    comPort_->setValue(p.comPortNumber);
    serialBuffer_->setValue(p.serialBufferSize);
    devicePath_->setText(Text(p.serialDevicePath));
    ipAddress_->setText(Text(p.ipAddress));
    tcpPort_->setValue(p.tcpPort);
    tcpBuffer_->setValue(p.tcpBufferSize);
    usbDevice_->setValue(p.usbDeviceNumber);
    usbBuffer_->setValue(p.usbBufferSize);
    for (QComboBox* box : {interval_, baud_, usbBaud_}) box->blockSignals(true);
    ShowIndex(interval_, p.captureIntervalIndex);
    ShowIndex(baud_, p.baudIndex);
    ShowIndex(usbBaud_, p.usbBaudIndex);
    for (QComboBox* box : {interval_, baud_, usbBaud_}) box->blockSignals(false);
    page_ = p;

    const tables::OptionsTable& o = ctx_.copies.options.table;
    {
        const QSignalBlocker b(initAdapter_);
        initAdapter_->setChecked(tables::AdapterInitEnabled(o));
    }
    for (int k = 0; k < tables::kAdapterPgnRowCount; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const QSignalBlocker b1(rx_[i]), b2(tx_[i]);
        rx_[i]->setChecked(tables::AdapterRxEnabled(o, k));
        tx_[i]->setChecked(tables::AdapterTxEnabled(o, k));
    }
    UpdateAdapterRows();
}

void CConnectSettings::showEvent(QShowEvent* event) {
    // The OPTIONS page may have opened another options file with another adapter list.
    Refresh();
    PrefsPage::showEvent(event);
}

void CConnectSettings::StopSearch() {
    cancelSearch_ = true;
    if (search_.joinable()) search_.join();
}

void CConnectSettings::SearchComPorts() {
    if (searching_) return;
    StopSearch();
    comList_->clear();
    searching_ = true;
    searchButton_->setEnabled(false);
    cancelSearch_ = false;
    const int type = prefs::ConnectionTypeOf(page_.link);
    // Opening ports can take a moment each: the search runs on its own thread and its lines
    // come back to this page one by one.
    search_ = std::thread([this, type, lister = lister_] {
        links::SearchComPorts(
            type, lister,
            [this](const links::PortLine& line) {
                QMetaObject::invokeMethod(
                    this,
                    [this, line] {
                        auto* item = new QListWidgetItem(QString::fromStdString(line.text));
                        item->setData(kComNumberRole, line.comNumber);
                        item->setData(kPortPathRole, QString::fromStdString(line.path));
                        comList_->addItem(item);
                        if (line.path.empty()) {
                            searching_ = false;
                            searchButton_->setEnabled(true);
                        }
                    },
                    Qt::QueuedConnection);
            },
            &cancelSearch_);
    });
}

void CConnectSettings::TestPort(QListWidgetItem* item) {
    if (item == nullptr || searching_) return;
    const int number = item->data(kComNumberRole).toInt();
    const QString path = item->data(kPortPathRole).toString();
    if (path.isEmpty()) return;  // "Finished Search" names no port
    comList_->clear();
    links::TestComPort(path.toStdString(), [this](const std::string& line) {
        comList_->addItem(QString::fromStdString(line));
    });
    // The tested port becomes the page's port: by number, or by path for a device that has
    // no COM number.
    if (number > 0) {
        comPort_->setValue(number);
        devicePath_->clear();
    } else {
        devicePath_->setText(path);
    }
}

void CConnectSettings::DiscoverUsbDevices() {
    usbList_->clear();
    for (const std::string& line :
         links::DiscoverUsbDevices(ctx_.prompt, ctx_.copies.usbLibraryPath)) {
        usbList_->addItem(Text(line));
    }
}

void CConnectSettings::Save() {
    if (const std::string bad = prefs::CheckConnectionPage(page_); !bad.empty()) {
        ctx_.prompt.Message(bad, "Error");
        return;
    }
    tables::SaveAdapterPgnList(ctx_.prompt, ctx_.copies.projectDirectory, ctx_.copies.optionsFile,
                               ctx_.copies.options.table);
}

}  // namespace pelor::ui
