#include "ui/network_tools_wiring.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QWidget>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>

#include "links/network_tools.h"

namespace pelor::ui {

namespace {

// Runs one tool at a time on its own thread and hands its lines to the GUI thread. Owned by
// the page: its destructor cancels a running tool and waits for it (at most a poll slice).
class NetworkToolRunner : public QObject {
public:
    explicit NetworkToolRunner(QObject* parent) : QObject(parent) {}
    ~NetworkToolRunner() override { Stop(); }

    bool Busy() const { return busy_; }

    void Start(std::function<void(const links::LineSink&, const links::NetworkToolOptions&)> tool,
               std::function<void(const QString&)> onLine, std::function<void()> onDone,
               std::chrono::milliseconds scanWindow = std::chrono::seconds(15)) {
        Stop();
        busy_ = true;
        cancel_ = false;
        worker_ = std::thread([this, scanWindow, tool = std::move(tool), onLine = std::move(onLine),
                               onDone = std::move(onDone)] {
            links::NetworkToolOptions options;
            options.cancel = &cancel_;
            options.scanWindow = scanWindow;
            options.onSend = [](const std::string& address, std::uint16_t port) {
                std::fprintf(stderr, "pelor: network tool sends to %s:%u\n", address.c_str(), port);
            };
            tool(
                [this, onLine](const std::string& line) {
                    const QString text = QString::fromStdString(line);
                    QMetaObject::invokeMethod(
                        this, [onLine, text] { onLine(text); }, Qt::QueuedConnection);
                },
                options);
            QMetaObject::invokeMethod(
                this,
                [this, onDone] {
                    busy_ = false;
                    onDone();
                },
                Qt::QueuedConnection);
        });
    }

private:
    void Stop() {
        cancel_ = true;
        if (worker_.joinable()) worker_.join();
    }

    std::atomic<bool> cancel_{false};
    bool busy_ = false;
    std::thread worker_;
};

// The port as typed; the test refuses one outside 0..65535 (-1 when it is no number).
int PortOf(QWidget* page) {
    auto* w = page->findChild<QWidget*>("tcpPortEdit");
    if (auto* spin = qobject_cast<QSpinBox*>(w)) return spin->value();
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        bool ok = false;
        const int v = edit->text().trimmed().toInt(&ok);
        return ok ? v : -1;
    }
    return 0;
}

}  // namespace

void WireNetworkTools(QWidget* page, const links::DiscoveryTarget& target,
                      std::chrono::milliseconds scanWindow) {
    auto* list = page->findChild<QListWidget*>("networkList");
    auto* address = page->findChild<QLineEdit*>("ipAddressEdit");
    if (list == nullptr) return;
    auto* runner = new NetworkToolRunner(page);
    const QPointer<QListWidget> listPtr(list);
    auto addLine = [listPtr](const QString& line) {
        if (listPtr) listPtr->addItem(line);
    };

    if (auto* test = page->findChild<QPushButton*>("testConnectionButton")) {
        QObject::connect(test, &QPushButton::clicked, runner, [=] {
            if (runner->Busy()) return;
            list->clear();
            const std::string host = address ? address->text().toStdString() : std::string();
            const int port = PortOf(page);
            runner->Start(
                [host, port](const links::LineSink& sink, const links::NetworkToolOptions& o) {
                    links::RunTestConnection(host, port, sink, o);
                },
                addLine, [] {});
        });
    }
    if (auto* scan = page->findChild<QPushButton*>("scanButton")) {
        const QPointer<QPushButton> scanPtr(scan);
        QObject::connect(scan, &QPushButton::clicked, runner, [=] {
            if (runner->Busy()) return;
            list->clear();
            scan->setText("waiting...");
            runner->Start(
                [target](const links::LineSink& sink, const links::NetworkToolOptions& o) {
                    links::RunDiscoveryScan(target, sink, o);
                },
                addLine,
                [scanPtr] {
                    if (scanPtr) scanPtr->setText("SCAN");
                },
                scanWindow);
        });
    }
    if (address != nullptr) {
        QObject::connect(list, &QListWidget::currentTextChanged, address,
                         [address](const QString& line) {
                             if (line.startsWith("IP Addr : ")) address->setText(line.mid(10));
                         });
    }
}

}  // namespace pelor::ui
