// Opening the program's windows.
#include "shell_commands.h"

#include <utility>

#include "about_dlg.h"
#include "help_opener.h"

namespace qav::panel {

ShellCommands::ShellCommands(settings::SharedSettings& settings, platform::Prompt& prompt,
                             settings::AskPassword askPassword, QWidget* window)
    : settings_(settings), prompt_(prompt), askPassword_(std::move(askPassword)), window_(window) {}

platform::PromptRequest ShellCommands::NotAvailableBox() {
    return {QStringLiteral("Эта функция будет доступна в следующей версии программы."),
            QStringLiteral("CPL_QAV510"), platform::PromptIcon::Information};
}

void ShellCommands::Guarded(uint32_t passwordFlag) {
    if (passwordFlag != 0 && !settings::CheckPassword(settings_.Snapshot(), passwordFlag, askPassword_)) {
        return;
    }
    prompt_.Ask(NotAvailableBox());
}

void ShellCommands::Settings() {
    Guarded(settings::PASSWORD_ON_SETTINGS);
}

void ShellCommands::Parameters() {
    Guarded(settings::PASSWORD_ON_PARAMS);
}

void ShellCommands::Database() {
    Guarded(settings::PASSWORD_ON_DATABASE);
}

void ShellCommands::Journal() {
    Guarded(0);
}

void ShellCommands::About() {
    if (about_ != nullptr) {
        about_->showNormal();
        about_->raise();
        about_->activateWindow();
        return;
    }
    CAboutDlg dialog(settings_.Snapshot(), prompt_, window_.data());
    about_ = &dialog;
    dialog.exec();
}

CAboutDlg* ShellCommands::OpenAbout() const {
    return about_.data();
}

void ShellCommands::Help() {
    OpenHelp();
}

}  // namespace qav::panel
