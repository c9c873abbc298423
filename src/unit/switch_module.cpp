#include "unit/switch_module.h"

#include <mutex>

#include "core/format.h"
#include "core/prompt.h"
#include "core/view.h"
#include "links/connection_kind.h"
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
    const links::ConnectionKind* kind = links::FindConnectionKind(connectionType);
    if (kind == nullptr) return SwitchForm::Transducer;
    if (kind->n2k) return SwitchForm::AdapterFrame;
    // Text over the network comes from a gateway, which takes the command as its own sentence.
    return kind->transport == links::Transport::Network ? SwitchForm::GatewaySentence
                                                        : SwitchForm::Transducer;
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

SwitchStates CommandBasis(const decode::ChannelStore& store) {
    SwitchStates basis = store.SwitchState;
    const decode::PendingSwitches& p = store.SwitchPending;
    for (std::size_t k = 0; k < basis.size(); ++k)
        if (p.pending[k]) basis[k] = p.commanded[k];
    return basis;
}

ToggleResult ToggleSwitch(const SwitchSetup& setup, decode::ChannelStore& store, int output,
                          const std::function<int(std::string_view)>& send, core::View& view,
                          core::Prompt& prompt, std::int64_t nowMs) {
    if (output < 0 || output >= kSwitchCount) return ToggleResult::NotAModule;
    if (!TakesSwitchCommands(setup.moduleKind)) return ToggleResult::NotAModule;
    if (!setup.connected || !send) return ToggleResult::NoLink;
    const auto k = static_cast<std::size_t>(output);
    std::string command;
    bool wasPending = false;
    std::uint8_t wasCommanded = 0;
    std::int64_t wasSince = 0;
    {
        // Marked before the send, so that a report answering the command, which the reader
        // may take before the send returns, finds the output pending.
        std::lock_guard lock(store.mutex);
        const SwitchStates basis = CommandBasis(store);
        command = SwitchCommand(setup.connectionType, basis, output, setup.bankInstance);
        decode::PendingSwitches& p = store.SwitchPending;
        wasPending = p.pending[k];
        wasCommanded = p.commanded[k];
        wasSince = p.sinceMs[k];
        p.pending[k] = true;
        p.commanded[k] = basis[k] != 0 ? 0 : 1;
        p.sinceMs[k] = nowMs;
    }
    const int result = send(command);
    {
        std::lock_guard lock(store.mutex);
        decode::PendingSwitches& p = store.SwitchPending;
        if (result != 0) {
            // Nothing went out: whatever was pending before still is.
            p.pending[k] = wasPending;
            p.commanded[k] = wasCommanded;
            p.sinceMs[k] = wasSince;
        } else if (p.pending[k]) {
            // Under the store's lock, so a report's picture for this output follows it.
            view.SetButtonPicture(kSwitchButtonFirstId + output, kSwitchPendingPicture);
        }
    }
    if (result != 0) {
        prompt.Message(WriteFailureText(result), "Error");
        return ToggleResult::WriteFailed;
    }
    return ToggleResult::Sent;
}

std::vector<int> ExpirePendingSwitches(decode::ChannelStore& store, std::int64_t nowMs,
                                       std::int64_t limitMs, core::View& view) {
    std::vector<int> expired;
    std::lock_guard lock(store.mutex);
    decode::PendingSwitches& p = store.SwitchPending;
    for (std::size_t k = 0; k < p.pending.size(); ++k) {
        if (!p.pending[k] || nowMs - p.sinceMs[k] < limitMs) continue;
        p.pending[k] = false;
        const int output = static_cast<int>(k);
        view.SetButtonPicture(kSwitchButtonFirstId + output,
                              store.SwitchState[k] != 0 ? kSwitchOnPicture : kSwitchOffPicture);
        expired.push_back(output);
    }
    return expired;
}

std::string UnconfirmedSwitchText(const std::vector<int>& outputs, std::int64_t limitMs) {
    std::string numbers;
    for (const int output : outputs) {
        if (!numbers.empty()) numbers += ", ";
        numbers += core::Format("%d", output + 1);
    }
    const bool one = outputs.size() == 1;
    return core::Format(
        "The switch module did not report %s %s as commanded within %d seconds. %s the "
        "last reported state.",
        one ? "switch" : "switches", numbers.c_str(), static_cast<int>(limitMs / 1000),
        one ? "Its button shows" : "Their buttons show");
}

}  // namespace pelor::unit
