#include "connection_manager.h"

#include <thread>

#include "QAV508DLL.h"
#include "link_texts.h"
#include "register_codec.h"

namespace qav::monitor {

namespace {

using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

QString Dotted(uint32_t ip) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ip >> 24 & 0xFF)
        .arg(ip >> 16 & 0xFF)
        .arg(ip >> 8 & 0xFF)
        .arg(ip & 0xFF);
}

}  // namespace

ConnectionManager::ConnectionManager(ConnectionView& view, platform::Prompt& prompt, Poller& poller,
                                     MeasureArray& measures, ConnectionState& state, SettingsSource settings,
                                     PasswordCheck password, LongCall longCall)
    : view_(view),
      prompt_(prompt),
      poller_(poller),
      measures_(measures),
      state_(state),
      settings_(std::move(settings)),
      password_(std::move(password)),
      longCall_(std::move(longCall)) {}

void ConnectionManager::Press() {
    DLL_SetUserFlag(0);
    if (state_.connected.load()) {
        Disconnect(linkSettings_);
        Finish();
        return;
    }
    if (!password_()) {
        return;
    }
    const ConnectionSettings settings = settings_();
    state_.connectedSeconds.store(0);
    DLL_SetIOTimeout(static_cast<uint32_t>(settings.timeoutMs));
    DLL_SetIOProtocol(static_cast<uint32_t>(settings.protocol));
    linkSettings_ = settings;

    if (!OpenLink(settings)) {
        Disconnect(settings);
        Finish();
        return;
    }
    const int identified = RunLong(longCall_, [&] { return Identify(settings); });
    if (identified != kIdentifiedRelay) {
        if (identified == kUnsupportedDevice) {
            ShowError(QStringLiteral(
                "Ошибка идентификации устройства. \r\nПодключено не поддерживаемое устройство."));
        } else if (identified == kNoUsableReply) {
            ShowError(QStringLiteral("Подключение невозможно.\r\nНет связи с устройством;"));
        } else {
            ShowError(ResultText(identified, MODBUS_GetDeviceError()));
        }
        Disconnect(settings);
        Finish();
        return;
    }
    state_.watchdog.store(5);
    state_.connected.store(true);
    view_.SetConnectCaption(QStringLiteral("Отключиться"));
    view_.SetLinkStatus(QStringLiteral("Подключен"));
    // The panel is reset before the poller starts, so that its first pass (the only one for many seconds
    // that reads the settings blocks) is not wiped afterwards.
    view_.ResetHeatingChart();
    view_.SetSettingsEnabled(false);
    view_.SetJournalEnabled(true);
    view_.EnableHeatingScroll(true);
    view_.ResetPanel();
    view_.UpdateCaption(true);
    if (!StartPoller(settings)) {
        return;
    }
    Finish();
}

bool ConnectionManager::OpenLink(const ConnectionSettings& settings) {
    if (!settings.IsTcp()) {
        if (COM_Open(reinterpret_cast<const char16_t*>(settings.port.utf16())) != 0) {
            ShowError(QStringLiteral("COM - Невозможно открыть порт"));
            return false;
        }
        if (COM_Setup(settings.baudIndex, settings.dataBitsIndex, settings.parityIndex,
                      settings.stopBitsIndex) != 0) {
            ShowError(QStringLiteral("COM - Невозможно настроить порт"));
            return false;
        }
        return true;
    }
    const QString address = Dotted(settings.ipAddress);
    const int32_t opened = RunLong(longCall_, [&] {
        return TCP_Open(reinterpret_cast<const char16_t*>(address.utf16()), settings.tcpPort);
    });
    if (opened != 0) {
        ShowError(QStringLiteral("TCP/IP - Невозможно подключиться к IP:%1 узлу").arg(address));
        return false;
    }
    return true;
}

int ConnectionManager::Identify(const ConnectionSettings& settings) {
    state_.deviceIdentity.store(0);
    state_.firmwareVersion.store(0);
    state_.link.rate.store(0.0f);
    int32_t result = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        uint8_t buffer[10] = {};
        result = MODBUS_Read03(settings.deviceAddress, 0, 2, buffer, sizeof buffer, settings.retries);
        if (result > 0) {
            const uint32_t identity = U16(buffer, 0);
            const uint32_t firmware = U16(buffer, 1);
            state_.deviceIdentity.store(identity);
            state_.firmwareVersion.store(firmware);
            const bool supported =
                identity == dll_nID && firmware >= dll_nVerMinor && firmware <= dll_nVerMajor;
            return supported ? kIdentifiedRelay : kUnsupportedDevice;
        }
        state_.firmwareVersion.store(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return result <= MB_ERR_IO ? result : kNoUsableReply;
}

bool ConnectionManager::StartPoller(const ConnectionSettings& settings) {
    const auto address = static_cast<uint8_t>(settings.deviceAddress);
    if (poller_.Start(address) || poller_.Start(address)) {
        return true;
    }
    prompt_.Ask({QStringLiteral("Необратимое исключение. Программа будет закрыта."), QStringLiteral("Ошибка"),
                 PromptIcon::Warning, PromptButtons::Ok, 0, true});
    state_.connected.store(false);
    view_.CloseProgram();
    return false;
}

void ConnectionManager::Disconnect(const ConnectionSettings& settings) {
    state_.connected.store(false);
    view_.SetConnectCaption(QStringLiteral("Подключиться"));
    view_.SetLinkStatus(QStringLiteral("Отключен"));
    poller_.RequestStop();
    if (settings.IsTcp()) {
        TCP_Close();
    } else {
        COM_Close();
    }
    // Closing the link cuts the poller's read short, so it ends at once; once it has, nothing it decoded
    // late can reach the measures or the panel after they are cleared below.
    poller_.Join();
    measures_.ClearMeasures();
    view_.HideCommandButtons();
    view_.SetSettingsEnabled(true);
    view_.SetJournalEnabled(false);
    view_.EnableHeatingScroll(false);
    view_.ResetPanel();
    view_.UpdateCaption(false);
}

void ConnectionManager::Finish() {
    state_.activityIcon.store(0);
    view_.ShowIdleActivity();
}

void ConnectionManager::Shutdown() {
    if (state_.connected.load()) {
        Disconnect(linkSettings_);
    }
}

void ConnectionManager::ShowError(const QString& text) {
    prompt_.Ask({text, QStringLiteral("Ошибка"), PromptIcon::Error, PromptButtons::Ok, 0, true});
}

}  // namespace qav::monitor
