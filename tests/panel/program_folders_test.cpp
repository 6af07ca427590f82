// The program's folders in the program root.
#include "program_folders.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qav::panel {
namespace {

namespace fs = std::filesystem;

const QString kSettingsError = QStringLiteral("Невозможно создать каталог настроек КАВ-510");
const QString kDatabaseError = QStringLiteral("Невозможно создать каталог базы данных КАВ-510");

TEST(ProgramFolders, CreatedInTheRoot) {
    test::TempDir root;
    EXPECT_EQ(CreateProgramFolders(root.Path()), std::nullopt);
    EXPECT_TRUE(fs::is_directory(root / "qav_settings"));
    EXPECT_TRUE(fs::is_directory(root / "qav_db"));
    EXPECT_EQ(SettingsFolder(root.Path()), root / "qav_settings");
    EXPECT_EQ(DatabaseFolder(root.Path()), root / "qav_db");

    // Again, with everything in place, and the folders' contents kept.
    test::WriteBytes(root / "qav_db" / "01012024.db", "x");
    EXPECT_EQ(CreateProgramFolders(root.Path()), std::nullopt);
    EXPECT_EQ(test::FileBytes(root / "qav_db" / "01012024.db"), "x");
}

struct FailureCase {
    const char* name;
    const char* fileInPlace;  // a plain file where a folder belongs
    const char* missingRoot;  // a root whose parent does not exist, when set
    QString message;
    bool settingsCreated;
    bool databaseCreated;
};

TEST(ProgramFolders, Failures) {
    const FailureCase cases[] = {
        {"file named qav_settings", "qav_settings", nullptr, kSettingsError, false, false},
        {"file named qav_db", "qav_db", nullptr, kDatabaseError, true, false},
        {"root cannot be made", nullptr, "no/such/root", kSettingsError, false, false},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        fs::path root = dir.Path();
        if (c.fileInPlace != nullptr) {
            test::WriteBytes(root / c.fileInPlace, "not a folder");
        }
        if (c.missingRoot != nullptr) {
            root /= c.missingRoot;
        }
        const auto failure = CreateProgramFolders(root);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->text, c.message);
        EXPECT_EQ(failure->caption, QStringLiteral("Ошибка"));
        EXPECT_EQ(failure->icon, platform::PromptIcon::Error);
        EXPECT_EQ(failure->buttons, platform::PromptButtons::Ok);
        EXPECT_EQ(fs::is_directory(root / "qav_settings"), c.settingsCreated);
        EXPECT_EQ(fs::is_directory(root / "qav_db"), c.databaseCreated);
    }
}

}  // namespace
}  // namespace qav::panel
