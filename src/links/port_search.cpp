#include "links/port_search.h"

#include <fcntl.h>
#include <libserialport.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

#include "core/format.h"
#include "links/connection_kind.h"
#include "links/custom_baud.h"
#include "links/serial_device.h"

namespace pelor::links {
namespace {

// A port held open only for a tool: opened without becoming the controlling terminal and
// without waiting for carrier; its line settings are read at open and put back before close.
class ProbedPort {
public:
    explicit ProbedPort(const std::string& path) {
        fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ < 0) return;
        if (tcgetattr(fd_, &saved_) != 0) {
            ::close(fd_);
            fd_ = -1;
            return;
        }
        savedBaud_ = GetCustomBaudRate(fd_);
    }
    ~ProbedPort() { Close(); }
    ProbedPort(const ProbedPort&) = delete;
    ProbedPort& operator=(const ProbedPort&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    int Baud() const { return fd_ < 0 ? -1 : GetCustomBaudRate(fd_); }

    // 8 data bits, no parity, 1 stop bit, no flow control of any kind, at `baud`.
    bool SetTestSettings(int baud) {
        termios t = saved_;
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
        t.c_cflag |= CS8 | CLOCAL | CREAD;
        t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK);
        if (tcsetattr(fd_, TCSANOW, &t) != 0) return false;
        return baud <= 0 || GetCustomBaudRate(fd_) == baud || SetCustomBaudRate(fd_, baud);
    }

    // The settings found at open, back on the line, then the port closed.
    void Close() {
        if (fd_ < 0) return;
        tcsetattr(fd_, TCSANOW, &saved_);
        // A rate outside the standard table is only held by the kernel's own field.
        if (savedBaud_ > 0 && GetCustomBaudRate(fd_) != savedBaud_)
            SetCustomBaudRate(fd_, savedBaud_);
        ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    termios saved_{};
    int savedBaud_ = -1;
};

std::string PortName(const SerialPortInfo& port, int number) {
    return number > 0 ? core::Format("COM %d", number) : port.path;
}

}  // namespace

std::vector<SerialPortInfo> ListSerialPortInfo() {
    std::vector<SerialPortInfo> ports;
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK) return ports;
    for (sp_port** p = list; *p != nullptr; ++p) {
        SerialPortInfo info;
        info.path = sp_get_port_name(*p);
        info.usb = sp_get_port_transport(*p) == SP_TRANSPORT_USB;
        const char* product = info.usb ? sp_get_port_usb_product(*p) : nullptr;
        const char* description = sp_get_port_description(*p);
        if (product != nullptr && *product != '\0')
            info.description = product;
        else if (description != nullptr)
            info.description = description;
        ports.push_back(std::move(info));
    }
    sp_free_port_list(list);
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortInfo& a, const SerialPortInfo& b) { return a.path < b.path; });
    return ports;
}

void SearchComPorts(int connectionType, const PortLister& lister, const PortLineSink& sink,
                    const std::atomic<bool>* cancel) {
    const ConnectionKind* kind = FindConnectionKind(connectionType);
    if (kind != nullptr && kind->transport == Transport::Serial) {
        std::vector<SerialPortInfo> ports = lister ? lister() : std::vector<SerialPortInfo>{};
        // In COM number order, the devices without one after them.
        std::stable_sort(ports.begin(), ports.end(),
                         [](const SerialPortInfo& a, const SerialPortInfo& b) {
                             const int na = ComPortNumberOfDevice(a.path).value_or(1 << 20);
                             const int nb = ComPortNumberOfDevice(b.path).value_or(1 << 20);
                             return na < nb;
                         });
        for (const SerialPortInfo& port : ports) {
            if (cancel != nullptr && cancel->load()) break;
            const int number = ComPortNumberOfDevice(port.path).value_or(0);
            // An adapter sits behind a USB serial converter; its port is named, not opened.
            if (kind->n2k) {
                if (!port.usb) continue;
                sink({core::Format("%s  Name= %s", PortName(port, number).c_str(),
                                   port.description.c_str()),
                      number, port.path});
                continue;
            }
            const ProbedPort probe(port.path);
            if (!probe.IsOpen()) continue;
            sink({core::Format("%s  Baud = %d", PortName(port, number).c_str(), probe.Baud()),
                  number, port.path});
        }
    }
    sink({"Finished Search", 0, {}});
}

void TestComPort(const std::string& path, const TextLineSink& sink) {
    ProbedPort port(path);
    if (!port.IsOpen()) {
        sink("Unable to Open Port");
        return;
    }
    sink("Successful Open Port");
    const int baud = port.Baud();
    sink(core::Format("Current Baud = %d", baud));
    if (!port.SetTestSettings(baud)) {
        sink("Unable to Set port");
    } else {
        sink("Successful Set Port");
        sink(core::Format("New Baud = %d", port.Baud()));
    }
    port.Close();
    sink("Port Closed");
}

}  // namespace pelor::links
