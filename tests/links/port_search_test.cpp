// "Search Com Ports" and the double-click port test against pseudo-terminals: the ports found,
// their rates, the adapter listing, and the port's own settings back after the test.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include "link_fixture.h"
#include "links/port_search.h"

namespace pelor::links {
namespace {

using testing::PtyPair;

// The slave's settings as another program would find them.
termios SettingsOf(const std::string& path) {
    termios t{};
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd, 0) << path;
    if (fd >= 0) {
        tcgetattr(fd, &t);
        ::close(fd);
    }
    return t;
}

// Sets the slave to `speed` with even parity, two stop bits and hardware flow control: a
// port left set up for something else that the test must not disturb.
void SetUpOddly(const std::string& path, speed_t speed) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(fd, 0);
    termios t{};
    ASSERT_EQ(tcgetattr(fd, &t), 0);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    t.c_cflag |= PARENB | CSTOPB | CRTSCTS;
    t.c_cflag = (t.c_cflag & ~static_cast<tcflag_t>(CSIZE)) | CS7;
    t.c_iflag |= IXON;
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &t), 0);
    ::close(fd);
}

std::vector<PortLine> Search(int type, std::vector<SerialPortInfo> ports) {
    std::vector<PortLine> lines;
    SearchComPorts(
        type, [ports] { return ports; }, [&lines](const PortLine& l) { lines.push_back(l); });
    return lines;
}

TEST(PortSearch, SerialTypeOpensEachPortAndReadsItsRate) {
    PtyPair a, b;
    SetUpOddly(a.SlavePath(), B9600);
    SetUpOddly(b.SlavePath(), B115200);
    const auto lines = Search(0, {{a.SlavePath(), "", false},
                                  {"/dev/pelor-no-such-port", "", false},
                                  {b.SlavePath(), "", false}});
    ASSERT_EQ(lines.size(), 3u);  // the missing port is skipped without a word
    EXPECT_EQ(lines[0].text, a.SlavePath() + "  Baud = 9600");
    EXPECT_EQ(lines[0].path, a.SlavePath());
    EXPECT_EQ(lines[0].comNumber, 0);
    EXPECT_EQ(lines[1].text, b.SlavePath() + "  Baud = 115200");
    EXPECT_EQ(lines[2].text, "Finished Search");
    EXPECT_TRUE(lines[2].path.empty());
    // Looking changed nothing.
    const termios after = SettingsOf(a.SlavePath());
    EXPECT_EQ(cfgetospeed(&after), B9600);
}

TEST(PortSearch, AdapterTypeListsUsbPortsByNameWithoutOpeningThem) {
    // Devices that are not there: listing them must not need to open them.
    const auto lines = Search(3, {{"/dev/ttyS0", "16550A", false},
                                  {"/dev/ttyUSB4", "NGT-1", true},
                                  {"/dev/ttyUSB1", "FT232R USB UART", true},
                                  {"/dev/serial-adapter", "Gateway", true}});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, "COM 34  Name= FT232R USB UART");
    EXPECT_EQ(lines[0].comNumber, 34);
    EXPECT_EQ(lines[1].text, "COM 37  Name= NGT-1");
    EXPECT_EQ(lines[1].path, "/dev/ttyUSB4");
    EXPECT_EQ(lines[2].text, "/dev/serial-adapter  Name= Gateway");
    EXPECT_EQ(lines[3].text, "Finished Search");
}

TEST(PortSearch, OtherTypesSearchNothing) {
    PtyPair a;
    for (int type : {1, 2, 4, 5, 6, 7, 12}) {
        const auto lines = Search(type, {{a.SlavePath(), "", true}});
        ASSERT_EQ(lines.size(), 1u) << type;
        EXPECT_EQ(lines[0].text, "Finished Search") << type;
    }
}

TEST(PortSearch, CancelStillEndsWithTheClosingLine) {
    PtyPair a;
    std::atomic<bool> cancel{true};
    std::vector<std::string> lines;
    SearchComPorts(
        0,
        [&] {
            return std::vector<SerialPortInfo>{{a.SlavePath(), "", false}};
        },
        [&](const PortLine& l) { lines.push_back(l.text); }, &cancel);
    EXPECT_EQ(lines, std::vector<std::string>{"Finished Search"});
}

TEST(PortTest, ReportsEachStepAndPutsThePortBackAsItWas) {
    PtyPair a;
    SetUpOddly(a.SlavePath(), B19200);
    const termios before = SettingsOf(a.SlavePath());
    std::vector<std::string> lines;
    TestComPort(a.SlavePath(), [&](const std::string& l) { lines.push_back(l); });
    EXPECT_EQ(lines,
              (std::vector<std::string>{"Successful Open Port", "Current Baud = 19200",
                                        "Successful Set Port", "New Baud = 19200", "Port Closed"}));
    const termios after = SettingsOf(a.SlavePath());
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    EXPECT_EQ(cfgetospeed(&after), B19200);

    lines.clear();
    TestComPort("/dev/pelor-no-such-port", [&](const std::string& l) { lines.push_back(l); });
    EXPECT_EQ(lines, std::vector<std::string>{"Unable to Open Port"});
}

}  // namespace
}  // namespace pelor::links
