// The switch module end to end: the dashboard's toggle goes out over a real link in the form
// of its connection type, the simulated module flips the output, and its report turns the
// main window's button from the pending picture to green, then back to red.
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "app/dashboard.h"
#include "app/interaction.h"
#include "simulator/command_parser.h"
#include "simulator/scenario.h"
#include "simulator/simulator.h"
#include "simulator/unit.h"
#include "unit/switch_module.h"

namespace {

using namespace pelor;
using namespace std::chrono_literals;

// Keeps every picture shown on every button, in order.
class PictureHistory : public core::RecordingView {
public:
    void SetButtonPicture(int controlId, std::string_view picture) override {
        core::RecordingView::SetButtonPicture(controlId, picture);
        std::lock_guard lock(mutex_);
        shown_.emplace_back(controlId, std::string(picture));
    }
    std::vector<std::string> Shown(int controlId) const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> out;
        for (const auto& [id, picture] : shown_)
            if (id == controlId) out.push_back(picture);
        return out;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<int, std::string>> shown_;
};

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 8s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

// A simulated unit on its own thread and a dashboard connected to it; the dashboard leaves the
// link and the unit's thread is joined when the test ends.
class UnitOnLink {
public:
    explicit UnitOnLink(const sim::Options& options) : simulator_(options) {}
    ~UnitOnLink() {
        if (d_.Links().Connected()) d_.ToggleConnection();
    }
    // Starts the unit and connects with `type` (serial device, or TCP on 127.0.0.1).
    bool Connect(int type, std::string& error) {
        if (!simulator_.Open(error)) return false;
        unit_ = std::jthread([this](const std::stop_token& t) { simulator_.Run(t); });
        d_.settings.connectionType = type;
        d_.settings.ipAddress = "127.0.0.1";
        d_.settings.tcpPort = simulator_.Port();
        d_.settings.serialBufferSize = 200;
        d_.settings.serialDevicePath = simulator_.Endpoint();
        d_.ToggleConnection();
        if (!d_.Links().Connected()) error = "the dashboard did not connect";
        return d_.Links().Connected();
    }
    auto Parts() { return std::tie(simulator_, prompt_, view_, clock_, d_); }

private:
    sim::Simulator simulator_;
    core::ScriptedPrompt prompt_;
    core::MemorySettingsStore store_;
    PictureHistory view_;
    core::ManualClock clock_;
    app::Dashboard d_{prompt_, store_, view_, clock_};
    std::jthread unit_;  // declared last: stopped and joined before the rest goes
};

struct SwitchCase {
    int type;
    sim::LinkKind link;
    sim::Mode mode;
    int bank;
    const char* legend;
};

class SwitchEndToEnd : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchEndToEnd, ToggleShowsPendingThenTheModulesReport) {
    const SwitchCase c = GetParam();
    sim::Options o;
    o.link = c.link;
    o.mode = c.mode;
    o.intervalMs = 100;
    o.bankInstance = c.bank;
    UnitOnLink u(o);
    auto [simulator, prompt, view, clock, d] = u.Parts();
    d.tables.values.kanteloMode = unit::kKanteloModule;
    d.tables.values.kanteloCountHigh = static_cast<std::uint8_t>(c.bank);
    d.RebuildChannelContext();
    std::string error;
    ASSERT_TRUE(u.Connect(c.type, error)) << error << c.legend;

    constexpr int kButton = unit::kSwitchButtonFirstId + 5;
    EXPECT_EQ(app::ToggleSwitchOutput(d, 5), unit::ToggleResult::Sent) << c.legend;
    EXPECT_EQ(view.Shown(kButton).front(), unit::kSwitchPendingPicture) << c.legend;
    EXPECT_TRUE(WaitFor([&] { return view.ButtonPicture(kButton) == unit::kSwitchOnPicture; }))
        << c.legend << ": the module's report never turned output 5 green";
    EXPECT_TRUE(simulator.State().outputs[5]) << c.legend;
    {
        std::lock_guard lock(d.channels.mutex);
        EXPECT_EQ(d.channels.SwitchState[5], 1) << c.legend;
        EXPECT_EQ(d.channels.SwitchState[4], 0) << c.legend;
    }

