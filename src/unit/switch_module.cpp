#include "unit/switch_module.h"

#include "core/format.h"
#include "core/prompt.h"
#include "core/view.h"
#include "unit/unit_commands.h"

namespace pelor::unit {

namespace {

constexpr char kDle = 0x10;
constexpr char kStx = 0x02;
constexpr char kEtx = 0x03;
constexpr std::string_view kGatewayTemplate = "$PKZLN,01F20E,00000000,FF,00040000FFFFFFFF*22\r\n";
constexpr std::size_t kGatewayDataAt = 26;

std::uint8_t WordByte(std::uint32_t word, int n) {
    return static_cast<std::uint8_t>((word >> (8 * n)) & 0xFF);
}

}  // namespace

bool TakesSwitchCommands(std::uint8_t moduleKind) {
    return moduleKind == kKanteloRemote || moduleKind == kKanteloModule;
}

SwitchForm SwitchFormFor(int connectionType) {
    switch (connectionType) {
        case 3:
        case 4:
        case 5:
        case 7:
            return SwitchForm::AdapterFrame;
        case 1:
        case 6:
            return SwitchForm::GatewaySentence;
        default:
            return SwitchForm::Transducer;
    }
}

std::uint32_t SwitchStateWord(const SwitchStates& states, int output) {
    std::uint32_t word = 0xFF000000u;
    for (int j = 0; j < kSwitchCount; ++j) {
        bool on = states[static_cast<std::size_t>(j)] != 0;
        if (j == output) on = !on;
        if (on) word |= 1u << (2 * j);
    }
    return word;
}

std::string TransducerSwitchSentence(int output, bool on) {
    const std::string name = core::Format("SW%d", output);
    return core::Format("\r$IIXDR,S,%s,R,%-8s%X,*66\r", on ? " ON " : "OFF ", name.c_str(),
                        output & 0xF);
}

std::string GatewaySwitchSentence(int bankInstance, std::uint32_t word) {
    std::string s(kGatewayTemplate);
    const std::string data =
        core::Format("%02X%02X%02X%02X%02XFFFFFF", bankInstance & 0xFF, WordByte(word, 0),
                     WordByte(word, 1), WordByte(word, 2), WordByte(word, 3));
    s.replace(kGatewayDataAt, data.size(), data);
    return s;
}

std::array<std::uint8_t, 17> AdapterSwitchMessage(int bankInstance, std::uint32_t word) {
    std::array<std::uint8_t, 17> m = {0x94,
                                      0x0E,
                                      0x07,
                                      0x0E,
                                      0xF2,
                                      0x01,
                                      0xFF,
                                      0x08,
                                      static_cast<std::uint8_t>(bankInstance),
                                      WordByte(word, 0),
                                      WordByte(word, 1),
                                      WordByte(word, 2),
                                      0xFF,
                                      0xFF,
                                      0xFF,
                                      0xFF,
                                      0};
    unsigned sum = 0;
    for (std::size_t i = 0; i < 16; ++i) sum += m[i];
    m[16] = static_cast<std::uint8_t>((256 - (sum & 0xFF)) & 0xFF);
    return m;
}

std::string AdapterSwitchFrame(int bankInstance, std::uint32_t word) {
    std::string out{kDle, kStx};
    for (const std::uint8_t b : AdapterSwitchMessage(bankInstance, word)) {
        out += static_cast<char>(b);
        if (b == 0x10) out += static_cast<char>(b);
    }
    out += kDle;
    out += kEtx;
    return out;
}

std::string SwitchCommand(int connectionType, const SwitchStates& states, int output,
                          int bankInstance) {
    const std::uint32_t word = SwitchStateWord(states, output);
    switch (SwitchFormFor(connectionType)) {
        case SwitchForm::AdapterFrame:
            return AdapterSwitchFrame(bankInstance, word);
        case SwitchForm::GatewaySentence:
            return GatewaySwitchSentence(bankInstance, word);
        case SwitchForm::Transducer:
            break;
    }
    return TransducerSwitchSentence(output, states[static_cast<std::size_t>(output)] == 0);
}

ToggleResult ToggleSwitch(const SwitchSetup& setup, const SwitchStates& states, int output,
                          const std::function<int(std::string_view)>& send, core::View& view,
                          core::Prompt& prompt) {
    if (output < 0 || output >= kSwitchCount) return ToggleResult::NotAModule;
    if (!TakesSwitchCommands(setup.moduleKind)) return ToggleResult::NotAModule;
    if (!setup.connected || !send) return ToggleResult::NoLink;
    const std::string command =
        SwitchCommand(setup.connectionType, states, output, setup.bankInstance);
    const int result = send(command);
    if (result != 0) {
        prompt.Message(WriteFailureText(result), "Error");
        return ToggleResult::WriteFailed;
    }
    view.SetButtonPicture(kSwitchButtonFirstId + output, kSwitchPendingPicture);
    return ToggleResult::Sent;
}

}  // namespace pelor::unit
