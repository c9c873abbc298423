// The CONNECT page's link choice both ways, with the connect-at-start bit, and its field
// ranges.
#include <gtest/gtest.h>

#include "prefs/connection_page.h"

namespace pelor::prefs {
namespace {

TEST(ConnectionPage, StoredTypeShowsItsButtons) {
    const struct {
        int stored;
        LinkRadio radio;
        bool n2k;
        bool connectOnStart;
        int savedBack;
        const char* legend;
    } kCases[] = {
        {0, LinkRadio::Com, false, false, 0, "serial text"},
        {1, LinkRadio::Tcp, false, false, 1, "TCP text"},
        {2, LinkRadio::Usb, false, false, 2, "USB text"},
        {3, LinkRadio::N2k, false, false, 3, "adapter on a COM port"},
        {4, LinkRadio::Tcp, true, false, 4, "TCP frames"},
        {5, LinkRadio::UsbN2k, false, false, 5, "USB frames"},
        {6, LinkRadio::Udp, false, false, 6, "UDP text"},
        {7, LinkRadio::Udp, true, false, 7, "UDP frames"},
        {0x87, LinkRadio::Udp, true, true, 0x87, "UDP frames, connect at start"},
        {0x82, LinkRadio::Usb, false, true, 0x82, "USB text, connect at start"},
        {8, LinkRadio::Com, false, false, 0, "unknown type shown and saved as serial"},
        {0x7F, LinkRadio::Com, false, false, 0, "largest unknown type"},
        {0x8C, LinkRadio::Com, false, true, 0x80, "unknown type keeps the start bit"},
    };
    for (const auto& c : kCases) {
        const LinkChoice choice = LinkChoiceFromStored(c.stored);
        EXPECT_EQ(choice.radio, c.radio) << c.legend;
        EXPECT_EQ(choice.n2k, c.n2k) << c.legend;
        EXPECT_EQ(choice.connectOnStart, c.connectOnStart) << c.legend;
        EXPECT_EQ(StoredConnectionType(choice), c.savedBack) << c.legend;
    }
}

TEST(ConnectionPage, ButtonsGiveTheirType) {
    // "N2K" means frames on TCP and UDP only; the other buttons ignore it.
    const struct {
        LinkRadio radio;
        int plain;
        int withN2k;
    } kCases[] = {
        {LinkRadio::Com, 0, 0}, {LinkRadio::Tcp, 1, 4},    {LinkRadio::Usb, 2, 2},
        {LinkRadio::N2k, 3, 3}, {LinkRadio::UsbN2k, 5, 5}, {LinkRadio::Udp, 6, 7},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ConnectionTypeOf({c.radio, false, false}), c.plain) << LinkRadioCaption(c.radio);
        EXPECT_EQ(ConnectionTypeOf({c.radio, true, false}), c.withN2k) << LinkRadioCaption(c.radio);
        EXPECT_EQ(StoredConnectionType({c.radio, true, true}), c.withN2k | 0x80)
            << LinkRadioCaption(c.radio);
    }
}

TEST(ConnectionPage, FieldsOutOfRangeAreNamed) {
    EXPECT_EQ(CheckConnectionPage(ConnectionPage{}), "");
    const struct {
        void (*change)(ConnectionPage&);
        const char* message;
    } kCases[] = {
        {[](ConnectionPage& p) { p.comPortNumber = 0; }, "CONNECT: COM PORT must be 1 to 200"},
        {[](ConnectionPage& p) { p.comPortNumber = 201; }, "CONNECT: COM PORT must be 1 to 200"},
        {[](ConnectionPage& p) { p.serialBufferSize = 199; },
         "CONNECT: Serial Buffer must be 200 to 799"},
        {[](ConnectionPage& p) { p.serialBufferSize = 800; },
         "CONNECT: Serial Buffer must be 200 to 799"},
        {[](ConnectionPage& p) { p.tcpPort = 64001; }, "CONNECT: TCP PORT must be 0 to 64000"},
        {[](ConnectionPage& p) { p.tcpBufferSize = 9; }, "CONNECT: TCP Buffer must be 10 to 900"},
        {[](ConnectionPage& p) { p.usbDeviceNumber = 100; },
         "CONNECT: Device Number must be 0 to 99"},
        {[](ConnectionPage& p) { p.usbBufferSize = 701; }, "CONNECT: USB BUFFER must be 10 to 700"},
        {[](ConnectionPage& p) { p.ipAddress = "12345678901234567"; },
         "CONNECT: IP Address must be at most 16 characters"},
        {[](ConnectionPage& p) { p.serialDevicePath = "ttyUSB0"; },
         "CONNECT: Serial Device Path must be an absolute path (/dev/...) or empty"},
    };
    for (const auto& c : kCases) {
        ConnectionPage page;
        c.change(page);
        EXPECT_EQ(CheckConnectionPage(page), c.message);
    }
    // The ends of each range are taken.
    ConnectionPage edges;
    edges.comPortNumber = 200;
    edges.serialBufferSize = 200;
    edges.tcpPort = 0;
    edges.tcpBufferSize = 900;
    edges.usbDeviceNumber = 99;
    edges.usbBufferSize = 10;
    edges.ipAddress = "255.255.255.255";
    edges.serialDevicePath = "/dev/serial/by-id/usb-FTDI-if00-port0";
    EXPECT_EQ(CheckConnectionPage(edges), "");
}

TEST(ConnectionPage, ANetworkLinkNeedsAnAddressItCanConnectTo) {
    // The address is checked as the network link reads it, and only for TCP and UDP.
    const struct {
        const char* address;
        bool usable;
    } kAddresses[] = {
        {"127.0.0.1", true},  {"192.168.0.100", true}, {"localhost", true}, {"127.0.0.999", false},
        {"300.1.1.1", false}, {"127.0.0.1x", false},   {"", false},         {"my boat", false},
        {"1.2.3.4.5", false},
    };
    for (const auto& a : kAddresses) {
        for (const LinkRadio radio : {LinkRadio::Tcp, LinkRadio::Udp}) {
            ConnectionPage page;
            page.link.radio = radio;
            page.ipAddress = a.address;
            EXPECT_EQ(CheckConnectionPage(page),
                      a.usable ? "" : std::string("CONNECT: Invalid IP address ") + a.address)
                << a.address << " " << LinkRadioCaption(radio);
        }
        // The serial and USB links do not use the field.
        ConnectionPage serial;
        serial.ipAddress = a.address;
        EXPECT_EQ(CheckConnectionPage(serial), "") << a.address;
    }
}

TEST(ConnectionPage, AStoredAddressIsCheckedOnlyOnceTheUserChoosesIt) {
    // A TCP link whose stored address was saved before addresses were checked: a sheet that
    // leaves it alone closes; typing an address or choosing TCP from another link checks it.
    ConnectionPage stored;
    stored.link.radio = LinkRadio::Tcp;
    stored.ipAddress = stored.ipAddressAsLoaded = "127.0.0.999";
    stored.radioAsLoaded = LinkRadio::Tcp;
    EXPECT_EQ(CheckConnectionPage(stored), "");

    ConnectionPage typed = stored;
    typed.ipAddress = "127.0.0.998";
    EXPECT_EQ(CheckConnectionPage(typed), "CONNECT: Invalid IP address 127.0.0.998");

    ConnectionPage chosen = stored;
    chosen.radioAsLoaded = LinkRadio::Com;
    EXPECT_EQ(CheckConnectionPage(chosen), "CONNECT: Invalid IP address 127.0.0.999");
}

}  // namespace
}  // namespace pelor::prefs