    EXPECT_EQ(app::ToggleSwitchOutput(d, 5), unit::ToggleResult::Sent) << c.legend;
    EXPECT_TRUE(WaitFor([&] { return view.ButtonPicture(kButton) == unit::kSwitchOffPicture; }))
        << c.legend << ": the module's report never turned output 5 red";
    const auto shown = view.Shown(kButton);
    const std::vector<std::string> want = {
        std::string(unit::kSwitchPendingPicture), std::string(unit::kSwitchOnPicture),
        std::string(unit::kSwitchPendingPicture), std::string(unit::kSwitchOffPicture)};
    EXPECT_EQ(shown, want) << c.legend;
    EXPECT_FALSE(simulator.State().outputs[5]) << c.legend;
    EXPECT_TRUE(prompt.MessageTexts().empty()) << c.legend;
}

// Presses in quick succession, before the module has reported the first: output 5, output 6,
// output 7 twice. Each command carries what was commanded before it, so the module ends with 5
// and 6 on and 7 off, and every button leaves the pending picture for its output's report.
TEST_P(SwitchEndToEnd, QuickPressesDoNotUndoEachOther) {
    const SwitchCase c = GetParam();
    sim::Options o;
    o.link = c.link;
    o.mode = c.mode;
    o.intervalMs = 100;
    o.bankInstance = c.bank;
    UnitOnLink u(o);
    auto [simulator, prompt, view, clock, d] = u.Parts();
    d.tables.values.kanteloMode = unit::kKanteloModule;
    d.tables.values.kanteloCountHigh = static_cast<std::uint8_t>(c.bank);
    d.RebuildChannelContext();
    std::string error;
    ASSERT_TRUE(u.Connect(c.type, error)) << error << c.legend;

    for (const int output : {5, 6, 7, 7})
        EXPECT_EQ(app::ToggleSwitchOutput(d, output), unit::ToggleResult::Sent) << c.legend;
    const auto picture = [&](int output) {
        return view.ButtonPicture(unit::kSwitchButtonFirstId + output);
    };
    EXPECT_TRUE(WaitFor([&] {
        return picture(5) == unit::kSwitchOnPicture && picture(6) == unit::kSwitchOnPicture &&
               picture(7) == unit::kSwitchOffPicture;
    })) << c.legend
        << ": buttons 5, 6, 7 show " << picture(5) << ", " << picture(6) << ", " << picture(7);
    const sim::UnitState module = simulator.State();
    EXPECT_TRUE(module.outputs[5] && module.outputs[6] && !module.outputs[7]) << c.legend;

    std::vector<std::string> switches;
    for (const auto& command : simulator.ReceivedCommands())
        if (command.starts_with("switch")) switches.push_back(command);
    const bool word = unit::SwitchFormFor(c.type) != unit::SwitchForm::Transducer;
    const std::string bank = "switch bank " + std::to_string(c.bank) + " ";
    const std::vector<std::string> want =
        word
            ? std::vector<std::string>{bank + "000001000000", bank + "000001100000",
                                       bank + "000001110000", bank + "000001100000"}
            : std::vector<std::string>{"switch 5 on", "switch 6 on", "switch 7 on", "switch 7 off"};
    EXPECT_EQ(switches, want) << c.legend;
    EXPECT_TRUE(prompt.MessageTexts().empty()) << c.legend;
}

