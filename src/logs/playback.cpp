#include "logs/playback.h"

#include <algorithm>
#include <mutex>

#include "decode/n2k_binary.h"
#include "decode/n2k_text.h"
#include "decode/reader_pass.h"
#include "decode/transducer_sentences.h"
#include "logs/record_button.h"

namespace pelor::logs {
namespace {

constexpr std::size_t kChunk = 1000;
constexpr std::size_t kReadBuffer = 4000;
constexpr std::size_t kSentenceLimit = 90;
constexpr std::size_t kStreamBuffer = 100;
// Between steps that did not move, the reader rests this long instead of spinning.
constexpr int kIdleMs = 10;
// Longest single sleep while pacing, so that a stop is seen soon.
constexpr int kPaceSliceMs = 100;

// A text-mode read: "\r\n" becomes "\n"; the text ends at the first NUL.
void TakeText(std::string& out, const char* bytes, std::size_t n) {
    out.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c == '\0') break;
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') continue;
        out += c;
    }
}

bool IsCsv(LogKind kind) {
    return kind == LogKind::CsvRows || kind == LogKind::CsvHeaderPending;
}

}  // namespace

Playback::Playback(PlaybackContext context) : context_(std::move(context)) {
    buffer_.resize(kReadBuffer);
    text_.reserve(kReadBuffer);
    sentence_.reserve(kSentenceLimit + 16);
}

Playback::~Playback() {
    context_.thread.Stop(std::chrono::milliseconds(0));
    if (file_ != nullptr) std::fclose(file_);
}

bool Playback::Prepare(std::FILE* file, LogKind kind, int intervalSeconds) {
    if (file_ != nullptr) CloseFile();
    file_ = file;
    kind_ = kind;
    interval_ = intervalSeconds < 0 ? 0 : intervalSeconds;
    if (std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer) != 0) {
        context_.prompt.Message("Could not set buffer to 0", "Error");
        CloseFile();
        return false;
    }
    context_.view.SetButtonPicture(kRecordButtonId, kRecordActivePicture);

    std::int64_t length = 0;
    if (std::fseek(file_, 0, SEEK_END) == 0) length = std::ftell(file_);
    if (length < 0) length = 0;
    std::rewind(file_);

    // A CSV log names its columns in its first line; chunks read later start mid-file.
    rows_.Reset();
    if (IsCsv(kind_)) {
        const std::size_t n = std::fread(buffer_.data(), 1, kChunk, file_);
        TakeText(text_, buffer_.data(), n);
        rows_.TakeHeader(text_.substr(0, text_.find('\n')));
        std::rewind(file_);
    }
    refresh_ = false;

    modes_.Reset();
    if (window_ != nullptr) {
        window_->Open();
        window_->ShowPosition(0);
    }
    // An empty file gives an infinite scale: every position then maps to offset 0.
    scale_ = 1000.0f / static_cast<float>(length);
    position_ = 0;
    textStart_ = 0;
    textEnd_ = -1;
    lastShown_ = modes_.SliderPosition();
    lastStep_ = 0;
    return true;
}

bool Playback::Start(std::FILE* file, LogKind kind, int intervalSeconds) {
    if (!Prepare(file, kind, intervalSeconds)) return false;
    const bool started =
        context_.thread.Start([this](const std::stop_token& token) { Run(token); });
    if (!started) {
        context_.prompt.Message("Unable to create the read log file thread", "Error");
        return false;
    }
    return true;
}

bool Playback::Pace(const std::stop_token& token) {
    for (;;) {
        if (token.stop_requested()) return false;
        const std::time_t now = context_.clock.Now();
        if (lastStep_ + interval_ <= now) {
            lastStep_ = now;
            return true;
        }
        const std::int64_t wait = static_cast<std::int64_t>(lastStep_ + interval_ - now) * 1000;
        context_.clock.SleepMs(static_cast<int>(std::min<std::int64_t>(wait, kPaceSliceMs)));
    }
}

