#pragma once
// The remote unit's own status sentences, "$PKZLS,<type>,<payload>":
//   V  version            payload up to the first ','   -> caption prefix
//   D  status text        payload up to the first '*'   -> appended to the caption prefix
//   H  status text        payload up to the first '*'   -> appended to the caption prefix
//   S  switch status      12 characters '1' on / '0' off -> switch states and button pictures
// No checksum is tested; a sentence is used once enough characters follow its '$'.
#include <string_view>

#include "decode/channel_context.h"
#include "decode/channel_store.h"

namespace pelor::decode {

// Control id of the main window's switch button for output 0; outputs 1..11 follow.
inline constexpr int kSwitchButtonFirstId = 1534;
// Picture pairs ("U"/"D" appended) of a main-window switch button showing on and off: the
// 32 x 32 pair of the button itself, not the switch window's large pictures.
inline constexpr std::string_view kSwitchOnPicture = "SWON32";
inline constexpr std::string_view kSwitchOffPicture = "SWOFF32";

// Character i of `payload` (0..11): '1' turns output i on, '0' off, anything else leaves it.
// Outputs whose state changes get a new button picture, except a pending output (one that
// was commanded): it settles, and shows the reported state, once a report gives the state
// it was commanded to. Call with store.mutex held.
void ApplySwitchStatus(ChannelStore& store, const ChannelContext& context,
                       std::string_view payload);

// Finds the first "$PKZLS,V,", ",D,", ",H," and ",S," sentence of store.ReceiveText and
// applies each that is complete. No "$PKZLS,V," at all sets the prefix to "recieving..".
void ApplyUnitSentences(ChannelStore& store, const ChannelContext& context);

}  // namespace pelor::decode
