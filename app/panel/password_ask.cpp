// Asking for the password with the dialog.
#include "password_ask.h"

#include "password_dlg.h"

namespace qav::panel {

settings::AskPassword PasswordAsker(platform::Prompt& prompt, QPointer<QWidget> parent) {
    return [&prompt, parent]() -> std::optional<QString> {
        CPasswordDlg dialog(prompt, PasswordMode::Enter, parent.data());
        if (dialog.exec() != QDialog::Accepted) {
            return std::nullopt;
        }
        return dialog.Password();
    };
}

}  // namespace qav::panel
