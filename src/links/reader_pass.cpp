#include "links/reader_pass.h"

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

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

}  // namespace pelor::links
