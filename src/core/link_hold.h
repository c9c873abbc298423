#pragma once
// How flash programming takes the open link from its reader. A reader pass runs only while the
// link is not held; taking the hold waits for a running pass to end, so that once Take()
// returns no reader is inside a read or a port change and every answer on the line is the
// programmer's. A pass is short (one pass interval at most) and never waits for the user
// interface thread, so the wait in Take() is short too.
#include <condition_variable>
#include <mutex>

namespace pelor::core {

class LinkHold {
public:
    // Reader side: starts a pass unless the link is held (true: call EndPass afterwards).
    bool BeginPass();
    void EndPass();

    // Programmer side: holds the link, waiting for a running pass to end first.
    void Take();
    void Release();
    bool Held() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable passEnded_;
    bool held_ = false;
    int passes_ = 0;
};

// A reader pass for the scope of one loop turn; false when the link is held (skip the turn).
// A null hold never holds.
class LinkPass {
public:
    explicit LinkPass(LinkHold* hold)
        : hold_(hold != nullptr && hold->BeginPass() ? hold : nullptr),
          runs_(hold == nullptr || hold_ != nullptr) {}
    ~LinkPass() {
        if (hold_ != nullptr) hold_->EndPass();
    }
    LinkPass(const LinkPass&) = delete;
    LinkPass& operator=(const LinkPass&) = delete;
    explicit operator bool() const { return runs_; }

private:
    LinkHold* hold_;
    bool runs_;
};

}  // namespace pelor::core
