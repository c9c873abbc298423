#include "unit/switch_module.h"

#include <gtest/gtest.h>

#include "core/prompt.h"
#include "core/view.h"
#include "decode/unit_sentences.h"

namespace pelor::unit {
namespace {

SwitchStates States(std::initializer_list<int> on) {
    SwitchStates s{};
    for (int i : on) s[static_cast<std::size_t>(i)] = 1;
    return s;
}

TEST(SwitchModule, StateWord) {
    struct Case {
        SwitchStates states;
        int output;
        std::uint32_t want;
        const char* legend;
    };
    const Case kCases[] = {
        {States({0, 2}), 1, 0xFF000015u, "0 and 2 on, toggle 1: W0 = 0x15"},
        {States({}), 0, 0xFF000001u, "all off, toggle 0"},
        {States({5}), 5, 0xFF000000u, "5 on, toggle 5: all off"},
        {States({}), 11, 0xFF400000u, "toggle 11: bit 22 (W2 = 0x40)"},
        {States({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), 4, 0xFF555455u, "all on, toggle 4"},
        {SwitchStates{7, 0, 200}, 3, 0xFF000051u, "any nonzero state is on"},
    };
    for (const auto& c : kCases) EXPECT_EQ(SwitchStateWord(c.states, c.output), c.want) << c.legend;
}

TEST(SwitchModule, TransducerSentencesForEveryOutput) {
    const char* const kDigits = "0123456789AB";
    for (int k = 0; k < 12; ++k) {
        std::string name = "SW" + std::to_string(k);
        name.resize(8, ' ');
        const std::string tail = ",R," + name + kDigits[k] + ",*66\r";
        EXPECT_EQ(TransducerSwitchSentence(k, true), "\r$IIXDR,S, ON " + tail) << k;
        EXPECT_EQ(TransducerSwitchSentence(k, false), "\r$IIXDR,S,OFF " + tail) << k;
        EXPECT_EQ(TransducerSwitchSentence(k, true).size(), 31u);
    }
    EXPECT_EQ(TransducerSwitchSentence(10, true), "\r$IIXDR,S, ON ,R,SW10    A,*66\r");
}

TEST(SwitchModule, CommandFormByConnectionType) {
    // Output 5 on over a serial link: the OFF sentence.
    EXPECT_EQ(SwitchCommand(0, States({5}), 5, 0), "\r$IIXDR,S,OFF ,R,SW5     5,*66\r");
    EXPECT_EQ(SwitchCommand(2, States({}), 5, 0), "\r$IIXDR,S, ON ,R,SW5     5,*66\r");
    // Gateway: bank 3, outputs 0 and 2 on, toggle 1.
    for (int type : {1, 6}) {
        const std::string s = SwitchCommand(type, States({0, 2}), 1, 3);
        EXPECT_EQ(s, "$PKZLN,01F20E,00000000,FF,03150000FFFFFFFF*22\r\n") << type;
        EXPECT_EQ(s.size(), 47u);
    }
    EXPECT_EQ(GatewaySwitchSentence(15, 0xFF000A00u).substr(26, 16), "0F000A00FFFFFFFF");
    for (int type : {3, 4, 5, 7}) {
        const std::string f = SwitchCommand(type, States({}), 0, 0);
        EXPECT_EQ(f.substr(0, 3), std::string("\x10\x02\x94", 3)) << type;
    }
    EXPECT_EQ(SwitchFormFor(9), SwitchForm::Transducer);
}

std::string Bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b) s += static_cast<char>(v);
    return s;
}

TEST(SwitchModule, AdapterFrameByteForByte) {
    // Bank 0, toggle output 0 on: bytes 0..15 sum to 0x6AE -> check byte 0x52.
    EXPECT_EQ(AdapterSwitchFrame(0, SwitchStateWord(States({}), 0)),
              Bytes({0x10, 0x02, 0x94, 0x0E, 0x07, 0x0E, 0xF2, 0x01, 0xFF, 0x08, 0x00,
                     0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x52, 0x10, 0x03}));
    // W0 = 0x10 (output 2 on) is doubled.
    const std::string w0 = AdapterSwitchFrame(0, SwitchStateWord(States({}), 2));
    EXPECT_EQ(w0.substr(10, 4), Bytes({0x00, 0x10, 0x10, 0x00}));
    EXPECT_EQ(w0.size(), 22u);
}

TEST(SwitchModule, CheckByteOf0x10IsDoubled) {
    // Bank 3, all off, toggle output 3 (W0 = 0x40): bytes 0..15 sum to 0x6F0 -> check 0x10.
    const std::uint32_t word = SwitchStateWord(States({}), 3);
    const auto m = AdapterSwitchMessage(3, word);
    ASSERT_EQ(m[16], 0x10);
    unsigned sum = 0;
    for (const auto b : m) sum += b;
    EXPECT_EQ(sum & 0xFF, 0u);
    EXPECT_EQ(AdapterSwitchFrame(3, word),
              Bytes({0x10, 0x02, 0x94, 0x0E, 0x07, 0x0E, 0xF2, 0x01, 0xFF, 0x08, 0x03,
                     0x40, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x10, 0x10, 0x10, 0x03}));
    // A bank instance of 0x10 would be doubled the same way; the frame never holds a lone DLE.
    const std::string f = AdapterSwitchFrame(0, SwitchStateWord(States({}), 2));
    for (std::size_t i = 2; i + 2 < f.size(); ++i) {
        if (f[i] != '\x10') continue;
        EXPECT_EQ(f[i + 1], '\x10') << i;
        ++i;
    }
}

struct Sent {
    std::vector<std::string> commands;
    int result = 0;
    std::function<int(std::string_view)> Sender() {
        return [this](std::string_view s) {
            commands.emplace_back(s);
            return result;
        };
    }
};

TEST(SwitchModule, ToggleSendsOnlyForAModuleOnALink) {
    struct Case {
        std::uint8_t kind;
        bool connected;
        ToggleResult want;
        const char* legend;
    };
    const Case kCases[] = {
        {0x30, true, ToggleResult::Sent, "remote module"},
        {0x40, true, ToggleResult::Sent, "direct module"},
        {0x20, true, ToggleResult::NotAModule, "indicator display bar"},
        {0x00, true, ToggleResult::NotAModule, "disabled"},
        {0x40, false, ToggleResult::NoLink, "no link"},
    };
    for (const auto& c : kCases) {
        Sent sent;
        core::RecordingView view;
        core::ScriptedPrompt prompt;
        const SwitchSetup setup{c.kind, 0, 0, c.connected};
        decode::ChannelStore store;
        store.SwitchState = States({5});
        EXPECT_EQ(ToggleSwitch(setup, store, 5, sent.Sender(), view, prompt, 0), c.want)
            << c.legend;
        const bool sends = c.want == ToggleResult::Sent;
        EXPECT_EQ(sent.commands.size(), sends ? 1u : 0u) << c.legend;
        EXPECT_EQ(view.ButtonPicture(1539), sends ? "SWYELLOW_SWYELLOW" : "") << c.legend;
        EXPECT_TRUE(prompt.shown.empty()) << c.legend;
    }
}

TEST(SwitchModule, FailedWriteIsReportedAndNotPending) {
    Sent sent;
    sent.result = 9;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    decode::ChannelStore store;
    EXPECT_EQ(ToggleSwitch({0x40, 0, 0, true}, store, 0, sent.Sender(), view, prompt, 0),
              ToggleResult::WriteFailed);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Unable to write to serial port: code =9");
    EXPECT_EQ(prompt.shown[0].caption, "Error");
    EXPECT_EQ(view.ButtonPicture(1534), "");
    EXPECT_FALSE(store.SwitchPending.pending[0]);
    // The next press starts from the report again: output 0 is still off, so "on" is sent.
    sent.result = 0;
    EXPECT_EQ(ToggleSwitch({0x40, 0, 0, true}, store, 0, sent.Sender(), view, prompt, 0),
              ToggleResult::Sent);
    EXPECT_EQ(sent.commands.back(), TransducerSwitchSentence(0, true));
}

// Quick presses: a command is built from what was commanded while earlier commands wait for
// the module's report, so a second output's command does not turn the first off again, and a
// second press of the same output turns it back.
TEST(SwitchModule, PressesWhileCommandsArePendingBuildOnWhatWasCommanded) {
    for (const int type : {0, 1, 3}) {
        Sent sent;
        core::RecordingView view;
        core::ScriptedPrompt prompt;
        decode::ChannelStore store;
        const SwitchSetup setup{0x40, 2, type, true};
        for (const int output : {5, 6, 9, 9})
            ASSERT_EQ(ToggleSwitch(setup, store, output, sent.Sender(), view, prompt, 100),
                      ToggleResult::Sent);
        ASSERT_EQ(sent.commands.size(), 4u);
        const std::vector<std::string> want =
            SwitchFormFor(type) == SwitchForm::Transducer
                ? std::vector<std::string>{TransducerSwitchSentence(5, true),
                                           TransducerSwitchSentence(6, true),
                                           TransducerSwitchSentence(9, true),
                                           TransducerSwitchSentence(9, false)}
                : std::vector<std::string>{SwitchCommand(type, States({}), 5, 2),
                                           SwitchCommand(type, States({5}), 6, 2),
                                           SwitchCommand(type, States({5, 6}), 9, 2),
                                           SwitchCommand(type, States({5, 6, 9}), 9, 2)};
        EXPECT_EQ(sent.commands, want) << "type " << type;
        EXPECT_EQ(CommandBasis(store), States({5, 6})) << "type " << type;
        for (const int output : {5, 6, 9})
            EXPECT_EQ(view.ButtonPicture(kSwitchButtonFirstId + output), kSwitchPendingPicture);
    }
}

// A pending button leaves the pending picture as soon as a report gives its commanded state,
// even when the state did not change (pressed on and off again); a report that predates the
// command leaves it pending; one that never comes ends the wait with a message.
TEST(SwitchModule, ReportsSettlePendingOutputsAndTheWaitEnds) {
    Sent sent;
    core::RecordingView view;
    core::ScriptedPrompt prompt;
    decode::ChannelStore store;
    decode::ChannelContext context;
    context.view = &view;
    const SwitchSetup setup{0x40, 0, 1, true};
    for (const int output : {2, 3, 3, 4})
        ToggleSwitch(setup, store, output, sent.Sender(), view, prompt, 1000);
    const auto picture = [&](int output) {
        return view.ButtonPicture(kSwitchButtonFirstId + output);
    };

    // Sent before the commands arrived: nothing settles, nothing flips back to red.
    decode::ApplySwitchStatus(store, context, "000000000000");
    EXPECT_EQ(picture(2), kSwitchPendingPicture);
    EXPECT_EQ(picture(4), kSwitchPendingPicture);
    // Output 3 was commanded on and off again: "off" is what it was commanded to.
    EXPECT_EQ(picture(3), std::string(kSwitchOffPicture));
    EXPECT_FALSE(store.SwitchPending.pending[3]);

    decode::ApplySwitchStatus(store, context, "001000000000");
    EXPECT_EQ(picture(2), std::string(kSwitchOnPicture));
    EXPECT_EQ(picture(4), kSwitchPendingPicture);

    // Output 4 never reports on: at the limit its button shows the report again.
    EXPECT_TRUE(
        ExpirePendingSwitches(store, 1000 + kSwitchReportWaitMs - 1, kSwitchReportWaitMs, view)
            .empty());
    EXPECT_EQ(ExpirePendingSwitches(store, 1000 + kSwitchReportWaitMs, kSwitchReportWaitMs, view),
              std::vector<int>{4});
    EXPECT_EQ(picture(4), std::string(kSwitchOffPicture));
    EXPECT_EQ(CommandBasis(store), States({2}));
    EXPECT_EQ(UnconfirmedSwitchText({4}, kSwitchReportWaitMs),
              "The switch module did not report switch 5 as commanded within 5 seconds. Its "
              "button shows the last reported state.");
    EXPECT_EQ(UnconfirmedSwitchText({0, 11}, kSwitchReportWaitMs),
              "The switch module did not report switches 1, 12 as commanded within 5 seconds. "
              "Their buttons show the last reported state.");
}

}  // namespace
}  // namespace pelor::unit
