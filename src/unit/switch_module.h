#pragma once
// The switch module's twelve outputs: the state word of a toggle and the command that carries
// it, in the form the connection type needs.
//
// State word (32 bits) for a toggle of output k: output j in bits 2j..2j+1, 01 on, 00 off;
// output k gets the opposite of its present state; bits 24..31 are all 1. Little-endian bytes
// W0..W3 (W3 is always 0xFF).
//
// Forms:
//   transducer sentence (unit links)   "\r$IIXDR,S, ON ,R,SW5     5,*66\r"  (31 bytes; "OFF ")
//   gateway sentence (types 1, 6)      "$PKZLN,01F20E,00000000,FF,BBW0W1W2W3FFFFFF*22\r\n"
//                                      (47 bytes, bank and word as upper-case hex)
//   adapter frame (types 3, 4, 5, 7)   DLE STX, 17 bytes with every 0x10 doubled, DLE ETX:
//     94 0E 07 | 0E F2 01 (PGN 127502) | FF (all) | 08 | bank W0 W1 W2 FF FF FF FF | check
//     where check = 256 - (sum of the 16 bytes before it), modulo 256
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "decode/channel_store.h"
#include "decode/unit_sentences.h"

namespace pelor::core {
class View;
class Prompt;
}  // namespace pelor::core

namespace pelor::unit {

inline constexpr int kSwitchCount = 12;
using SwitchStates = std::array<std::uint8_t, kSwitchCount>;  // nonzero = on

// The main window's switch button of output 0; outputs 1..11 follow.
inline constexpr int kSwitchButtonFirstId = decode::kSwitchButtonFirstId;
// The main window's 32 x 32 switch pictures: "U"/"D" pairs for on and off (shown when the
// module reports), one picture for both looks while a command waits for the report.
inline constexpr std::string_view kSwitchOnPicture = decode::kSwitchOnPicture;
inline constexpr std::string_view kSwitchOffPicture = decode::kSwitchOffPicture;
inline constexpr std::string_view kSwitchPendingPicture = "SWYELLOW_SWYELLOW";

// Switch module kinds (options byte 5 AND 0x70) that take commands.
inline constexpr std::uint8_t kKanteloRemote = 0x30;
inline constexpr std::uint8_t kKanteloModule = 0x40;
bool TakesSwitchCommands(std::uint8_t moduleKind);

enum class SwitchForm { Transducer, GatewaySentence, AdapterFrame };
SwitchForm SwitchFormFor(int connectionType);

std::uint32_t SwitchStateWord(const SwitchStates& states, int output);

// The transducer sentence that turns `output` on (`on`) or off.
std::string TransducerSwitchSentence(int output, bool on);
// The gateway sentence for a bank instance (0..15) and state word.
std::string GatewaySwitchSentence(int bankInstance, std::uint32_t word);
// The 17 bytes of the adapter's send command, before framing.
std::array<std::uint8_t, 17> AdapterSwitchMessage(int bankInstance, std::uint32_t word);
// The adapter frame as sent: DLE STX, the message with every 0x10 doubled, DLE ETX.
std::string AdapterSwitchFrame(int bankInstance, std::uint32_t word);

// The command for a toggle of `output` over a link of `connectionType`.
std::string SwitchCommand(int connectionType, const SwitchStates& states, int output,
                          int bankInstance);

struct SwitchSetup {
    std::uint8_t moduleKind = 0;  // options byte 5 AND 0x70
    int bankInstance = 0;         // 0..15
    int connectionType = 0;
    bool connected = false;
};

enum class ToggleResult { NotAModule, NoLink, Sent, WriteFailed };

// The states a command starts from: the module's last report, with every pending output at
// the state it was commanded to. Call with store.mutex held.
SwitchStates CommandBasis(const decode::ChannelStore& store);

// Toggles output `output` (0..11): nothing for other module kinds or without a link;
// otherwise builds the command from CommandBasis (so that quick presses of several outputs
// do not undo each other), marks the output pending at the opposite of its basis state as
// of `nowMs`, and sends the command through `send` (which returns 0 or an error code). A
// sent command shows the pending picture on the output's button (unless a report settled it
// meanwhile); a failed write leaves the output as it was and is reported as "Unable to write
// to serial port: code =%d". The stored state is left alone: it changes when the module
// reports. Takes store.mutex itself; call without it.
ToggleResult ToggleSwitch(const SwitchSetup& setup, decode::ChannelStore& store, int output,
                          const std::function<int(std::string_view)>& send, core::View& view,
                          core::Prompt& prompt, std::int64_t nowMs);

// How long a commanded output waits for a report in the commanded state.
inline constexpr std::int64_t kSwitchReportWaitMs = 5000;

// Ends the wait of every pending output commanded `limitMs` or more before `nowMs`: its
// button shows the reported state again. Returns those outputs, in order. Takes
// store.mutex itself.
std::vector<int> ExpirePendingSwitches(decode::ChannelStore& store, std::int64_t nowMs,
                                       std::int64_t limitMs, core::View& view);

// The message for outputs whose command no report confirmed (outputs 0-based, shown 1-based
// as on the buttons' tool tips).
std::string UnconfirmedSwitchText(const std::vector<int>& outputs, std::int64_t limitMs);

}  // namespace pelor::unit
