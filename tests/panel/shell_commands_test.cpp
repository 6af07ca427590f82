// The window commands: their password checks, the box of windows still to come, the About box reused.
#include "shell_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "about_dlg.h"
#include "scripted_prompt.h"
#include "temp_dir.h"
#include "widget_check.h"

namespace qav::panel {
namespace {

using settings::PASSWORD_ON_DATABASE;
using settings::PASSWORD_ON_PARAMS;
using settings::PASSWORD_ON_SETTINGS;

struct Fixture {
    test::TempDir dir;
    settings::SharedSettings settings{dir / "CPL_QAV510.INI"};
    test::ScriptedPrompt prompt;
    int asked = 0;
    std::optional<QString> entry;
    ShellCommands commands{settings, prompt,
                           [this] {
                               ++asked;
                               return entry;
                           },
                           nullptr};

    void Protect(uint32_t flags) {
        settings.Update([flags](settings::_tagSTRUCT_SETTINGS& s) {
            s.bPassword = 1;
            s.nPasswordFlags = flags;
            std::u16string_view(u"Secret12").copy(s.szPassword, 8);
        });
    }
};

enum class Command { Settings, Parameters, Database, Journal };

void RunCommand(ShellCommands& commands, Command command) {
    switch (command) {
        case Command::Settings:
            return commands.Settings();
        case Command::Parameters:
            return commands.Parameters();
        case Command::Database:
            return commands.Database();
        case Command::Journal:
            return commands.Journal();
    }
}

TEST(ShellCommands, PasswordThenNotAvailableYet) {
    struct Case {
        const char* name;
        Command command;
        uint32_t protectedFlags;
        std::optional<QString> entry;
        bool asked;
        bool shown;
    };
    const uint32_t all = 0x3E;
    const Case cases[] = {
        {"settings, unprotected", Command::Settings, 0, std::nullopt, false, true},
        {"settings, right password", Command::Settings, PASSWORD_ON_SETTINGS, "Secret12", true, true},
        {"settings, wrong password", Command::Settings, PASSWORD_ON_SETTINGS, "secret12", true, false},
        {"settings, cancelled", Command::Settings, all, std::nullopt, true, false},
        {"settings, other actions guarded", Command::Settings, all & ~PASSWORD_ON_SETTINGS, std::nullopt,
         false, true},
        {"parameters, right password", Command::Parameters, PASSWORD_ON_PARAMS, "Secret12", true, true},
        {"parameters, wrong password", Command::Parameters, all, "x", true, false},
        {"parameters, other actions guarded", Command::Parameters, all & ~PASSWORD_ON_PARAMS, std::nullopt,
         false, true},
        {"database, right password", Command::Database, PASSWORD_ON_DATABASE, "Secret12", true, true},
        {"database, cancelled", Command::Database, all, std::nullopt, true, false},
        {"database, other actions guarded", Command::Database, all & ~PASSWORD_ON_DATABASE, std::nullopt,
         false, true},
        {"journal has no password", Command::Journal, all, std::nullopt, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.Protect(c.protectedFlags);
        f.entry = c.entry;
        RunCommand(f.commands, c.command);
        EXPECT_EQ(f.asked, c.asked ? 1 : 0);
        ASSERT_EQ(f.prompt.Calls().size(), c.shown ? 1u : 0u);
        if (c.shown) {
            EXPECT_EQ(f.prompt.Calls()[0],
                      (platform::PromptRequest{"Эта функция будет доступна в следующей версии программы.",
                                               "CPL_QAV510", platform::PromptIcon::Information}));
        }
    }
}

TEST(ShellCommands, PasswordSwitchedOffAsksNothing) {
    Fixture f;
    f.Protect(0x3E);
    f.settings.Update([](settings::_tagSTRUCT_SETTINGS& s) { s.bPassword = 0; });
    f.commands.Settings();
    f.commands.Database();
    EXPECT_EQ(f.asked, 0);
    EXPECT_EQ(f.prompt.Calls().size(), 2u);
}

int VisibleAboutBoxes() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        n += qobject_cast<CAboutDlg*>(w) != nullptr && w->isVisible() ? 1 : 0;
    }
    return n;
}

// A second request while the box is open brings the same box forward.
TEST(ShellCommands, AboutBoxIsReused) {
    Fixture f;
    int boxesAfterSecondRequest = -1;
    CAboutDlg* first = nullptr;
    CAboutDlg* afterSecond = nullptr;
    QTimer::singleShot(0, [&] {
        test::RunEventsUntil([&] { return f.commands.OpenAbout() != nullptr; }, 5000);
        first = f.commands.OpenAbout();
        f.commands.About();  // returns at once
        afterSecond = f.commands.OpenAbout();
        boxesAfterSecondRequest = VisibleAboutBoxes();
        if (first != nullptr) {
            first->accept();
        }
    });
    f.commands.About();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(afterSecond, first);
    EXPECT_EQ(boxesAfterSecondRequest, 1);
    EXPECT_EQ(f.commands.OpenAbout(), nullptr);

    // Closed, the next request opens a new one.
    QTimer::singleShot(0, [&] {
        test::RunEventsUntil([&] { return f.commands.OpenAbout() != nullptr; }, 5000);
        EXPECT_EQ(VisibleAboutBoxes(), 1);
        f.commands.OpenAbout()->accept();
    });
    f.commands.About();
}

}  // namespace
}  // namespace qav::panel
