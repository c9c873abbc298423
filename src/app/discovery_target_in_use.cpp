#include <mutex>

#include "app/settings.h"

namespace pelor::app {

namespace {
std::mutex targetLock;
links::DiscoveryTarget& Target() {
    static links::DiscoveryTarget target;
    return target;
}
}  // namespace

void SetDiscoveryTargetInUse(const links::DiscoveryTarget& target) {
    const std::lock_guard lock(targetLock);
    Target() = target;
}

links::DiscoveryTarget DiscoveryTargetInUse() {
    const std::lock_guard lock(targetLock);
    return Target();
}

}  // namespace pelor::app
