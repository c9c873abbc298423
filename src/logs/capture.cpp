#include "logs/capture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "core/format.h"
#include "core/replace_target.h"
#include "core/same_file.h"
#include "logs/record_button.h"

namespace pelor::logs {
namespace {

constexpr std::size_t kStreamBuffer = 100;
constexpr const char* kError = "Error";
constexpr const char* kNoPath = "No Log file path specified";
constexpr const char* kCannotOpen = "Could not Open Capture File";
constexpr const char* kNoBuffer = "Could not set buffer to 0";
constexpr const char* kWriteError = "Error Writing to file";
constexpr const char* kCloseError = "Could not Close File";

// "Could not Open Capture File" with the file it is about on a line of its own, so that a
// folder the user may not write to can be found.
std::string CannotOpen(const std::string& path) {
    return std::string(kCannotOpen) + "\n" + path;
}

// A play source: an existing file that nobody may write (no write permission bit at all).
bool IsReadOnly(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

constexpr const char* kReservedLog =
    "This file is a table or the project file of the open project and cannot be a log. Choose "
    "another file for the log.";
constexpr std::string_view kCsvHeaderStart = "Date Time, Count,";

// A log that recording would add to: an existing file with something in it.
bool HoldsData(const std::string& path) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return !ec && size > 0;
}

// The question before recording into `path`, or "" when there is nothing to lose: a new or
// empty file, or a web page, which is rebuilt at every tick anyway.
std::string RecordQuestion(const std::string& path, LogKind kind) {
    if (PathEndsIn(path, "htm") || !HoldsData(path) || IsReadOnly(path)) return {};
    if (kind == LogKind::Ebl) {
        return path +
               "\nRecording into this log starts it anew and replaces what it holds (make it "
               "read-only to play it back). Use it?";
    }
    return path +
           "\nThis log already holds data; recording adds to its end (make the file read-only "
           "to play it back). Record into it?";
}

// Whether a CSV log already starts with its header line.
bool StartsWithCsvHeader(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    char head[32] = {};
    const std::size_t n = std::fread(head, 1, kCsvHeaderStart.size(), f);
    std::fclose(f);
    return std::string_view(head, n) == kCsvHeaderStart;
}

// Copies `from` over `to` through a temporary file beside `to`, so that the log path holds
// either the previous page or the new one. A link at `to` is written through, the page keeps
// the old file's permissions, and a file the user may not write is left alone.
bool CopyOver(const std::string& from, const std::string& to) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (in == nullptr) return false;
    const bool ok = core::ReplaceFile(to, [in](std::FILE* out) {
        char block[4096];
        std::size_t n = 0;
        while ((n = std::fread(block, 1, sizeof block, in)) > 0) {
            if (std::fwrite(block, 1, n, out) != n) return false;
        }
        return std::ferror(in) == 0;
    });
    std::fclose(in);
    return ok;
}

}  // namespace

Capture::Capture(core::Prompt& prompt, core::View& view, core::Clock& clock,
                 decode::ChannelStore& store, Playback* playback)
    : prompt_(prompt), view_(view), clock_(clock), store_(store), playback_(playback) {}

Capture::~Capture() {
    std::lock_guard<std::mutex> lock(mutex_);
    stream_.Close();
}

void Capture::SetReservedFiles(std::function<std::vector<std::string>()> files) {
    reservedFiles_ = std::move(files);
}

bool Capture::RefuseReserved(const std::string& path) {
    if (!reservedFiles_) return false;
    for (const std::string& file : reservedFiles_()) {
        if (!file.empty() && core::SameFile(path, file)) {
            prompt_.MessageWithDetail(kReservedLog, path, kError);
            return true;
        }
    }
    return false;
}

void Capture::SetLogPath(std::string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    logPath_ = std::move(path);
}

std::string Capture::LogPath() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return logPath_;
}

void Capture::SetWebDataPath(std::string path) {
    std::lock_guard<std::mutex> lock(mutex_);
    webDataPath_ = std::move(path);
}

std::string Capture::WebDataPath() const {
    if (!webDataPath_.empty()) return webDataPath_;
    const std::filesystem::path dir = std::filesystem::path(logPath_).parent_path();
    return dir.empty() ? std::string("WebData.htm") : (dir / "WebData.htm").string();
}

void Capture::Show(const Messages& messages) {
    for (const std::string& m : messages) prompt_.Message(m, kError);
}

void Capture::ChooseLogFile() {
    core::FileDialogRequest request;
    request.open = false;
    request.defaultExtension = "txt";
    request.initialName = "Pelor_Log";
    request.filter = std::string(kLogFileFilter);
    // The chooser picks a log to play as well as one to record into: choosing an existing
    // file must not ask to replace it. Only an existing ".ebl" that recording would start
    // anew is asked about.
    request.overwritePrompt = false;
    auto path = prompt_.ChooseFile(request);
    if (!path) return;
    if (RefuseReserved(*path)) return;
    const std::optional<LogKind> kind = KindForPath(*path);
    const std::string question = kind ? RecordQuestion(*path, *kind) : std::string();
    const bool asked = kind == LogKind::Ebl && !question.empty();
    if (asked &&
        prompt_.Message(question, "Status", core::MessageButtons::YesNo) != core::Answer::Yes) {
        return;
    }
    // A new log ends what runs on the old one.
    if (recording_ || playingBack_) Stop();
    if (asked) appendAgreed_ = *path;
    SetLogPath(std::move(*path));
}

