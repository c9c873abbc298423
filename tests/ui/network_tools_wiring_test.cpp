// The network tools wired into a page holding the connection page's named widgets.
#include "ui/network_tools_wiring.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWidget>
#include <atomic>
#include <thread>

#include "display_render_support.h"
#include "links/discovery_reply.h"
#include "loopback.h"

using namespace std::chrono_literals;

namespace {

struct Page {
    QWidget widget;
    QLineEdit* address = new QLineEdit("10.0.0.1", &widget);
    QSpinBox* port = new QSpinBox(&widget);
    QPushButton* test = new QPushButton("Test Connection", &widget);
    QPushButton* scan = new QPushButton("SCAN", &widget);
    QListWidget* list = new QListWidget(&widget);
    Page() {
        address->setObjectName("ipAddressEdit");
        port->setObjectName("tcpPortEdit");
        port->setRange(0, 65535);
        test->setObjectName("testConnectionButton");
        scan->setObjectName("scanButton");
        list->setObjectName("networkList");
    }
    QStringList Lines() const {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
        return out;
    }
};

// Processes events until `done` or the limit; true when done.
template <typename F>
bool WaitUntil(F done, std::chrono::milliseconds limit = 5s) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > limit.count()) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

// A gateway on 127.0.0.1 answering every request once.
struct Gateway {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    std::uint16_t port = 0;
    std::atomic<bool> stop{false};
    std::thread worker;
    Gateway() {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        port = ntohs(a.sin_port);
        worker = std::thread([this] {
            const auto reply = pelor::links::BuildDiscoveryReply({});
            std::uint8_t buf[16];
            while (!stop) {
                pollfd p{fd, POLLIN, 0};
                if (::poll(&p, 1, 20) <= 0) continue;
                sockaddr_in from{};
                socklen_t len = sizeof from;
                if (::recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len) ==
                    4) {
                    ::sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from),
                             len);
                }
            }
        });
    }
    ~Gateway() {
        stop = true;
        worker.join();
        ::close(fd);
    }
};

}  // namespace

TEST(NetworkToolsWiring, ScanFillsTheListAndASelectionFillsTheAddress) {
    pelor::ui::testing::EnsureQtApplication();
    Gateway gateway;
    Page page;
    const pelor::links::DiscoveryTarget target{"127.0.0.1", gateway.port};
    ASSERT_TRUE(pelor::links::IsLoopbackAddress(target.address));
    pelor::ui::WireNetworkTools(&page.widget, target, 600ms);
    page.list->addItem("old line");

    page.scan->click();
    EXPECT_EQ(page.scan->text(), "waiting...");
    // The window keeps handling events while the scan runs.
    EXPECT_TRUE(WaitUntil([&] { return page.Lines().contains("IP Addr : 127.0.0.1"); }));
    EXPECT_EQ(page.scan->text(), "waiting...");
    ASSERT_TRUE(WaitUntil([&] { return page.scan->text() == "SCAN"; }));
    const QStringList lines = page.Lines();
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines.front(), "Start Scan");
    EXPECT_EQ(lines.back(), "End Scan");

    page.list->setCurrentRow(3);  // "Serial #: ..."
    EXPECT_EQ(page.address->text(), "10.0.0.1");
    page.list->setCurrentRow(5);  // "IP Addr : 127.0.0.1"
    EXPECT_EQ(page.address->text(), "127.0.0.1");
}

TEST(NetworkToolsWiring, TestConnectionUsesTheAddressAndPortFields) {
    pelor::ui::testing::EnsureQtApplication();
    pelor::testing::LoopbackListener listener(2);
    ASSERT_TRUE(listener.Ok());
    Page page;
    pelor::ui::WireNetworkTools(&page.widget, {"127.0.0.1", 1}, 200ms);
    page.address->setText("127.0.0.1");
    page.port->setValue(listener.Port());
    page.test->click();
    ASSERT_TRUE(WaitUntil([&] { return page.Lines().contains("Socket closed"); }));
    EXPECT_EQ(page.Lines(),
              (QStringList{"Initialize  success", "Socket created", "Valid IP address",
                           "Connection to host successful", "Socket closed"}));
}

TEST(NetworkToolsWiring, ClosingThePageMidScanCancelsIt) {
    pelor::ui::testing::EnsureQtApplication();
    Gateway gateway;
    QElapsedTimer t;
    t.start();
    {
        Page page;
        pelor::ui::WireNetworkTools(&page.widget, {"127.0.0.1", gateway.port}, 15s);
        page.scan->click();
        WaitUntil([&] { return page.list->count() > 3; }, 2s);
    }
    EXPECT_LT(t.elapsed(), 3000);
}
