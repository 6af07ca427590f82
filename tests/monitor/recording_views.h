// The main window as the connection manager and the commands see it, writing down what they do.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "connection_manager.h"
#include "device_commands.h"

namespace qav::monitor::test {

class RecordingConnectionView : public ConnectionView, public CommandView {
public:
    std::vector<std::string> log;
    QString caption;
    QString linkStatus;

    void SetConnectCaption(const QString& text) override {
        caption = text;
        log.push_back("caption " + text.toStdString());
    }
    void SetLinkStatus(const QString& text) override {
        linkStatus = text;
        log.push_back("status " + text.toStdString());
    }
    void HideCommandButtons() override { log.push_back("hide commands"); }
    void SetSettingsEnabled(bool on) override {
        log.push_back(std::string("settings ") + (on ? "on" : "off"));
    }
    void SetJournalEnabled(bool on) override { log.push_back(std::string("journal ") + (on ? "on" : "off")); }
    void ResetHeatingChart() override { log.push_back("chart reset"); }
    void EnableHeatingScroll(bool on) override {
        log.push_back(std::string("scroll ") + (on ? "on" : "off"));
    }
    void ResetPanel() override { log.push_back("reset panel"); }
    void UpdateCaption(bool connected) override {
        log.push_back(std::string("title ") + (connected ? "connected" : "idle"));
    }
    void ShowIdleActivity() override { log.push_back("idle activity"); }
    void CloseProgram() override { log.push_back("close program"); }
    void HideMotorButtons() override { log.push_back("hide motor buttons"); }
    void HideAlarmResetButton() override { log.push_back("hide reset button"); }
};

}  // namespace qav::monitor::test
