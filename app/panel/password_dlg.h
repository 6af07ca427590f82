// CPasswordDlg: asks for the program password (enter mode) or for a new one, typed twice (new mode).
#pragma once

#include <QString>

#include "prompt.h"
#include "quiet_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qav::panel {

enum class PasswordMode { Enter = 0, New = 1 };

class CPasswordDlg : public CQuietDialog {
    Q_OBJECT
public:
    // `prompt` shows why a new password is refused.
    CPasswordDlg(platform::Prompt& prompt, PasswordMode mode, QWidget* parent = nullptr);

    // The text entered; empty after "Отмена".
    QString Password() const;

    // "Отмена" and the close box: the texts are emptied.
    void reject() override;

private:
    // "Ввод": accepts; in new mode only a password of at least 8 characters, repeated unless it is shown.
    void OnEnter();
    void OnShowPassword(bool shown);

    platform::Prompt& prompt_;
    const PasswordMode mode_;
    QLabel* label_;
    QLineEdit* password_;
    QLabel* repeatLabel_;
    QLineEdit* repeat_;
    QCheckBox* showPassword_;
};

}  // namespace qav::panel
