#pragma once
// Transducer sentences of the remote unit, one per channel value:
//   $IIXDR,t,vvvvvvvv,u,nnnnnnnnc*hh\r — value text, name = 8-character label + channel digit
// 33 characters as the unit sends them; fields are found by commas, but the name field must
// be exactly 9 characters (the fourth comma lies 10 characters before the '*').
#include <cstddef>
#include <string_view>

#include "decode/channel_context.h"
#include "decode/channel_store.h"

namespace pelor::decode {

// Decodes every complete, checked sentence of `text` into its channel (LastSentence and
// UpdateChannel), then keeps in store.ReceiveText the tail from the last sentence start found
// (the whole text when there is none) and returns its length. The last sentence of a text is
// therefore decoded again by the next call. A sentence with a wrong checksum is skipped; one
// whose name field is not 9 characters stops decoding and stays at the head of the tail.
// `text` may be a view of store.ReceiveText. Call with store.mutex held.
std::size_t DecodeTransducerSentences(ChannelStore& store, const ChannelContext& context,
                                      std::string_view text);

}  // namespace pelor::decode
