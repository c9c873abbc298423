#include "links/reader_pass.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

namespace pelor::links {

void FinishPass(decode::ChannelStore& store, core::View& view) {
    std::string caption;
    {
        std::lock_guard lock(store.mutex);
        store.m_bRedrawAll = 0;
        caption = store.m_strTitlePrefix + store.m_strLinkStatus;
    }
    view.SetCaption(caption);
    view.RequestRepaint();
}

bool TakePurgeRequest(decode::ChannelStore& store) {
    std::lock_guard lock(store.mutex);
    if (store.PurgeRequest != 1) return false;
    store.PurgeRequest = 0;
    return true;
}

bool SleepUnlessStopped(const std::stop_token& token, int ms) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, token, std::chrono::milliseconds(ms), [] { return false; });
    return !token.stop_requested();
}

void LowerThreadPriority() {
    sched_param param{};
    param.sched_priority = 0;
    // Failure leaves the thread at normal priority, which is harmless.
    (void)pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
}

void RunReaderLoop(ByteSource& source, ReaderSinks& sinks, const ConnectionKind& kind,
                   std::size_t readSize, const std::stop_token& token) {
    // A reader that starts while the link is already closed ends at once.
    if (!source.Open()) {
        sinks.view.RequestRepaint();
        return;
    }
    std::vector<std::uint8_t> buffer(std::max<std::size_t>(readSize, 1));
    const auto hand = [&](int got) {
        const std::string_view bytes(reinterpret_cast<const char*>(buffer.data()),
                                     static_cast<std::size_t>(got));
        if (kind.n2k) {
            if (sinks.framePass) sinks.framePass(kind.frameLink, bytes);
            FinishPass(sinks.store, sinks.view);
        } else if (sinks.textPass) {
            sinks.textPass(kind.textLink, bytes);
        }
    };
    while (source.Open() && SleepUnlessStopped(token, kind.passMs)) {
        // While the flash programmer holds the link its answers are not the reader's.
        const core::LinkPass linkPass(sinks.linkHold);
        if (!linkPass) continue;
        if (kind.takesPurgeRequests && TakePurgeRequest(sinks.store)) {
            source.Purge();
            if (sinks.resetPositions) sinks.resetPositions();
        }
        // The drain's window opens with the pass's first read, which may itself wait.
        std::optional<DrainWindow> drain;
        for (bool first = true; source.Open() && !token.stop_requested(); first = false) {
            const std::optional<bool> waiting = source.WholeReadWaiting(readSize, first);
            if (!waiting) return;
            if (readSize == 0 || !*waiting) {
                if (!first && source.FillsInSteps() && drain->PauseForMore()) continue;
                break;
            }
            if (!first && !drain->Open()) break;
            if (!first) drain->TookRead();
            const int got = source.Read(std::span(buffer.data(), readSize));
            if (got < 0) return;
            if (first) drain.emplace(kind.passMs);
            if (got == 0) break;
            hand(got);
        }
    }
}

}  // namespace pelor::links