void Capture::OnRecord() {
    // Recording and playback never run together: whichever runs, the toggle ends it, even
    // when the log path has changed since it started (chosen anew, or made read-only).
    if (recording_ || playingBack_) {
        Stop();
        return;
    }
    const std::string path = LogPath();
    const std::optional<LogKind> kind = path.empty() ? std::nullopt : KindForPath(path);
    if (!kind) {
        prompt_.Message(kNoPath, kError);
        recording_ = false;
        return;
    }
    if (IsReadOnly(path)) {
        StartPlayback(*kind);
        return;
    }
    if (RefuseReserved(path)) return;
    // What a log holds is added to, or replaced for an ".ebl" log, only once the user said so;
    // a log agreed to (or recorded into) before is not asked about again.
    if (path != appendAgreed_) {
        const std::string question = RecordQuestion(path, *kind);
        if (!question.empty() &&
            prompt_.Message(question, "Status", core::MessageButtons::YesNo) != core::Answer::Yes) {
            return;
        }
    }
    appendAgreed_ = path;
    StartRecording(*kind);
}

void Capture::StartPlayback(LogKind kind) {
    const std::string path = LogPath();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        prompt_.Message(CannotOpen(path), kError);
        playingBack_ = false;
        return;
    }
    count_ = 0;
    kind_ = kind;
    bool started = false;
    if (playback_ != nullptr) {
        started = playback_->Start(file, kind, interval_.load());
    } else {
        std::fclose(file);
        prompt_.Message("Unable to create the read log file thread", kError);
    }
    playingBack_ = started;
    std::string caption;
    {
        std::lock_guard<std::mutex> lock(store_.mutex);
        // Not " recording .": nothing is recorded while a log plays back.
        if (started) {
            store_.m_strTitlePrefix = kPlaybackCaptionPrefix;
            store_.m_strLinkStatus.clear();
        }
        caption = store_.m_strTitlePrefix + store_.m_strLinkStatus;
    }
    view_.SetCaption(caption);
    view_.RequestRepaint();
}

void Capture::StartRecording(LogKind kind) {
    Messages messages;
    {
        std::lock_guard<std::mutex> storeLock(store_.mutex);
        std::lock_guard<std::mutex> lock(mutex_);
        const bool opened = kind == LogKind::Ebl
                                ? stream_.OpenFile(logPath_, LogStream::Open::Truncate, false)
                                : stream_.OpenFile(logPath_, LogStream::Open::Append, true);
        if (!opened) {
            messages.push_back(CannotOpen(logPath_));
            recording_ = false;
        } else if (!stream_.SetBuffer(kStreamBuffer)) {
            stream_.Close();
            messages.push_back(kNoBuffer);
            recording_ = false;
        } else {
            // A CSV log holds one header line: rows added to a log that has it follow it
            // directly, numbered from 1 as after a header.
            if (kind == LogKind::CsvHeaderPending && StartsWithCsvHeader(logPath_)) {
                kind = LogKind::CsvRows;
            }
            for (int i = 1; i < decode::kChannelCount; ++i) {
                store_.LastSentence[static_cast<std::size_t>(i)] = PlaceholderSentence(i);
            }
            lastCapture_ = clock_.Now();
            count_ = kind == LogKind::CsvRows ? 1 : 0;
            kind_ = kind;
            recording_ = true;
            store_.m_strLinkStatus = " recording .";
            // A caption left by an earlier log must not contradict this one.
            if (store_.m_strTitlePrefix == kLogCompletePrefix ||
                store_.m_strTitlePrefix == kPlaybackCaptionPrefix) {
                store_.m_strTitlePrefix.clear();
            }
        }
    }
    if (recording_) {
        std::string caption;
        {
            std::lock_guard<std::mutex> lock(store_.mutex);
            caption = store_.m_strTitlePrefix + store_.m_strLinkStatus;
        }
        view_.SetCaption(caption);
        view_.SetButtonPicture(kRecordButtonId, kRecordActivePicture);
        view_.RequestRepaint();
    }
    Show(messages);
}

bool Capture::Stop() {
    Messages messages;
    if (playback_ != nullptr && (playingBack_ || playback_->Running())) {
        if (!playback_->Stop()) messages.push_back("Unable terminate read log file thread");
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stream_.IsOpen() && !stream_.Close()) messages.push_back(kCloseError);
        recording_ = false;
        playingBack_ = false;
    }
    Show(messages);
    view_.SetButtonPicture(kRecordButtonId, kRecordIdlePicture);
    std::string caption;
    {
        std::lock_guard<std::mutex> lock(store_.mutex);
        store_.m_strTitlePrefix = kLogCompletePrefix;
        store_.m_strLinkStatus.clear();
        caption = store_.m_strTitlePrefix + store_.m_strLinkStatus;
    }
    view_.SetCaption(caption);
    view_.RequestRepaint();
    return true;
}

