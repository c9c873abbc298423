#pragma once
// The remote unit's own status sentences, "$PKZLS,<type>,<payload>":
//   V  version            payload up to the first ','   -> caption prefix
//   D  status text        payload up to the first '*'   -> appended to the caption prefix
//   H  status text        payload up to the first '*'   -> appended to the caption prefix
//   S  switch status      12 characters '1' on / '0' off -> switch states and button pictures
// No checksum is tested. The reader pass's dispatch table hands each handler below the text
// from the sentence's '$' on, once the sentence's minimum length has arrived.
#include <cstddef>
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

// Characters from the '$' on that each sentence needs before it is used.
inline constexpr std::size_t kVersionSentenceLength = 18;
inline constexpr std::size_t kDSentenceLength = 38;
inline constexpr std::size_t kHSentenceLength = 49;
inline constexpr std::size_t kSwitchSentenceLength = 49;

// Character i of `payload` (0..11): '1' turns output i on, '0' off, anything else leaves it.
// Outputs whose state changes get a new button picture, except a pending output (one that
// was commanded): it settles, and shows the reported state, once a report gives the state
// it was commanded to. Call with store.mutex held.
void ApplySwitchStatus(ChannelStore& store, const ChannelContext& context,
                       std::string_view payload);

// The handlers of "$PKZLS,V,", ",D,", ",H," and ",S,". Call with store.mutex held.
void ApplyVersionSentence(ChannelStore& store, const ChannelContext& context,
                          std::string_view sentence);
void ApplyDSentence(ChannelStore& store, const ChannelContext& context, std::string_view sentence);
void ApplyHSentence(ChannelStore& store, const ChannelContext& context, std::string_view sentence);
void ApplySwitchSentence(ChannelStore& store, const ChannelContext& context,
                         std::string_view sentence);
// No "$PKZLS,V," in the text at all: the prefix becomes "recieving..".
void MarkVersionMissing(ChannelStore& store, const ChannelContext& context);

}  // namespace pelor::decode
