// START, STOP and alarm reset: one write to the relay's command register each.
#pragma once

#include <functional>

#include "connection_state.h"
#include "long_call.h"
#include "poller.h"
#include "prompt.h"

namespace qav::monitor {

constexpr int32_t kCommandRegister = 903;
constexpr int32_t kCommandStop = 0;
constexpr int32_t kCommandStart = 2;
constexpr int32_t kCommandResetAlarms = 55;
constexpr int32_t kCommandRestart = 88;

class CommandView {
public:
    virtual ~CommandView() = default;
    // START and STOP hidden, the picture that stands in their place shown.
    virtual void HideMotorButtons() = 0;
    virtual void HideAlarmResetButton() = 0;
};

class DeviceCommands {
public:
    struct Target {
        int32_t deviceAddress;
        int32_t retries;
    };

    DeviceCommands(CommandView& view, platform::Prompt& prompt, const ConnectionState& state,
                   const Poller& poller, std::function<Target()> target, LongCall longCall = {});

    void Start();
    void Stop();
    void ResetAlarms();

private:
    // False when the link is down and nothing was written.
    bool Send(int32_t command);

    CommandView& view_;
    platform::Prompt& prompt_;
    const ConnectionState& state_;
    const Poller& poller_;
    std::function<Target()> target_;
    LongCall longCall_;
};

}  // namespace qav::monitor
