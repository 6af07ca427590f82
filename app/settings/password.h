// The program password: the check every protected action runs, and the rules for a new password. The dialog
// that asks for it is a window; these are the decisions behind it.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "prompt.h"
#include "settings_record.h"

namespace qav::settings {

inline constexpr qsizetype kMinNewPasswordLength = 8;
inline constexpr qsizetype kMaxPasswordLength = 255;

// Asks the operator for the password: the text entered, or nothing when the dialog was cancelled.
using AskPassword = std::function<std::optional<QString>()>;

// Whether a protected action may go on. Asks only when protection is on (bPassword) and `actionFlag`
// (PASSWORD_ON_...) is set in nPasswordFlags; then the entry must equal the stored password exactly, letter
// case included. A cancelled or wrong entry is not announced: the action just does not happen.
bool CheckPassword(const _tagSTRUCT_SETTINGS& settings, uint32_t actionFlag, const AskPassword& ask);

// What "Ввод" of the new-password dialog shows instead of accepting the entry; nothing when it accepts. With
// "show password" checked the repetition is hidden and not compared.
std::optional<platform::PromptRequest> NewPasswordRefusal(const QString& password, const QString& repeat,
                                                          bool showPassword);

// Makes `password` the stored password: the whole text buffer is cleared first. Refused, with the record
// unchanged, when it is longer than 255 characters; the result is then the message to show.
std::optional<platform::PromptRequest> SetNewPassword(_tagSTRUCT_SETTINGS& settings, const QString& password);

}  // namespace qav::settings
