// The autostart entry: written, rewritten, deleted, and the two warnings.
#include "autostart.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "scripted_prompt.h"
#include "temp_dir.h"

namespace qav::panel {
namespace {

namespace fs = std::filesystem;

const QString kNoAccess = QStringLiteral(
    "Нет доступа к реестру Windows. Убедитесь что ваша учетная запись обладает данными правами.");
const QString kCannotStore = QStringLiteral(
    "Невозможно сохранить запись в реестре. Автоматический запуск программы при старте Windows невозможен.");

// Restores an environment variable at the end of a test.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        ::setenv(name, value.c_str(), 1);
    }
    ~EnvironmentVariable() {
        if (old_) {
            ::setenv(name_, old_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

std::string ExecLine(const std::string& entry) {
    const auto start = entry.find("\nExec=");
    return start == std::string::npos ? "" : entry.substr(start + 1, entry.find('\n', start + 1) - start - 1);
}

TEST(Autostart, EntryPath) {
    EXPECT_EQ(AutostartEntryPath("/cfg", "/home/op"), "/cfg/autostart/CPL_QAV510.desktop");
    EXPECT_EQ(AutostartEntryPath("", "/home/op"), "/home/op/.config/autostart/CPL_QAV510.desktop");
    EXPECT_EQ(AutostartEntryPath("cfg", "/home/op"), "/home/op/.config/autostart/CPL_QAV510.desktop");
}

TEST(Autostart, Entry) {
    EXPECT_EQ(AutostartEntry("/opt/qav/CPL_QAV510"),
              "[Desktop Entry]\nType=Application\nName=CPL_QAV510\nComment=Панель управления КАВ-510\n"
              "Exec=\"/opt/qav/CPL_QAV510\"\nTerminal=false\nX-GNOME-Autostart-enabled=true\n");
}

// Quoting of the Exec key: reserved characters escaped inside the quotes, then backslashes doubled by the
// string-value rule, and '%' doubled so that it is no field code.
TEST(Autostart, ExecQuoting) {
    struct Case {
        const char* program;
        const char* exec;
    };
    const Case cases[] = {
        {"/opt/my programs/CPL_QAV510", "Exec=\"/opt/my programs/CPL_QAV510\""},
        {"/opt/$HOME/x", "Exec=\"/opt/\\\\$HOME/x\""},
        {"/opt/a\"b", "Exec=\"/opt/a\\\\\"b\""},
        {"/opt/a`b", "Exec=\"/opt/a\\\\`b\""},
        {"/opt/a\\b", "Exec=\"/opt/a\\\\\\\\b\""},
        {"/opt/100%/x", "Exec=\"/opt/100%%/x\""},
        {"/opt/КАВ/CPL_QAV510", "Exec=\"/opt/КАВ/CPL_QAV510\""},
        {"/opt/a\nb", "Exec=\"/opt/a\\nb\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        EXPECT_EQ(ExecLine(AutostartEntry(c.program)), c.exec);
    }
}

TEST(Autostart, WrittenKeptAndDeleted) {
    test::TempDir dir;
    const fs::path entry = dir / "config/autostart/CPL_QAV510.desktop";

    EXPECT_EQ(WriteAutostart(true, entry, "/opt/qav/CPL_QAV510"), std::nullopt);
    EXPECT_EQ(test::FileBytes(entry), AutostartEntry("/opt/qav/CPL_QAV510"));

    // The program moved: the entry follows it.
    EXPECT_EQ(WriteAutostart(true, entry, "/srv/qav/CPL_QAV510"), std::nullopt);
    EXPECT_EQ(test::FileBytes(entry), AutostartEntry("/srv/qav/CPL_QAV510"));

    EXPECT_EQ(WriteAutostart(false, entry, "/srv/qav/CPL_QAV510"), std::nullopt);
    EXPECT_FALSE(fs::exists(entry));
    // A missing entry is no error, nor a missing folder.
    EXPECT_EQ(WriteAutostart(false, entry, "/srv/qav/CPL_QAV510"), std::nullopt);
    EXPECT_EQ(WriteAutostart(false, dir / "none/autostart/CPL_QAV510.desktop", "/x"), std::nullopt);
    EXPECT_FALSE(fs::exists(dir / "none"));
}

TEST(Autostart, Failures) {
    struct Case {
        const char* name;
        bool enabled;
        const char* fileInPlace;    // a plain file at this place under the temporary folder
        const char* folderInPlace;  // a non-empty folder at this place
        const char* program;
        QString message;
    };
    const Case cases[] = {
        {"folder cannot be made", true, "config", nullptr, "/opt/CPL_QAV510", kNoAccess},
        {"a folder where the entry belongs", true, nullptr, "config/autostart/CPL_QAV510.desktop",
         "/opt/CPL_QAV510", kCannotStore},
        {"program unknown", true, nullptr, nullptr, "", kCannotStore},
        {"entry cannot be deleted", false, nullptr, "config/autostart/CPL_QAV510.desktop", "/opt/CPL_QAV510",
         kNoAccess},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        if (c.fileInPlace != nullptr) {
            test::WriteBytes(dir / c.fileInPlace, "x");
        }
        if (c.folderInPlace != nullptr) {
            fs::create_directories(dir / c.folderInPlace);
            test::WriteBytes(dir / c.folderInPlace / "keep", "x");
        }
        const auto failure =
            WriteAutostart(c.enabled, dir / "config/autostart/CPL_QAV510.desktop", c.program);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->text, c.message);
        EXPECT_EQ(failure->caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(failure->icon, platform::PromptIcon::Warning);
        EXPECT_EQ(failure->buttons, platform::PromptButtons::Ok);
    }
}

// The running program in the user's configuration folder, as the start-up applies it.
TEST(Autostart, AppliedForTheRunningProgram) {
    test::TempDir dir;
    const EnvironmentVariable config("XDG_CONFIG_HOME", (dir / "config").string());
    test::ScriptedPrompt prompt;
    const fs::path entry = dir / "config/autostart/CPL_QAV510.desktop";
    ASSERT_EQ(AutostartEntryPath(), entry);

    ApplyAutostart(true, prompt);
    EXPECT_EQ(test::FileBytes(entry), AutostartEntry(fs::read_symlink("/proc/self/exe")));
    ApplyAutostart(false, prompt);
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_TRUE(prompt.Calls().empty());

    std::filesystem::remove_all(dir / "config/autostart");
    test::WriteBytes(dir / "config/autostart", "a file where the folder belongs");
    ApplyAutostart(true, prompt);
    ASSERT_EQ(prompt.Calls().size(), 1u);
    EXPECT_EQ(prompt.Calls()[0].text, kNoAccess);
}

TEST(Autostart, HomeWhenNoConfigFolderIsSet) {
    test::TempDir dir;
    const EnvironmentVariable home("HOME", dir.Path().string());
    const EnvironmentVariable config("XDG_CONFIG_HOME", "");
    EXPECT_EQ(AutostartEntryPath(), dir / ".config/autostart/CPL_QAV510.desktop");
}

}  // namespace
}  // namespace qav::panel
