#include "decode/reader_pass.h"

#include <algorithm>
#include <mutex>
#include <string>

#include "core/clock.h"
#include "core/view.h"
#include "decode/n2k_text.h"
#include "decode/receive_text.h"
#include "decode/text_framer.h"
#include "decode/transducer_sentences.h"
#include "decode/unit_sentences.h"

namespace pelor::decode {
namespace {

// The TCP text link waits until this many characters follow a sentence start.
constexpr std::size_t kTcpLookahead = 48;

constexpr std::string_view kTransducerStart = "$IIXDR";
constexpr std::string_view kGatewayStart = "$PKZLN,";

// The sentences dispatched by their start: prefix, characters from the '$' on that must have
// arrived, handler, and what to do when the text holds no such sentence.
constexpr SentenceRow kUnitSentenceRows[] = {
    {"$PKZLS,V,", kVersionSentenceLength, ApplyVersionSentence, MarkVersionMissing},
    {"$PKZLS,D,", kDSentenceLength, ApplyDSentence, nullptr},
    {"$PKZLS,H,", kHSentenceLength, ApplyHSentence, nullptr},
    {"$PKZLS,S,", kSwitchSentenceLength, ApplySwitchSentence, nullptr},
};
static_assert(ValidSentenceRows(kUnitSentenceRows));

void Append(std::string& receive, std::string_view received, LinkKind link) {
    if (link == LinkKind::Serial) {
        for (const char ch : received) {
            const auto b = static_cast<unsigned char>(ch);
            receive += (b < 0x20 && b != '\r') || b > 0x7F ? '*' : ch;
        }
        return;
    }
    receive += received.substr(0, received.find('\0'));
}

// Whether `start` occurs in the text and, on the TCP link, is followed by enough text.
bool Ready(const TextFramer& framer, std::string_view start, LinkKind link) {
    const std::size_t p = framer.Find(start);
    if (p == kNoPosition) return false;
    return link != LinkKind::Tcp || framer.Arrived(p, kTcpLookahead + 1);
}

}  // namespace

void ApplyUnitSentences(ChannelStore& store, const ChannelContext& context) {
    DispatchSentences(kUnitSentenceRows, store, context, store.ReceiveText);
}

void ReaderPass(ChannelStore& store, const ChannelContext& context, std::string_view received,
                LinkKind link) {
    // The TCP and USB links take the characters up to the first NUL; the serial link cleans
    // them instead.
    std::string_view rest =
        link == LinkKind::Serial ? received : received.substr(0, received.find('\0'));
    std::string caption;
    {
        std::lock_guard<std::mutex> lock(store.mutex);
        std::string& receive = store.ReceiveText;
        bool transducer = false;
        bool screenRecords = false;
        // The new characters go in slices that keep ReceiveText within its limit, each slice
        // decoded before the next, so that a long read loses no complete sentence. Text that
        // fills the whole limit and still holds nothing the decoders could take is emptied.
        do {
            if (receive.size() >= kReceiveTextLimit) receive.clear();
            const std::size_t take = std::min(kReceiveTextLimit - receive.size(), rest.size());
            Append(receive, rest.substr(0, take), link);
            rest.remove_prefix(take);
            if (context.showComStatus && context.view != nullptr)
                context.view->SetStatusText(receive);

            ApplyUnitSentences(store, context);

            // Each decoder cuts the text it consumed, so each test frames the text as it is now.
            const auto holds = [&receive](std::string_view marker) {
                return TextFramer(receive).Find(marker) != kNoPosition;
            };
            // The gateway decoder consumes everything up to its last sentence, so transducer
            // sentences among gateway sentences are decoded first even when the TCP link
            // would still wait for more text behind them.
            const bool gateway = Ready(TextFramer(receive), kGatewayStart, link);
            if (Ready(TextFramer(receive), kTransducerStart, link) ||
                (gateway && holds(kTransducerStart))) {
                transducer = true;
                DecodeTransducerSentences(store, context, receive);
            }
            if (gateway && holds(kGatewayStart)) DecodeEncapsulatedN2K(store, context, receive);

            if (holds(link == LinkKind::Serial ? "m" : "m0")) {
                screenRecords = true;
                if (context.clock != nullptr) {
                    store.m_strLinkStatus =
                        SystemTimeCaption(context.clock->ToUtc(context.clock->Now()));
                }
                store.m_strTitlePrefix = link == LinkKind::Serial
                                             ? "connected to color display port  "
                                             : "connected to color display port ";
                if (context.parseScreenRecords) context.parseScreenRecords(store);
            }
        } while (!rest.empty());

        if (link == LinkKind::Tcp && context.rawText) {
            context.rawText(received.substr(0, received.find('\0')));
        }
        if (link == LinkKind::Tcp && screenRecords && context.captureTick)
            context.captureTick(store);
        if (context.captureTick && (link != LinkKind::Tcp || transducer))
            context.captureTick(store);

        store.m_bRedrawAll = 0;
        caption = store.m_strTitlePrefix + store.m_strLinkStatus;
    }
    if (context.view != nullptr) {
        context.view->SetCaption(caption);
        context.view->RequestRepaint();
    }
}

}  // namespace pelor::decode
