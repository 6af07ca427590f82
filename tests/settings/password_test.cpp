// The password check of the protected actions, and the rules for a new password.
#include "password.h"

#include <gtest/gtest.h>

#include "settings_use.h"

namespace qav::settings {
namespace {

using platform::PromptIcon;
using platform::PromptRequest;

_tagSTRUCT_SETTINGS Protected(int32_t on, uint32_t flags, std::u16string_view password) {
    _tagSTRUCT_SETTINGS s = DefaultSettings();
    s.bPassword = on;
    s.nPasswordFlags = flags;
    password.copy(s.szPassword, password.size());
    return s;
}

struct CheckCase {
    const char* name;
    _tagSTRUCT_SETTINGS settings;
    uint32_t action;
    std::optional<QString> entry;  // nothing: the dialog is cancelled
    bool asked;
    bool goesOn;
};

TEST(PasswordCheck, Cases) {
    const std::u16string noNul(260, u'x');
    const CheckCase cases[] = {
        {"protection off", Protected(0, 0x3E, u"Secret12"), PASSWORD_ON_START, {}, false, true},
        {"action not guarded", Protected(1, 0x04, u"Secret12"), PASSWORD_ON_CONNECT, {}, false, true},
        {"right password", Protected(1, 0x10, u"Secret12"), PASSWORD_ON_CONNECT, QString("Secret12"), true,
         true},
        {"wrong password", Protected(1, 0x10, u"Secret12"), PASSWORD_ON_CONNECT, QString("Secret13"), true,
         false},
        {"letter case differs", Protected(1, 0x02, u"Secret12"), PASSWORD_ON_START, QString("secret12"), true,
         false},
        {"cancelled", Protected(1, 0x08, u"Secret12"), PASSWORD_ON_PARAMS, std::nullopt, true, false},
        {"cancelled, empty password", Protected(1, 0x20, u""), PASSWORD_ON_DATABASE, std::nullopt, true,
         false},
        {"empty password, empty entry", Protected(1, 0x20, u""), PASSWORD_ON_DATABASE, QString(""), true,
         true},
        {"empty password, an entry", Protected(1, 0x20, u""), PASSWORD_ON_DATABASE, QString("x"), true,
         false},
        {"short entry is compared as it is", Protected(1, 0x04, u"abc"), PASSWORD_ON_SETTINGS, QString("abc"),
         true, true},
        {"prefix of the password", Protected(1, 0x04, u"abcdefgh"), PASSWORD_ON_SETTINGS, QString("abcdefg"),
         true, false},
        {"Cyrillic password", Protected(1, 0x04, u"пароль-КАВ"), PASSWORD_ON_SETTINGS,
         QStringLiteral("пароль-КАВ"), true, true},
        {"any non-zero switch is on", Protected(7, 0x02, u"Secret12"), PASSWORD_ON_START, QString("no"), true,
         false},
        {"damaged: no NUL in the password buffer", Protected(1, 0x02, noNul), PASSWORD_ON_START,
         QString(255, QChar('x')), true, false},
        {"damaged: the whole buffer is the password", Protected(1, 0x02, noNul), PASSWORD_ON_START,
         QString(260, QChar('x')), true, true},
    };
    for (const CheckCase& c : cases) {
        bool asked = false;
        const bool goesOn = CheckPassword(c.settings, c.action, [&] {
            asked = true;
            return c.entry;
        });
        EXPECT_EQ(asked, c.asked) << c.name;
        EXPECT_EQ(goesOn, c.goesOn) << c.name;
    }
}

TEST(PasswordCheck, EachFlagGuardsItsOwnAction) {
    const uint32_t actions[] = {PASSWORD_ON_START, PASSWORD_ON_SETTINGS, PASSWORD_ON_PARAMS,
                                PASSWORD_ON_CONNECT, PASSWORD_ON_DATABASE};
    for (const uint32_t flag : actions) {
        for (const uint32_t action : actions) {
            bool asked = false;
            CheckPassword(Protected(1, flag, u"Secret12"), action, [&] {
                asked = true;
                return std::optional<QString>();
            });
            EXPECT_EQ(asked, flag == action) << "flag " << flag << ", action " << action;
        }
    }
}

TEST(NewPassword, DialogRules) {
    const PromptRequest tooShort{QStringLiteral("Длина пароля должна составлять не менее 8 символов"),
                                 QStringLiteral("Ввод пароля"), PromptIcon::Warning};
    const PromptRequest mismatch{QStringLiteral("Ошибка при вводе пароля."), QStringLiteral("Ввод пароля"),
                                 PromptIcon::Error};
    const struct {
        const char* name;
        QString password;
        QString repeat;
        bool show;
        std::optional<PromptRequest> shown;
    } cases[] = {
        {"empty", "", "", false, tooShort},
        {"7 characters, repeated", "1234567", "1234567", false, tooShort},
        {"7 characters, shown", "1234567", "", true, tooShort},
        {"7 characters, repetition differs: length first", "1234567", "x", false, tooShort},
        {"7 Cyrillic characters", QStringLiteral("пароль1"), QStringLiteral("пароль1"), false, tooShort},
        {"8 characters, repeated", "12345678", "12345678", false, std::nullopt},
        {"8 Cyrillic characters, repeated", QStringLiteral("пароль12"), QStringLiteral("пароль12"), false,
         std::nullopt},
        {"8 characters, repetition differs", "12345678", "12345679", false, mismatch},
        {"8 characters, repetition differs in case", "Password", "password", false, mismatch},
        {"8 characters, no repetition", "12345678", "", false, mismatch},
        {"8 characters, shown: repetition not needed", "12345678", "", true, std::nullopt},
        {"8 characters, shown: a stale repetition is ignored", "12345678", "other", true, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NewPasswordRefusal(c.password, c.repeat, c.show), c.shown) << c.name;
    }
}

TEST(NewPassword, ReplacesTheWholeBuffer) {
    _tagSTRUCT_SETTINGS s = Protected(1, 0x02, u"a-much-longer-old-password");
    EXPECT_EQ(SetNewPassword(s, QStringLiteral("новый123")), std::nullopt);
    EXPECT_EQ(PasswordText(s), u"новый123");
    EXPECT_EQ(std::u16string(s.szPassword + 8, 252), std::u16string(252, u'\0'));
    EXPECT_TRUE(
        CheckPassword(s, PASSWORD_ON_START, [] { return std::optional(QStringLiteral("новый123")); }));

    EXPECT_EQ(SetNewPassword(s, QString(255, QChar('m'))), std::nullopt);
    EXPECT_EQ(PasswordText(s), std::u16string(255, u'm'));
    EXPECT_EQ(std::u16string(s.szPassword + 255, 5), std::u16string(5, u'\0'));
}

TEST(NewPassword, LongerThan255IsRefusedAndChangesNothing) {
    _tagSTRUCT_SETTINGS s = Protected(1, 0x02, u"OldSecret");
    const _tagSTRUCT_SETTINGS before = s;
    const PromptRequest refused{QStringLiteral("Невозможно сохранить новый пароль."),
                                QStringLiteral("Ошибка ввода пароля"), PromptIcon::Warning};
    EXPECT_EQ(SetNewPassword(s, QString(256, QChar('n'))), refused);
    EXPECT_EQ(s, before);
}

}  // namespace
}  // namespace qav::settings