// A module that never follows the command (it is bank 1, the command goes to bank 0): its
// reports leave the button pending until the wait ends; then the button shows the reported
// state and a message says so.
TEST(SwitchWait, UnconfirmedCommandEndsWithAMessage) {
    sim::Options o;
    o.link = sim::LinkKind::Tcp;
    o.mode = sim::Mode::Frames;
    o.intervalMs = 100;
    o.bankInstance = 1;
    UnitOnLink u(o);
    auto [simulator, prompt, view, clock, d] = u.Parts();
    d.tables.values.kanteloMode = unit::kKanteloModule;
    d.tables.values.kanteloCountHigh = 0;
    d.RebuildChannelContext();
    std::string error;
    ASSERT_TRUE(u.Connect(4, error)) << error;

    constexpr int kButton = unit::kSwitchButtonFirstId + 2;
    ASSERT_EQ(app::ToggleSwitchOutput(d, 2), unit::ToggleResult::Sent);
    std::this_thread::sleep_for(1200ms);  // several reports of bank 1 (none for bank 0)
    clock.AdvanceMs(unit::kSwitchReportWaitMs - 1);
    d.Watch();
    EXPECT_EQ(view.ButtonPicture(kButton), unit::kSwitchPendingPicture);
    EXPECT_TRUE(prompt.MessageTexts().empty());
    clock.AdvanceMs(1);
    d.Watch();
    EXPECT_EQ(view.ButtonPicture(kButton), unit::kSwitchOffPicture);
    EXPECT_EQ(prompt.MessageTexts(), std::vector<std::string>{unit::UnconfirmedSwitchText(
                                         {2}, unit::kSwitchReportWaitMs)});
    d.Watch();
    EXPECT_EQ(prompt.MessageTexts().size(), 1u) << "reported once";
}

INSTANTIATE_TEST_SUITE_P(
    Links, SwitchEndToEnd,
    ::testing::Values(SwitchCase{0, sim::LinkKind::Pty, sim::Mode::Text, 0, "serial text"},
                      SwitchCase{1, sim::LinkKind::Tcp, sim::Mode::Text, 3, "TCP gateway form"},
                      SwitchCase{1, sim::LinkKind::Tcp, sim::Mode::Gateway, 2,
                                 "TCP gateway, PGN 127501 sentences"},
                      SwitchCase{3, sim::LinkKind::Pty, sim::Mode::Frames, 4, "serial adapter"},
                      SwitchCase{4, sim::LinkKind::Tcp, sim::Mode::Frames, 0, "TCP frames"}),
    [](const auto& info) {
        return "Type" + std::to_string(info.param.type) + "Bank" + std::to_string(info.param.bank);
    });

// Next page and hold over a serial link: the unit follows, the caption names the page, PAGE
// shows pressed while the command goes out, two holds send the same bytes twice.
TEST(UnitCommandsEndToEnd, NextPageAndHoldReachTheUnit) {
    for (const bool twoDisplays : {false, true}) {
        sim::Options o;
        o.link = sim::LinkKind::Pty;
        o.intervalMs = 100;
        UnitOnLink u(o);
        auto [simulator, prompt, view, clock, d] = u.Parts();
        d.page.m_nPageCount = twoDisplays ? 14 : 5;
        d.page.m_bMultiDisplay = twoDisplays ? 1 : 0;
        d.page.m_nCurrentPage = twoDisplays ? 2 : 4;
        std::string error;
        ASSERT_TRUE(u.Connect(0, error)) << error;

        d.NextPage();
        EXPECT_EQ(d.page.m_nCurrentPage, twoDisplays ? 3 : 0);
        const std::string want = twoDisplays ? " Display 0 Page 3" : " Page 0";
        EXPECT_TRUE(d.Caption().ends_with(want)) << d.Caption();
        EXPECT_EQ(view.Shown(app::kIdPage), (std::vector<std::string>{"PAGED_PAGEU", "PAGE"}));
        EXPECT_TRUE(WaitFor([&] { return simulator.State().page == 1; }, 3s));

        d.ToggleHold();
        EXPECT_TRUE(WaitFor([&] { return simulator.State().hold; }, 3s));
        d.ToggleHold();
        EXPECT_TRUE(WaitFor([&] { return !simulator.State().hold; }, 3s));
        EXPECT_EQ(view.Shown(app::kIdStop), (std::vector<std::string>{"STOPD_STOPU", "STOP"}));
        int holds = 0;
        for (const auto& c : simulator.ReceivedCommands()) holds += c == "hold" ? 1 : 0;
        EXPECT_EQ(holds, 2);
        EXPECT_TRUE(prompt.MessageTexts().empty());
    }
}

