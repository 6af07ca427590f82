#include "device_commands.h"

#include "QAV508DLL.h"

namespace qav::monitor {

DeviceCommands::DeviceCommands(CommandView& view, platform::Prompt& prompt, const ConnectionState& state,
                               const Poller& poller, std::function<Target()> target, LongCall longCall)
    : view_(view),
      prompt_(prompt),
      state_(state),
      poller_(poller),
      target_(std::move(target)),
      longCall_(std::move(longCall)) {}

void DeviceCommands::Start() {
    if (!Send(kCommandStart)) {
        view_.HideMotorButtons();
    }
}

void DeviceCommands::Stop() {
    if (!Send(kCommandStop)) {
        view_.HideMotorButtons();
    }
}

void DeviceCommands::ResetAlarms() {
    if (!Send(kCommandResetAlarms)) {
        view_.HideAlarmResetButton();
    }
}

bool DeviceCommands::Send(int32_t command) {
    if (!state_.connected.load() || !poller_.IsRunning()) {
        return false;
    }
    const Target target = target_();
    const int32_t written = RunLong(longCall_, [&] {
        return MODBUS_Write06(target.deviceAddress, kCommandRegister, &command, target.retries);
    });
    if (written != 1) {
        prompt_.Ask(
            {QStringLiteral("Ошибка записи параметра.\r\nВозможные причины: произошла ошибка во время "
                            "записи \r\nили устройство не поддерживает данную функцию"),
             QStringLiteral("Ошибка"), platform::PromptIcon::Warning, platform::PromptButtons::Ok, 0, true});
    }
    return true;
}

}  // namespace qav::monitor
