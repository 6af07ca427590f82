// The main window: the relay's live state, the connect and command buttons, and the buttons that open the
// program's other windows (handled by the application shell through the signals below).
#pragma once

#include <QWidget>
#include <memory>

#include "panel_controls.h"
#include "prompt.h"
#include "shared_settings.h"

namespace qav::panel {

class CCPL_QAV508Dlg : public QWidget {
    Q_OBJECT

public:
    CCPL_QAV508Dlg(settings::SharedSettings& settings, platform::Prompt& prompt, QWidget* parent = nullptr);
    ~CCPL_QAV508Dlg() override;

    // Connects at once when the settings ask for it; call after the window is shown.
    void Start();
    bool IsConnected() const;
    // Disconnects as the Connect button does while connected; nothing when idle.
    void Disconnect();
    // Takes "Поверх всех окон" and the baud-rate label from the settings again (after the settings dialog).
    void ApplySettings();
    // Lets the next close request through (the shell's closing sequence has run).
    void AllowClose();

    // The panel's controls, for the shell and for tests.
    const PanelControls& Controls() const;

signals:
    void aboutRequested();
    void helpRequested();
    void settingsRequested();
    void parametersRequested();
    void databaseRequested();
    void journalRequested();
    // "Выход" or the window's close box: the shell runs its closing sequence.
    void exitRequested();
    // Every display-timer tick (once a second), after the panel's own work.
    void displayTick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d_;
};

}  // namespace qav::panel
