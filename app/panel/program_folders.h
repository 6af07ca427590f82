// The program's folders in the program root: "qav_settings" for the relay's settings files and "qav_db" for
// the database files.
#pragma once

#include <filesystem>
#include <optional>

#include "prompt.h"

namespace qav::panel {

inline constexpr const char* kSettingsFolderName = "qav_settings";
inline constexpr const char* kDatabaseFolderName = "qav_db";

std::filesystem::path SettingsFolder(const std::filesystem::path& root);
std::filesystem::path DatabaseFolder(const std::filesystem::path& root);

// Creates both folders where missing, the settings folder first. Nothing when both are there afterwards;
// otherwise the error box for the first that is not: a folder that cannot be created, or something other
// than a folder in its place (the files meant for it could never be written).
std::optional<platform::PromptRequest> CreateProgramFolders(const std::filesystem::path& root);

}  // namespace qav::panel
