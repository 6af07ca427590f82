// Password decisions and their messages.
#include "password.h"

#include <QStringView>
#include <algorithm>

#include "settings_use.h"

namespace qav::settings {

using platform::PromptIcon;
using platform::PromptRequest;

bool CheckPassword(const _tagSTRUCT_SETTINGS& settings, uint32_t actionFlag, const AskPassword& ask) {
    if (settings.bPassword == 0 || (settings.nPasswordFlags & actionFlag) == 0) {
        return true;
    }
    const std::optional<QString> entered = ask();
    if (!entered) {
        return false;
    }
    const std::u16string_view stored = PasswordText(settings);
    return QStringView(stored.data(), static_cast<qsizetype>(stored.size())) == *entered;
}

std::optional<PromptRequest> NewPasswordRefusal(const QString& password, const QString& repeat,
                                                bool showPassword) {
    if (password.size() < kMinNewPasswordLength) {
        return PromptRequest{QStringLiteral("Длина пароля должна составлять не менее 8 символов"),
                             QStringLiteral("Ввод пароля"), PromptIcon::Warning};
    }
    if (!showPassword && repeat != password) {
        return PromptRequest{QStringLiteral("Ошибка при вводе пароля."), QStringLiteral("Ввод пароля"),
                             PromptIcon::Error};
    }
    return std::nullopt;
}

std::optional<PromptRequest> SetNewPassword(_tagSTRUCT_SETTINGS& settings, const QString& password) {
    if (password.size() > kMaxPasswordLength) {
        return PromptRequest{QStringLiteral("Невозможно сохранить новый пароль."),
                             QStringLiteral("Ошибка ввода пароля"), PromptIcon::Warning};
    }
    std::fill(std::begin(settings.szPassword), std::end(settings.szPassword), u'\0');
    std::transform(password.begin(), password.end(), settings.szPassword,
                   [](QChar c) { return c.unicode(); });
    return std::nullopt;
}

}  // namespace qav::settings