void Capture::FailWrite(Messages& messages) {
    messages.push_back(kWriteError);
    // What could not be written is dropped; a second report for the same bytes says nothing new.
    if (!stream_.Discard()) messages.push_back(kCloseError);
    recording_ = false;
}

bool Capture::WriteLocked(std::string_view data, Messages& messages) {
    if (!stream_.Write(data) || !stream_.Flush()) {
        FailWrite(messages);
        return false;
    }
    return true;
}

bool Capture::BeginWebPage(Messages& messages) {
    stream_.Close();
    if (!stream_.OpenFile(WebDataPath(), LogStream::Open::Truncate, true)) {
        messages.push_back(CannotOpen(WebDataPath()));
        recording_ = false;
        return false;
    }
    return WriteLocked(kWebPageHead, messages);
}

bool Capture::FinishWebPage(Messages& messages) {
    if (!WriteLocked(kWebPageTail, messages)) return false;
    if (!stream_.Close()) {
        messages.push_back(kCloseError);
        recording_ = false;
        return false;
    }
    if (!CopyOver(WebDataPath(), logPath_)) {
        messages.push_back(kWriteError);
        recording_ = false;
        return false;
    }
    return true;
}

bool Capture::WriteRowLocked(decode::ChannelStore& store, LogKind kind, Messages& messages) {
    if (!recording_) return false;
    const bool web = PathEndsIn(logPath_, "htm");
    if (!web && !stream_.IsOpen()) return false;
    const std::time_t now = clock_.Now();
    fields_.clear();
    AppendFieldText(fields_, store.LastSentence, kind);
    if (web) {
        if (!BeginWebPage(messages)) return false;
        if (!WriteLocked(WebRecordLine(store.LastDSentence, store.LastSSentence, fields_),
                         messages)) {
            return false;
        }
        if (!FinishWebPage(messages)) return false;
    } else if (!WriteLocked(RecordLine(kind, Stamp(clock_.ToLocal(now)), count_.load(), fields_),
                            messages)) {
        return false;
    }
    const std::int32_t count = ++count_;
    store.m_strLinkStatus = core::Format(" recording ... %d", count);
    return true;
}

bool Capture::WriteCaptureRow(decode::ChannelStore& store, LogKind kind) {
    Messages messages;
    bool ok = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ok = WriteRowLocked(store, kind, messages);
    }
    Show(messages);
    return ok;
}

void Capture::Tick(decode::ChannelStore& store) {
    Messages messages;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!recording_) return;
        const std::time_t now = clock_.Now();
        if (lastCapture_ + interval_.load() > now) return;
        lastCapture_ = now;
        WriteRowLocked(store, kind_.load(), messages);
        if (kind_.load() == LogKind::CsvHeaderPending) kind_ = LogKind::CsvRows;
    }
    Show(messages);
}

void Capture::FrameTick(decode::ChannelStore& store, std::span<const std::uint8_t> batch) {
    Messages messages;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!recording_) return;
        const std::time_t now = clock_.Now();
        if (lastCapture_ + interval_.load() > now) return;
        lastCapture_ = now;
        WriteFramesLocked(store, batch, messages);
        if (kind_.load() == LogKind::CsvHeaderPending) kind_ = LogKind::CsvRows;
    }
    Show(messages);
}

bool Capture::WriteRawText(decode::ChannelStore& store, std::string_view chunk) {
    Messages messages;
    bool ok = true;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!recording_) return false;
        if (PathEndsIn(logPath_, "txt")) {
            ok = stream_.IsOpen() && WriteLocked(chunk, messages);
        }
        if (ok) store.m_strTitlePrefix = " recording ... ";
    }
    Show(messages);
    return ok;
}

bool Capture::WriteFramesLocked(decode::ChannelStore& store, std::span<const std::uint8_t> batch,
                                Messages& messages) {
    if (!recording_) return false;
    const bool web = PathEndsIn(logPath_, "htm");
    const bool text = PathEndsIn(logPath_, "txt");
    if (web || text) {
        frames_.clear();
        AppendFrameSentences(frames_, batch, unstuffed_);
    }
    if (web) {
        if (!BeginWebPage(messages) || !WriteLocked(frames_, messages) ||
            !FinishWebPage(messages)) {
            return false;
        }
    } else if (text) {
        if (!stream_.IsOpen() || !WriteLocked(frames_, messages)) return false;
    } else if (PathEndsIn(logPath_, "ebl")) {
        const std::string_view bytes(reinterpret_cast<const char*>(batch.data()), batch.size());
        if (!stream_.IsOpen() || !WriteLocked(bytes, messages)) return false;
    }
    ++count_;
    store.m_strTitlePrefix = " recording ... ";
    return true;
}

bool Capture::WriteAdapterFrames(decode::ChannelStore& store, std::span<const std::uint8_t> batch) {
    Messages messages;
    bool ok = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ok = WriteFramesLocked(store, batch, messages);
    }
    Show(messages);
    return ok;
}

}  // namespace pelor::logs
