#include "core/link_hold.h"

namespace pelor::core {

bool LinkHold::BeginPass() {
    std::lock_guard lock(mutex_);
    if (held_) return false;
    ++passes_;
    return true;
}

void LinkHold::EndPass() {
    {
        std::lock_guard lock(mutex_);
        --passes_;
    }
    passEnded_.notify_all();
}

void LinkHold::Take() {
    std::unique_lock lock(mutex_);
    held_ = true;
    passEnded_.wait(lock, [this] { return passes_ == 0; });
}

void LinkHold::Release() {
    std::lock_guard lock(mutex_);
    held_ = false;
}

bool LinkHold::Held() const {
    std::lock_guard lock(mutex_);
    return held_;
}

}  // namespace pelor::core
