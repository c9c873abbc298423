#pragma once
// Log playback: a reader thread moves a position (0..1000, tenths of a percent of the file)
// through a recorded log, reads up to 1000 bytes at each new position and hands them to the
// same decoders as live data: a text log to the transducer and NMEA 2000 text decoders, an
// ".ebl" log to the binary NMEA 2000 frame decoder, a CSV log's rows back into the channels. While
// a link is connected the complete sentences of each text chunk are sent out over it.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/prompt.h"
#include "core/reader_thread.h"
#include "core/view.h"
#include "decode/channel_context.h"
#include "decode/channel_store.h"
#include "logs/capture_row_reader.h"
#include "logs/log_kind.h"
#include "logs/playback_modes.h"

namespace pelor::logs {

// The first half of the caption while a log plays back, so that the caption never reads as a
// live link (the decoders may write link texts of the log into it).
inline constexpr std::string_view kPlaybackCaptionPrefix = "playing back log ";
// The caption prefix after recording or playback stops.
inline constexpr std::string_view kLogCompletePrefix = "Log Complete";

// The "Log Playback" window as the engine sees it.
class PlaybackWindow {
public:
    virtual ~PlaybackWindow() = default;
    // User interface thread: create the window or bring it to the front, show it, slider range
    // 0..1000 at position 0, every button "U".
    virtual void Open() = 0;
    // Any thread (the reader calls it): slider at `position` and the text PositionText().
    virtual void ShowPosition(int position) = 0;
    // User interface thread: close and destroy the window. Must not call back into Stop().
    virtual void Close() = 0;
};

struct PlaybackContext {
    decode::ChannelStore& store;
    const decode::ChannelContext& decoders;
    core::View& view;
    core::Prompt& prompt;
    core::Clock& clock;
    core::ReaderThread& thread;  // the main window's playback reader slot
    // Whether a link is connected, and its write path for the re-sent sentences (may be empty).
    std::function<bool()> linkConnected;
    std::function<void(std::string_view)> sendToLink;
};

class Playback {
public:
    explicit Playback(PlaybackContext context);
    ~Playback();
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    void SetWindow(PlaybackWindow* window) { window_ = window; }
    PlaybackModes& Modes() { return modes_; }

    // Takes `file` (open for reading) and starts the reader. On failure the file is closed,
    // the message shown and the result false.
    bool Start(std::FILE* file, LogKind kind, int intervalSeconds);

    // Ends the reader, closes the window and the file. False when the reader did not end in
    // time (the caller reports it).
    bool Stop();

    bool Running() const { return context_.thread.Running(); }

    // Any thread: the next step reads the chunk at the current position again even when the
    // position has not moved (the page changed, so the values must be placed anew).
    void Refresh() { refresh_ = true; }

    // The parts of the reader loop, public so that tests can drive them on their own thread.
    // Prepare: everything of Start but the thread.
    bool Prepare(std::FILE* file, LogKind kind, int intervalSeconds);
    // Waits until the last step time plus the interval is not later than now; false when a
    // stop was requested first.
    bool Pace(const std::stop_token& token);
    enum class StepResult { Unchanged, Read, Failed };
    StepResult Step();

    // Observer of every chunk read: byte offset and the bytes as read (for tests and tools).
    std::function<void(std::int64_t offset, std::string_view bytes)> chunkRead;

    int Position() const { return position_; }
    bool FileOpen() const { return file_ != nullptr; }

private:
    void Run(const std::stop_token& token);
    void ResendSentences(std::string_view text);
    void FailReading();
    bool CloseFile();

    PlaybackContext context_;
    PlaybackWindow* window_ = nullptr;
    PlaybackModes modes_;
    std::FILE* file_ = nullptr;
    LogKind kind_ = LogKind::Text;
    int interval_ = 0;
    float scale_ = 0.0f;  // positions per byte: 1000 / file length
    int position_ = 0;
    int lastShown_ = 0;
    std::atomic<bool> refresh_{false};
    CaptureRowReader rows_;
    std::time_t lastStep_ = 0;
    // File bytes behind the text handed to the decoders: the last chunk's start and the end
    // of what was taken (-1: nothing yet).
    std::int64_t textStart_ = 0;
    std::int64_t textEnd_ = -1;
    std::vector<char> buffer_;
    std::string text_;
    std::string sentence_;
};

}  // namespace pelor::logs
