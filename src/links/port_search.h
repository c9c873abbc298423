#pragma once
// The CONNECT page's port tools: "Search Com Ports" lists the serial ports present (each
// opened for a moment to read its rate) or, for the NMEA 2000 adapter, the USB serial ports an
// adapter could be on; a double-click tests one port. Both only read and restore: a port's line
// settings are as they were when the tool closes it.
#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace pelor::links {

// A serial device the system has, with what its driver says of it.
struct SerialPortInfo {
    std::string path;         // "/dev/ttyUSB0"
    std::string description;  // the USB product text, or the driver's description
    bool usb = false;         // behind a USB serial converter
};

// The serial devices present (libserialport's enumeration), sorted by path.
std::vector<SerialPortInfo> ListSerialPortInfo();

// Where the search looks; the page uses ListSerialPortInfo, tests hand their pseudo-terminals.
using PortLister = std::function<std::vector<SerialPortInfo>()>;

// One line of the COM list and the port a double-click on it selects: a COM number when the
// device has one, else its path. "Finished Search" selects nothing.
struct PortLine {
    std::string text;
    int comNumber = 0;  // 0: none
    std::string path;   // empty on "Finished Search"
};
using PortLineSink = std::function<void(const PortLine&)>;
using TextLineSink = std::function<void(const std::string&)>;

// "Search Com Ports" for the connection type chosen on the page:
//   0  every port is opened, its rate read, and closed: "COM %d  Baud = %d" (a port without a
//      COM number shows its path in place of "COM %d"); ports that do not open are skipped;
//   3  the USB serial ports, not opened: "COM %d  Name= %s" with the converter's product text;
//   any other type searches nothing.
// Always ends with "Finished Search". `cancel` (may be null) ends the search early, still
// with the closing line.
void SearchComPorts(int connectionType, const PortLister& lister, const PortLineSink& sink,
                    const std::atomic<bool>* cancel = nullptr);

// The double-click test of one port: "Unable to Open Port", or "Successful Open Port",
// "Current Baud = %d", then 8 data bits, no parity, 1 stop bit and no flow control at the same
// rate ("Unable to Set port" / "Successful Set Port"), "New Baud = %d", and "Port Closed" after
// the port's own settings were put back.
void TestComPort(const std::string& path, const TextLineSink& sink);

}  // namespace pelor::links
