#pragma once
// Capture: the record command and the log writers. One object holds the capture state (log
// path, LogKind, record and playback flags, record count, last capture time, the open log
// stream) behind one mutex, so that the writers on a reader thread and stop on the user
// interface thread never use the stream at the same time.
//
// Threads: OnRecord, ChooseLogFile, Stop and SetLogPath run on the user interface thread. The
// writers run on the reader thread that delivered the data, with store.mutex held (they read
// the stored sentences and set the caption texts); lock order is store.mutex, then the
// capture mutex. Messages of the writers are shown from the reader thread.
#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/clock.h"
#include "core/prompt.h"
#include "core/view.h"
#include "decode/channel_store.h"
#include "logs/capture_rows.h"
#include "logs/log_kind.h"
#include "logs/log_stream.h"
#include "logs/playback.h"

namespace pelor::logs {

inline constexpr std::string_view kLogFileFilter =
    "CSV Files (*.csv)|*.csv|HTM Web Log Files (*.htm)|*.htm|N2K Log Files (*.ebl)|*.ebl|"
    "Text Files (*.txt)|*.txt||";

class Capture {
public:
    // `playback` may be null (no playback: a read-only log then only gets its message path).
    Capture(core::Prompt& prompt, core::View& view, core::Clock& clock, decode::ChannelStore& store,
            Playback* playback);
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // --- user interface thread ---
    // The record button (single click): start or stop recording, or start or stop playback
    // when the log path names an existing read-only file.
    void OnRecord();
    // The record button (double click): the log file chooser; OK sets the log path.
    void ChooseLogFile();
    // Ends recording or playback; always true.
    bool Stop();

    // The files a log must never be (full paths): the project's tables, its theme and the
    // project file. Asked afresh at each record command and choice, so that it follows the
    // project; recording into one of them, or choosing one as the log, is refused.
    void SetReservedFiles(std::function<std::vector<std::string>()> files);

    void SetLogPath(std::string path);
    std::string LogPath() const;
    // Whole seconds between capture ticks (the settings' derived value).
    void SetCaptureInterval(int seconds) { interval_ = seconds < 0 ? 0 : seconds; }
    int CaptureInterval() const { return interval_.load(); }
    // Where the web page is built before it is copied over the log path; empty: "WebData.htm"
    // in the log file's directory.
    void SetWebDataPath(std::string path);

    // --- reader threads, store.mutex held ---
    // The capture tick rule: while recording, when the last capture time plus the interval is
    // not later than now, write a capture row (and a CSV header turns into rows).
    void Tick(decode::ChannelStore& store);
    // The adapter link on a serial port records its frames at a tick instead of a row.
    void FrameTick(decode::ChannelStore& store, std::span<const std::uint8_t> batch);
    // The capture row writer.
    bool WriteCaptureRow(decode::ChannelStore& store, LogKind kind);
    // The raw text writer (TCP text link, every received chunk while recording).
    bool WriteRawText(decode::ChannelStore& store, std::string_view chunk);
    // The adapter frame writer (network and USB frame links, every batch while recording).
    // `batch` are the bytes as received, before the frame decoder removes their stuffing.
    bool WriteAdapterFrames(decode::ChannelStore& store, std::span<const std::uint8_t> batch);

    // --- any thread ---
    bool Recording() const { return recording_.load(); }
    bool PlayingBack() const { return playingBack_.load(); }
    LogKind Kind() const { return kind_.load(); }
    std::int32_t RecordCount() const { return count_.load(); }

private:
    void StartRecording(LogKind kind);
    // Whether `path` is one of the reserved files; if so the refusal has been shown.
    bool RefuseReserved(const std::string& path);
    void StartPlayback(LogKind kind);
    // Message texts collected under mutex_ and shown once it is released.
    using Messages = std::vector<std::string>;
    bool WriteRowLocked(decode::ChannelStore& store, LogKind kind, Messages& messages);
    bool WriteFramesLocked(decode::ChannelStore& store, std::span<const std::uint8_t> batch,
                           Messages& messages);
    bool WriteLocked(std::string_view data, Messages& messages);
    void FailWrite(Messages& messages);
    bool BeginWebPage(Messages& messages);
    bool FinishWebPage(Messages& messages);
    std::string WebDataPath() const;
    void Show(const Messages& messages);

    core::Prompt& prompt_;
    core::View& view_;
    core::Clock& clock_;
    decode::ChannelStore& store_;
    Playback* playback_;

    mutable std::mutex mutex_;
    std::string logPath_;
    std::string webDataPath_;
    LogStream stream_;
    std::time_t lastCapture_ = 0;
    std::atomic<LogKind> kind_{LogKind::Text};
    std::atomic<bool> recording_{false};
    std::atomic<bool> playingBack_{false};
    std::atomic<std::int32_t> count_{0};
    std::atomic<int> interval_{1};
    // User interface thread only: the reserved files, and the log the user agreed to add to
    // (or this program has recorded into), which is not asked about again.
    std::function<std::vector<std::string>()> reservedFiles_;
    std::string appendAgreed_;
    // Work buffers kept between batches.
    std::string fields_;
    std::string frames_;
    std::basic_string<std::uint8_t> unstuffed_;
};

}  // namespace pelor::logs
