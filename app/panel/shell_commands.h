// The commands of the main panel and the tray menu that open the program's other windows.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>

#include "password.h"
#include "prompt.h"
#include "shared_settings.h"

namespace qav::panel {

class CAboutDlg;

class ShellCommands : public QObject {
    Q_OBJECT
public:
    // `askPassword` asks for the password when a command is guarded; `window` owns the dialogs opened.
    ShellCommands(settings::SharedSettings& settings, platform::Prompt& prompt,
                  settings::AskPassword askPassword, QWidget* window);

    // Run the password check with their flag, then open their window. The windows of the program settings,
    // the relay's parameters and the database come with their own parts of the program; until then these
    // say so in an information box.
    void Settings();
    void Parameters();
    void Database();
    // The alarm journal has no password.
    void Journal();

    // Brings an open About box forward, otherwise shows one modally.
    void About();
    // Opens the operator's guide; nothing is said when it is missing.
    void Help();

    // The About box while it is open.
    CAboutDlg* OpenAbout() const;

    // The box shown by a command whose window is not part of the program yet.
    static platform::PromptRequest NotAvailableBox();

private:
    void Guarded(uint32_t passwordFlag);

    settings::SharedSettings& settings_;
    platform::Prompt& prompt_;
    settings::AskPassword askPassword_;
    QPointer<QWidget> window_;
    QPointer<CAboutDlg> about_;
};

}  // namespace qav::panel
