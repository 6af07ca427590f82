// The start-up sequence and the main panel's run.
#include "cpl_qav508_app.h"

#include <QApplication>
#include <memory>

#include "autostart.h"
#include "closing_sequence.h"
#include "command_line.h"
#include "initial_dlg.h"
#include "main_panel_dlg.h"
#include "password_ask.h"
#include "program_folders.h"
#include "program_root.h"
#include "shared_settings.h"
#include "shell_commands.h"
#include "single_instance.h"
#include "traffic_dlg.h"
#include "tray_icon.h"

namespace qav::panel {

CCPL_QAV508App::CCPL_QAV508App(platform::Prompt& prompt) : prompt_(prompt) {}

int CCPL_QAV508App::Run(const QStringList& arguments) {
    const CommandLine commandLine = ParseCommandLine(arguments);
    if (commandLine.showUsage) {
        prompt_.Ask(UsageBox());
        return kExitUsage;
    }
    debug_ = commandLine.debug;

    // Held until Run returns. A lock file that cannot be opened at all does not stop the program: it says
    // nothing about another copy.
    const SingleInstanceLock lock(DefaultInstanceLockPath(), !commandLine.copiesAllowed);
    if (!commandLine.copiesAllowed && lock.State() == SingleInstanceLock::Result::HeldByOther) {
        prompt_.Ask(SecondCopyBox());
        return kExitRefused;
    }

    const std::filesystem::path root = platform::ProgramRoot();
    CreateProgramFolders(root);  // a failure is reported by the splash, which tries again

    settings::SharedSettings settings(root / platform::kProfileFileName);
    if (!settings.Load()) {
        settings.ResetToDefaults();
    }
    ApplyAutostart(settings.Snapshot().bAutoStart != 0, prompt_);

    CInitialDlg splash(prompt_, root);
    if (!splash.Run()) {
        return kExitRefused;
    }
    if (!settings::CheckPassword(settings.Snapshot(), settings::PASSWORD_ON_START,
                                 PasswordAsker(prompt_, nullptr))) {
        return kExitRefused;
    }
    return RunPanel(settings);
}

int CCPL_QAV508App::RunPanel(settings::SharedSettings& settings) {
    CCPL_QAV508Dlg panel(settings, prompt_);
    ShellCommands commands(settings, prompt_, PasswordAsker(prompt_, &panel), &panel);
    CTrayIcon tray(ProgramTrayImages(), &panel);

    // "-debug": the Modbus traffic window beside the panel. It traces the link from its creation until its
    // destruction, which comes before the panel's and the tray's.
    std::unique_ptr<CTrafficDlg> traffic;
    if (debug_) {
        traffic = std::make_unique<CTrafficDlg>();
        traffic->show();
    }

    QObject::connect(&panel, &CCPL_QAV508Dlg::aboutRequested, &commands, &ShellCommands::About);
    QObject::connect(&panel, &CCPL_QAV508Dlg::helpRequested, &commands, &ShellCommands::Help);
    QObject::connect(&panel, &CCPL_QAV508Dlg::settingsRequested, &commands, &ShellCommands::Settings);
    QObject::connect(&panel, &CCPL_QAV508Dlg::parametersRequested, &commands, &ShellCommands::Parameters);
    QObject::connect(&panel, &CCPL_QAV508Dlg::databaseRequested, &commands, &ShellCommands::Database);
    QObject::connect(&panel, &CCPL_QAV508Dlg::journalRequested, &commands, &ShellCommands::Journal);
    QObject::connect(&tray, &CTrayIcon::helpRequested, &commands, &ShellCommands::Help);
    QObject::connect(&tray, &CTrayIcon::databaseRequested, &commands, &ShellCommands::Database);
    QObject::connect(&tray, &CTrayIcon::parametersRequested, &commands, &ShellCommands::Parameters);
    QObject::connect(&tray, &CTrayIcon::settingsRequested, &commands, &ShellCommands::Settings);
    QObject::connect(&tray, &CTrayIcon::aboutRequested, &commands, &ShellCommands::About);

    // No recorder runs yet, so the tray reports recording as impossible.
    QObject::connect(&panel, &CCPL_QAV508Dlg::displayTick, &tray,
                     [&tray] { tray.Update(RecorderActivity{}); });

    // Queued: the request may come from inside the panel's close event, which must return first.
    QObject::connect(
        &panel, &CCPL_QAV508Dlg::exitRequested, &panel,
        [this, &panel, &tray] {
            const ClosingSteps steps{
                {}, [&panel] { return panel.IsConnected(); }, [&panel] { panel.Disconnect(); }};
            if (RunClosingSequence(steps, prompt_) == ClosingDecision::KeepRunning) {
                return;
            }
            tray.Remove();
            panel.AllowClose();
            panel.close();
            QCoreApplication::exit(kExitNormal);
        },
        Qt::QueuedConnection);

    panel.show();
    panel.Start();
    return QApplication::exec();
}

}  // namespace qav::panel
