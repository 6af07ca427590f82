// The password check's question, asked with CPasswordDlg.
#pragma once

#include <QPointer>
#include <QWidget>

#include "password.h"
#include "prompt.h"

namespace qav::panel {

// Runs CPasswordDlg in enter mode over `parent` (which may be null or go away meanwhile) and gives the text,
// or nothing when it is cancelled.
settings::AskPassword PasswordAsker(platform::Prompt& prompt, QPointer<QWidget> parent);

}  // namespace qav::panel
