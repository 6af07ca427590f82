// The Connect/Disconnect button: opens the configured link, identifies the relay, starts the poller and
// switches the panel to its connected state; pressed again, or after any failure, returns it to idle.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "connection_state.h"
#include "long_call.h"
#include "measure_array.h"
#include "poller.h"
#include "prompt.h"

namespace qav::monitor {

// The settings a connection is made with, taken at the moment of the press.
struct ConnectionSettings {
    QString port;  // "Modbus TCP", or a serial port name or path
    int32_t baudIndex = 0;
    int32_t dataBitsIndex = 1;
    int32_t parityIndex = 0;
    int32_t stopBitsIndex = 1;
    int32_t protocol = 0;  // 1 ASCII, else RTU
    int32_t timeoutMs = 500;
    int32_t retries = 3;
    int32_t deviceAddress = 1;
    uint32_t ipAddress = 0x7F000001;  // first octet in the most significant byte
    int32_t tcpPort = 502;

    bool IsTcp() const { return port == QLatin1String("Modbus TCP"); }
};

// The main window as connecting sees it.
class ConnectionView {
public:
    virtual ~ConnectionView() = default;
    virtual void SetConnectCaption(const QString& caption) = 0;
    virtual void SetLinkStatus(const QString& text) = 0;
    // START, STOP and the alarm reset hidden, the picture that stands in their place shown.
    virtual void HideCommandButtons() = 0;
    virtual void SetSettingsEnabled(bool enabled) = 0;
    virtual void SetJournalEnabled(bool enabled) = 0;
    virtual void ResetHeatingChart() = 0;
    virtual void EnableHeatingScroll(bool enabled) = 0;
    virtual void ResetPanel() = 0;
    virtual void UpdateCaption(bool connected) = 0;
    virtual void ShowIdleActivity() = 0;
    // After an unrecoverable failure.
    virtual void CloseProgram() = 0;
};

// Identification results besides the link library's codes (-100 and below).
constexpr int kIdentifiedRelay = 0;
constexpr int kUnsupportedDevice = -1;
constexpr int kNoUsableReply = -2;

class ConnectionManager {
public:
    using SettingsSource = std::function<ConnectionSettings()>;
    // Runs the password check for connecting; false abandons the press.
    using PasswordCheck = std::function<bool()>;

    ConnectionManager(ConnectionView& view, platform::Prompt& prompt, Poller& poller, MeasureArray& measures,
                      ConnectionState& state, SettingsSource settings, PasswordCheck password,
                      LongCall longCall = {});

    // The button.
    void Press();
    // Reads identity and firmware, up to five times.
    int Identify(const ConnectionSettings& settings);
    // Disconnects when connected (program shutdown).
    void Shutdown();

private:
    bool OpenLink(const ConnectionSettings& settings);
    bool StartPoller(const ConnectionSettings& settings);
    void Connected();
    void Disconnect(const ConnectionSettings& settings);
    void Finish();
    void ShowError(const QString& text);

    ConnectionView& view_;
    platform::Prompt& prompt_;
    Poller& poller_;
    MeasureArray& measures_;
    ConnectionState& state_;
    SettingsSource settings_;
    PasswordCheck password_;
    LongCall longCall_;
    ConnectionSettings linkSettings_;  // those of the link that is open
};

}  // namespace qav::monitor
