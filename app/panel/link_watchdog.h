// The display timer's judgement of the link, once a second while connected: a read that succeeded reloads
// the watchdog; five ticks without one run it down, and from then on the panel is reset on every tick until
// a read succeeds again. The activity image follows the latest read.
#pragma once

#include <optional>

#include "connection_state.h"

namespace qav::panel {

enum class ActivityImage { Idle = 0, NoAnswer = 1, Exchange = 2 };

struct WatchdogVerdict {
    bool resetPanel = false;
    std::optional<ActivityImage> activity;  // set when the image must change
};

WatchdogVerdict LinkWatchdogTick(monitor::ConnectionState& state);

}  // namespace qav::panel
