#include <gtest/gtest.h>

#include "fake_ftdi_control.h"
#include "link_fixture.h"
#include "links/link_manager.h"

namespace {

using namespace pelor;
using namespace pelor::links;
using namespace pelor::links::testing;
using namespace std::chrono_literals;

struct ManagerFixture : ::testing::Test {
    SinkFixture sink;
    core::ReaderThread serialSlot, usbSlot, netSlot, adapterSlot;
    LinkContext context{{},
                        sink.store,
                        sink.view,
                        sink.prompt,
                        {serialSlot, usbSlot, netSlot, adapterSlot},
                        sink.sinks.textPass,
                        sink.sinks.framePass,
                        {},
                        {}};
    LinkManager manager{context};

    int RunningReaders() const {
        return serialSlot.Running() + usbSlot.Running() + netSlot.Running() + adapterSlot.Running();
    }
};

TEST_F(ManagerFixture, SerialConnectWithPassThroughSendsNineBytes) {
    PtyPair pty;
    context.settings.connectionType = 0;
    context.settings.serialPortName = pty.SlavePath();
    context.settings.portPassThrough = true;
    manager.ToggleConnection();
    EXPECT_TRUE(manager.Connected());
    EXPECT_EQ(pty.Read(64, 300ms), "$PKZLC,Z\r");
    EXPECT_EQ(sink.view.Caption(), "connected port passthrough");
    EXPECT_EQ(sink.view.ButtonPicture(kConnectButtonId), kConnectedPicture);
    EXPECT_TRUE(serialSlot.Running());
    EXPECT_EQ(RunningReaders(), 1);
    EXPECT_TRUE(sink.prompt.MessageTexts().empty());

    manager.ToggleConnection();
    EXPECT_FALSE(manager.Connected());
    EXPECT_EQ(sink.view.Caption(), "disconnected");
    EXPECT_EQ(sink.view.ButtonPicture(kConnectButtonId), kDisconnectedPicture);
    EXPECT_EQ(RunningReaders(), 0);
}

TEST_F(ManagerFixture, PassThroughOnlyOnTheSerialTextLink) {
    PtyPair pty;
    context.settings.connectionType = 3;
    context.settings.serialPortName = pty.SlavePath();
    context.settings.portPassThrough = true;
    manager.ToggleConnection();
    EXPECT_EQ(sink.view.Caption(), "connected");
    EXPECT_TRUE(adapterSlot.Running());
    EXPECT_EQ(pty.Read(64, 300ms), "");
}

TEST_F(ManagerFixture, TypeOutsideTheTableDoesNothing) {
    context.settings.connectionType = 8;
    sink.view.SetCaption("before");
    manager.ToggleConnection();
    EXPECT_FALSE(manager.Connected());
    EXPECT_EQ(sink.view.Caption(), "before");
    EXPECT_EQ(sink.view.RepaintCount(), 0);
    EXPECT_TRUE(sink.prompt.MessageTexts().empty());
}

TEST_F(ManagerFixture, FailuresShowTheManagersMessageAndStayDisconnected) {
    struct Case {
        int type;
        const char* last;  // the manager's own message, after any of the link's
    } const cases[] = {
        {0, "Unable to Initialize  the port"},       {3, "Unable to Initialize  the port"},
        {1, "Unable to Initialize  TCP connection"}, {4, "Unable to Initialize  TCP connection"},
        {6, "Unable to Initialize  TCP connection"}, {7, "Unable to Initialize  TCP connection"},
        {2, "Unable to Initialize  USB connection"}, {5, "Unable to Initialize  USB connection"},
    };
    context.settings.serialPortName = "/dev/pelor-no-such-port";
    context.settings.ipAddress = "pelor-gateway.invalid";
    context.settings.usbLibraryPath = "/nonexistent/libftd2xx.so";
    for (const auto& c : cases) {
        sink.prompt.shown.clear();
        context.settings.connectionType = c.type;
        manager.ToggleConnection();
        EXPECT_FALSE(manager.Connected()) << c.type;
        ASSERT_FALSE(sink.prompt.shown.empty()) << c.type;
        EXPECT_EQ(sink.prompt.shown.back().text, c.last) << c.type;
        EXPECT_EQ(sink.prompt.shown.back().caption, "Error") << c.type;
        EXPECT_EQ(sink.view.Caption(), "disconnected") << c.type;
        EXPECT_EQ(sink.view.ButtonPicture(kConnectButtonId), kFailedPicture) << c.type;
        EXPECT_EQ(RunningReaders(), 0) << c.type;
    }
}

TEST_F(ManagerFixture, ConnectAtStartOnlyWithTheFlag) {
    PtyPair pty;
    context.settings.serialPortName = pty.SlavePath();
    manager.ConnectAtStart();
    EXPECT_FALSE(manager.Connected());
    context.settings.autoConnect = true;
    manager.ConnectAtStart();
    EXPECT_TRUE(manager.Connected());
    EXPECT_EQ(sink.view.Caption(), "connected");
}

TEST_F(ManagerFixture, DisconnectClosesTheLinkThatIsOpenAfterATypeChange) {
    PtyPair pty;
    context.settings.serialPortName = pty.SlavePath();
    manager.ToggleConnection();
    ASSERT_TRUE(manager.Connected());
    context.settings.connectionType = 1;  // changed on the settings page meanwhile
    manager.ToggleConnection();
    EXPECT_FALSE(manager.Connected());
    EXPECT_FALSE(manager.Serial().PortValid());
    EXPECT_EQ(RunningReaders(), 0);
}

TEST_F(ManagerFixture, SendToLinkRoutesToTheOpenLinkAndReportsFailures) {
    PtyPair pty;
    context.settings.serialPortName = pty.SlavePath();
    manager.ToggleConnection();
    std::thread unit([&] {
        if (pty.Read(9, 2s) == "$PKZLC,P\r") pty.Write("FLASH READY    \r");
    });
    EXPECT_EQ(manager.SendToLink("$PKZLC,P\r", true), 0);
    unit.join();
    EXPECT_EQ(manager.UnitReply(), "FLASH READY    \r");
    pty.CloseMaster();
    EXPECT_NE(manager.SendToLink("$PKZLC,N\r", false), 0);
}

}  // namespace
