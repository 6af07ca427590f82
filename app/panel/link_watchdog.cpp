#include "link_watchdog.h"

namespace qav::panel {

WatchdogVerdict LinkWatchdogTick(monitor::ConnectionState& state) {
    WatchdogVerdict verdict;
    const bool active = state.link.linkActivity.load() == 1;
    if (active) {
        state.watchdog.store(5);
    } else if (state.watchdog.load() > 0) {
        state.watchdog.fetch_sub(1);
    } else {
        verdict.resetPanel = true;
    }
    const ActivityImage wanted = active ? ActivityImage::Exchange : ActivityImage::NoAnswer;
    if (state.activityIcon.load() != static_cast<int>(wanted)) {
        state.activityIcon.store(static_cast<int>(wanted));
        verdict.activity = wanted;
    }
    return verdict;
}

}  // namespace qav::panel
