// Creating the program's folders.
#include "program_folders.h"

namespace qav::panel {
namespace fs = std::filesystem;

namespace {

bool FolderReady(const fs::path& folder) {
    std::error_code error;
    fs::create_directory(folder, error);
    return fs::is_directory(folder, error);
}

platform::PromptRequest FolderError(const char* text) {
    return {QString::fromUtf8(text), QStringLiteral("Ошибка"), platform::PromptIcon::Error};
}

}  // namespace

fs::path SettingsFolder(const fs::path& root) {
    return root / kSettingsFolderName;
}

fs::path DatabaseFolder(const fs::path& root) {
    return root / kDatabaseFolderName;
}

std::optional<platform::PromptRequest> CreateProgramFolders(const fs::path& root) {
    if (!FolderReady(SettingsFolder(root))) {
        return FolderError("Невозможно создать каталог настроек КАВ-510");
    }
    if (!FolderReady(DatabaseFolder(root))) {
        return FolderError("Невозможно создать каталог базы данных КАВ-510");
    }
    return std::nullopt;
}

}  // namespace qav::panel