Playback::StepResult Playback::Step() {
    position_ = modes_.NextPosition(position_);
    const bool refresh = refresh_.exchange(false);
    if (position_ == lastShown_ && !refresh) return StepResult::Unchanged;
    lastShown_ = position_;
    if (file_ == nullptr) return StepResult::Failed;

    // Offset = position / scale, with the single-precision scale widened to double.
    const double bytesPerPosition = 1.0 / static_cast<double>(scale_);
    auto offset = static_cast<std::int64_t>(position_ * bytesPerPosition);
    std::size_t want = kChunk;
    if (refresh && offset > 0) {
        // Placing the values anew: the chunk also covers what came just before the position,
        // so that even at the end of the log the latest values come back.
        const std::int64_t back = std::min<std::int64_t>(offset, kChunk);
        offset -= back;
        want = kChunk + static_cast<std::size_t>(back);
    }
    std::size_t n = 0;
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0) {
        n = std::fread(buffer_.data(), 1, want, file_);
    }
    if (n == 0 && std::ferror(file_)) {
        FailReading();
        return StepResult::Failed;
    }
    if (chunkRead) chunkRead(offset, std::string_view(buffer_.data(), n));
    if (window_ != nullptr) window_->ShowPosition(position_);

    std::string caption;
    {
        std::lock_guard<std::mutex> lock(context_.store.mutex);
        decode::ChannelStore& store = context_.store;
        if (kind_ == LogKind::Ebl) {
            const decode::N2KBatch batch = decode::DecodeN2KBinary(
                store, context_.decoders, reinterpret_cast<std::uint8_t*>(buffer_.data()), n);
            decode::ApplyN2KBatchStatus(store, batch);
        } else if (IsCsv(kind_)) {
            TakeText(text_, buffer_.data(), n);
            rows_.Feed(text_, offset == 0, store, context_.decoders);
        } else {
            // A chunk that overlaps the end of the last one continues its text: only the bytes
            // past that end are added. A chunk from elsewhere (a jump, reverse play, a log
            // longer than a thousand chunks) starts the text afresh, so that the end of one
            // place and the start of another never join into a false sentence.
            std::string& receive = store.ReceiveText;
            const auto end = offset + static_cast<std::int64_t>(n);
            std::size_t from = 0;
            if (!refresh && textEnd_ >= 0 && offset >= textStart_ && offset <= textEnd_) {
                from = static_cast<std::size_t>(std::min(textEnd_, end) - offset);
                textEnd_ = std::max(textEnd_, end);
            } else {
                // A refresh reads the tail before the position again: it starts afresh too.
                receive.clear();
                textEnd_ = end;
            }
            textStart_ = offset;
            TakeText(text_, buffer_.data() + from, n - from);
            receive += text_;
            if (receive.size() > decode::kReceiveTextLimit) receive.clear();
            if (receive.find("$IIXDR") != std::string::npos) {
                decode::DecodeTransducerSentences(store, context_.decoders, receive);
            }
            if (receive.find("$PKZLN,") != std::string::npos) {
                decode::DecodeEncapsulatedN2K(store, context_.decoders, receive);
            }
        }
        // Like a live reader's pass: the paint that follows draws the gauges.
        store.m_bRedrawAll = 0;
        store.m_strTitlePrefix = kPlaybackCaptionPrefix;
        caption = store.m_strTitlePrefix + store.m_strLinkStatus;
    }
    if (!refresh && kind_ != LogKind::Ebl && !IsCsv(kind_) && context_.linkConnected &&
        context_.sendToLink && context_.linkConnected()) {
        TakeText(text_, buffer_.data(), n);
        ResendSentences(text_);
    }
    context_.view.SetCaption(caption);
    context_.view.RequestRepaint();
    return StepResult::Read;
}

// Walks the chunk: a sentence starts at '$' and ends two characters after its '*'; it goes out
// followed by "\r\n". A buffer past 90 characters is dropped; so is a sentence cut by the end.
void Playback::ResendSentences(std::string_view text) {
    sentence_.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        if (sentence_.empty()) {
            if (text[i] != '$') {
                ++i;
                continue;
            }
        } else if (sentence_.size() > kSentenceLimit) {
            sentence_.clear();
            continue;
        }
        const char c = text[i++];
        sentence_ += c;
        if (c != '*') continue;
        if (i + 2 > text.size()) break;  // cut in its checksum: dropped
        sentence_ += text[i++];
        sentence_ += text[i++];
        sentence_ += "\r\n";
        context_.sendToLink(sentence_);
        sentence_.clear();
    }
}

bool Playback::CloseFile() {
    if (file_ == nullptr) return true;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok) context_.prompt.Message("Could not Close File", "Error");
    return ok;
}

void Playback::FailReading() {
    context_.prompt.Message("Error Reading from file", "Error");
    CloseFile();
    context_.view.SetButtonPicture(kRecordButtonId, kRecordIdlePicture);
    const char* finished = " Finished Reading Log File";
    {
        std::lock_guard<std::mutex> lock(context_.store.mutex);
        context_.store.m_strLinkStatus = finished;
    }
    context_.view.SetCaption(finished);
    context_.view.RequestRepaint();
}

void Playback::Run(const std::stop_token& token) {
    while (Pace(token)) {
        const StepResult r = Step();
        if (r == StepResult::Failed) return;
        if (r == StepResult::Unchanged) context_.clock.SleepMs(kIdleMs);
    }
}

bool Playback::Stop() {
    const bool ended = context_.thread.Stop();
    if (window_ != nullptr) window_->Close();
    CloseFile();
    return ended;
}

}  // namespace pelor::logs
