#pragma once
// The one framer of the receive text. Every text decoder finds its sentences through it: where
// a sentence start lies, whether enough of the sentence has arrived, where its '*' is and
// whether its XOR checksum holds, and which tail of the text stays for the next read. It only
// looks at the text it is given (views into it, nothing copied), so a sentence costs no
// allocation, and it never reads outside the text whatever the text holds.
#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "decode/channel_context.h"
#include "decode/channel_store.h"

namespace pelor::decode {

inline constexpr std::size_t kNoPosition = std::string_view::npos;

// A checked sentence "$<fields>*hh" as the framer found it.
struct FramedSentence {
    static constexpr std::size_t kMaxCommas = 4;
    enum class State {
        Incomplete,   // its commas, its '*' or the two characters after it are still to come
        BadChecksum,  // complete, but the XOR of the characters between '$' and '*' differs
        Good,
    };
    State state = State::Incomplete;
    std::size_t start = kNoPosition;  // the '$'
    std::size_t star = kNoPosition;   // the '*' (kNoPosition while the sentence is incomplete)
    // The first commas after the start, as many as the caller asked for.
    std::array<std::size_t, kMaxCommas> commas{};
};

class TextFramer {
public:
    explicit TextFramer(std::string_view text) : text_(text) {}

    std::string_view Text() const { return text_; }
    std::size_t Size() const { return text_.size(); }

    // The character at `pos`, or '\0' past the end of the text.
    char At(std::size_t pos) const { return pos < text_.size() ? text_[pos] : '\0'; }

    // The first `marker` at or after `from`, or kNoPosition.
    std::size_t Find(std::string_view marker, std::size_t from = 0) const {
        return text_.find(marker, from);
    }

    // Whether at least `minimum` characters of the text start at `pos` (a sentence that needs
    // that many characters has arrived whole).
    bool Arrived(std::size_t pos, std::size_t minimum) const {
        return pos < text_.size() && text_.size() - pos >= minimum;
    }

    // text[from, from + count), cut at `end` and at the end of the text; empty when `from`
    // lies at or past either.
    std::string_view Field(std::size_t from, std::size_t count,
                           std::size_t end = kNoPosition) const {
        const std::size_t stop = end < text_.size() ? end : text_.size();
        if (from >= stop) return {};
        return text_.substr(from, count < stop - from ? count : stop - from);
    }

    // Whether the text holds `prefix` at `pos` (compared in place, character by character:
    // sentence starts differ early, so most compares end at the second character).
    bool StartsAt(std::size_t pos, std::string_view prefix) const {
        if (pos > text_.size() || text_.size() - pos < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i)
            if (text_[pos + i] != prefix[i]) return false;
        return true;
    }

    // Frames the checked sentence whose '$' is at `start`: skips `commas` commas (at most
    // kMaxCommas), takes the next '*' after them and the two checksum characters after it,
    // and checks the XOR of the characters between '$' and '*' against those two digits.
    FramedSentence Frame(std::size_t start, std::size_t commas = 0) const;

private:
    std::string_view text_;
};

// Sets `receive` to text[start..]; `text` may be a view of `receive` itself. Every decoder
// keeps the tail it has not consumed through this.
void KeepTail(std::string& receive, std::string_view text, std::size_t start);

// One row of a dispatch table: the sentences that begin with `prefix` (which begins with
// '$'). The first such sentence of the text goes to `handler` (the text from its '$' on) once
// `minimumLength` characters of it have arrived; `absent`, when set, runs instead when the
// text holds no such sentence at all. Every row has a handler.
struct SentenceRow {
    std::string_view prefix;
    std::size_t minimumLength;
    void (*handler)(ChannelStore&, const ChannelContext&, std::string_view sentence);
    void (*absent)(ChannelStore&, const ChannelContext&);
};

inline constexpr std::size_t kMaxSentenceRows = 8;

// Whether every row's prefix begins with '$' and the table fits DispatchSentences.
constexpr bool ValidSentenceRows(std::span<const SentenceRow> rows) {
    if (rows.size() > kMaxSentenceRows) return false;
    for (const SentenceRow& row : rows)
        if (row.prefix.empty() || row.prefix[0] != '$') return false;
    return true;
}

// Runs the rows in their order over `text`; the text is scanned once for the rows' starts. Call
// with store.mutex held; `text` must stay valid while the handlers run (they must not change the
// text it views).
void DispatchSentences(std::span<const SentenceRow> rows, ChannelStore& store,
                       const ChannelContext& context, std::string_view text);

}  // namespace pelor::decode
