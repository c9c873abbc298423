#include "decode/unit_sentences.h"

#include <string>

#include "core/view.h"
#include "decode/text_framer.h"

namespace pelor::decode {
namespace {

constexpr std::size_t kPayloadStart = 9;

// `count` characters of the payload (fewer at the end of the text), cut before `stop`;
// without `stop` the payload is empty.
std::string_view PayloadUntil(std::string_view sentence, std::size_t count, char stop) {
    const std::string_view field = TextFramer(sentence).Field(kPayloadStart, count);
    const std::size_t cut = field.find(stop);
    return cut == std::string_view::npos ? std::string_view() : field.substr(0, cut);
}

void AppendStatus(std::string& prefix, std::string_view payload) {
    prefix += ' ';
    prefix += payload;
    prefix += ' ';
}

}  // namespace

void ApplySwitchStatus(ChannelStore& store, const ChannelContext& context,
                       std::string_view payload) {
    PendingSwitches& pending = store.SwitchPending;
    for (std::size_t i = 0; i < kSwitchCount && i < payload.size(); ++i) {
        if (payload[i] != '0' && payload[i] != '1') continue;
        const bool on = payload[i] == '1';
        const bool was = store.SwitchState[i] != 0;
        store.SwitchState[i] = on ? 1 : 0;
        bool show = on != was;
        if (pending.pending[i]) {
            // A report may have left the module before the command arrived: only the
            // commanded state settles the output; until then its button stays pending.
            if ((pending.commanded[i] != 0) != on) continue;
            pending.pending[i] = false;
            show = true;
        }
        if (!show || context.view == nullptr) continue;
        context.view->SetButtonPicture(kSwitchButtonFirstId + static_cast<int>(i),
                                       on ? kSwitchOnPicture : kSwitchOffPicture);
    }
}

void ApplyVersionSentence(ChannelStore& store, const ChannelContext&, std::string_view sentence) {
    store.m_strTitlePrefix = PayloadUntil(sentence, 10, ',');
}

void ApplyDSentence(ChannelStore& store, const ChannelContext&, std::string_view sentence) {
    store.LastDSentence = sentence.substr(0, 32);
    AppendStatus(store.m_strTitlePrefix, PayloadUntil(sentence, 30, '*'));
}

void ApplyHSentence(ChannelStore& store, const ChannelContext&, std::string_view sentence) {
    AppendStatus(store.m_strTitlePrefix, PayloadUntil(sentence, 48, '*'));
}

void ApplySwitchSentence(ChannelStore& store, const ChannelContext& context,
                         std::string_view sentence) {
    store.LastSSentence = sentence.substr(0, 32);
    ApplySwitchStatus(store, context, TextFramer(sentence).Field(kPayloadStart, 16));
}

void MarkVersionMissing(ChannelStore& store, const ChannelContext&) {
    store.m_strTitlePrefix = "recieving..";
}

}  // namespace pelor::decode
