#include "link_fixture.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace pelor::links::testing {

void Collector::Add(std::string_view bytes, bool frames) {
    std::lock_guard lock(mutex_);
    (frames ? frames_ : text_).append(bytes);
    sizes_.push_back(bytes.size());
    changed_.notify_all();
}

std::string Collector::Text() const {
    std::lock_guard lock(mutex_);
    return text_;
}

std::string Collector::Frames() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

int Collector::Passes() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(sizes_.size());
}

std::vector<std::size_t> Collector::PassSizes() const {
    std::lock_guard lock(mutex_);
    return sizes_;
}

bool Collector::WaitFor(const std::function<bool(const std::string&, const std::string&)>& done,
                        std::chrono::milliseconds limit) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return done(text_, frames_); });
}

PtyPair::PtyPair() {
    char name[256] = {};
    int slave = -1;
    if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) return;
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    path_ = name;
    // Keeping one slave descriptor open keeps the terminal alive between the link's opens.
    slaveKeeper_ = slave;
}

PtyPair::~PtyPair() {
    CloseMaster();
    if (slaveKeeper_ >= 0) close(slaveKeeper_);
}

void PtyPair::Write(std::string_view bytes) const {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

std::string PtyPair::Read(std::size_t count, std::chrono::milliseconds limit) const {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (out.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) break;
        pollfd p{master_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) break;
        char buffer[512];
        const ssize_t n = read(master_, buffer, std::min(sizeof buffer, count - out.size()));
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    return out;
}

void PtyPair::CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

}  // namespace pelor::links::testing
