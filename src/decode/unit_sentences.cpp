#include "decode/unit_sentences.h"

#include <cstddef>
#include <string>

#include "core/view.h"

namespace pelor::decode {
namespace {

constexpr std::size_t kPayloadStart = 9;

// `count` characters from `from` (fewer at the end of the text), cut before `stop`;
// without `stop` the payload is empty.
std::string_view PayloadUntil(std::string_view text, std::size_t from, std::size_t count,
                              char stop) {
    const std::string_view field = text.substr(from < text.size() ? from : text.size(), count);
    const std::size_t cut = field.find(stop);
    return cut == std::string_view::npos ? std::string_view() : field.substr(0, cut);
}

// Position of the sentence when it is there and more than `needed` characters follow its '$'.
std::size_t FindComplete(std::string_view text, std::string_view start, std::size_t needed,
                         bool* found) {
    const std::size_t p = text.find(start);
    *found = p != std::string_view::npos;
    if (!*found || p + needed >= text.size()) return std::string_view::npos;
    return p;
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

void ApplyUnitSentences(ChannelStore& store, const ChannelContext& context) {
    const std::string_view text = store.ReceiveText;
    bool found = false;

    std::size_t p = FindComplete(text, "$PKZLS,V,", 17, &found);
    if (!found) {
        store.m_strTitlePrefix = "recieving..";
    } else if (p != std::string_view::npos) {
        store.m_strTitlePrefix = PayloadUntil(text, p + kPayloadStart, 10, ',');
    }

    p = FindComplete(text, "$PKZLS,D,", 37, &found);
    if (p != std::string_view::npos) {
        store.LastDSentence = text.substr(p, 32);
        AppendStatus(store.m_strTitlePrefix, PayloadUntil(text, p + kPayloadStart, 30, '*'));
    }

    p = FindComplete(text, "$PKZLS,H,", 48, &found);
    if (p != std::string_view::npos) {
        AppendStatus(store.m_strTitlePrefix, PayloadUntil(text, p + kPayloadStart, 48, '*'));
    }

    p = FindComplete(text, "$PKZLS,S,", 48, &found);
    if (p != std::string_view::npos) {
        store.LastSSentence = text.substr(p, 32);
        ApplySwitchStatus(store, context, text.substr(p + kPayloadStart, 16));
    }
}

}  // namespace pelor::decode