// The first-page touch zone with a link: the unit, which only knows "next page", is stepped
// on to its page 0 with the window, so both show the same page; on page 0 nothing is sent.
TEST(UnitCommandsEndToEnd, FirstPageZoneTakesTheUnitToPageZeroToo) {
    sim::Options o;
    o.link = sim::LinkKind::Pty;
    o.intervalMs = 100;
    UnitOnLink u(o);
    auto [simulator, prompt, view, clock, d] = u.Parts();
    d.page.m_nPageCount = 8;  // the simulated unit has eight pages
    std::string error;
    ASSERT_TRUE(u.Connect(0, error)) << error;
    const auto nextPages = [&] {
        int n = 0;
        for (const auto& c : simulator.ReceivedCommands()) n += c == "$PKZLC,N" ? 1 : 0;
        return n;
    };

    for (int i = 0; i < 3; ++i) d.NextPage();
    ASSERT_TRUE(WaitFor([&] { return simulator.State().page == 3; }, 3s));
    app::GoToFirstPage(d);
    EXPECT_EQ(d.page.m_nCurrentPage, 0);
    EXPECT_TRUE(WaitFor([&] { return nextPages() >= 8; }, 3s));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(simulator.State().page, 0) << "the unit is not on the window's page";
    EXPECT_EQ(nextPages(), 8);

    app::GoToFirstPage(d);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(nextPages(), 8) << "page 0 already: nothing to send";
    EXPECT_EQ(simulator.State().page, 0);
    EXPECT_TRUE(prompt.MessageTexts().empty());
}

// Every form the dashboard sends is understood by the simulated module: the output flips, and
// a command for another bank leaves the module alone.
TEST(SwitchForms, TheSimulatedModuleUnderstandsEveryForm) {
    for (int type = 0; type < 8; ++type) {
        sim::Unit unit(7);
        sim::CommandParser parser;
        unit::SwitchStates states{};
        for (const auto& command : parser.Feed(unit::SwitchCommand(type, states, 9, 7)))
            unit.Handle(command);
        EXPECT_TRUE(unit.State().outputs[9]) << type;
        states[9] = 1;
        for (const auto& command : parser.Feed(unit::SwitchCommand(type, states, 9, 6)))
            unit.Handle(command);
        const bool bankless = unit::SwitchFormFor(type) == unit::SwitchForm::Transducer;
        EXPECT_EQ(unit.State().outputs[9], !bankless) << type << ": bank 6 is not this module";
    }
}

// While the unit holds, its values pause but its status goes on.
TEST(SimulatedHold, ValuesPauseStatusContinues) {
    sim::UnitState held;
    held.hold = true;
    for (const sim::Mode mode : {sim::Mode::Text, sim::Mode::Screen}) {
        std::string all;
        for (const auto& m : sim::CycleMessages(mode, held, 10, 0)) all += m;
        EXPECT_EQ(all.find("$IIXDR,"), std::string::npos);
        EXPECT_EQ(all.find("\"m0"), std::string::npos);
        EXPECT_NE(all.find("$PKZLS,S,"), std::string::npos);
        EXPECT_NE(all.find("HOLD"), std::string::npos);
    }
    const auto frames = sim::CycleMessages(sim::Mode::Frames, held, 10, 0);
    EXPECT_EQ(frames.size(), 2u) << "switch bank status and system time only";
    const auto free = sim::CycleMessages(sim::Mode::Frames, sim::UnitState{}, 10, 0);
    EXPECT_GT(free.size(), 10u);
    std::string text;
    for (const auto& m : sim::CycleMessages(sim::Mode::Text, sim::UnitState{}, 10, 0)) text += m;
    EXPECT_NE(text.find("$IIXDR,"), std::string::npos);
}

}  // namespace
