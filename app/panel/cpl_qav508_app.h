// CCPL_QAV508App: the application object. Runs the start-up (command line, single instance, folders,
// settings, autostart, splash, start-up password), then the main panel until the operator exits.
#pragma once

#include <QStringList>

#include "prompt.h"

namespace qav::settings {
class SharedSettings;
}

namespace qav::panel {

class CCPL_QAV508App {
public:
    // Exit statuses of Run.
    static constexpr int kExitNormal = 0;
    static constexpr int kExitRefused = 1;  // second copy, small screen declined, folder, password
    static constexpr int kExitUsage = 2;    // unknown command-line argument

    // Needs a QApplication; `prompt` shows every message box of the start-up and the commands.
    explicit CCPL_QAV508App(platform::Prompt& prompt);

    // The whole run; `arguments` as QCoreApplication::arguments() gives them.
    int Run(const QStringList& arguments);

    // "-debug" was given: the Modbus traffic window is shown beside the main panel.
    bool DebugMode() const { return debug_; }

private:
    int RunPanel(settings::SharedSettings& settings);

    platform::Prompt& prompt_;
    bool debug_ = false;
};

}  // namespace qav::panel
