// Starting the program with the desktop session: an XDG autostart entry for the running program.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "prompt.h"

namespace qav::panel {

// $XDG_CONFIG_HOME/autostart/CPL_QAV510.desktop, with `home`/.config in place of an unset or relative
// XDG_CONFIG_HOME.
std::filesystem::path AutostartEntryPath(std::string_view xdgConfigHome, const std::filesystem::path& home);
// The entry of the running process's user.
std::filesystem::path AutostartEntryPath();

// The entry's text: a desktop entry that runs `program` without arguments.
std::string AutostartEntry(const std::filesystem::path& program);

// Writes (`enabled`) or deletes the entry at `entry`. Nothing on success, a missing entry when disabling
// included; otherwise the warning to show: the folder cannot be created or written, or the entry cannot be
// written (`program` empty counts as that). An entry that is already as it should be is left untouched.
std::optional<platform::PromptRequest> WriteAutostart(bool enabled, const std::filesystem::path& entry,
                                                      const std::filesystem::path& program);

// WriteAutostart for the running program at the user's entry; a failure is shown through `prompt`.
void ApplyAutostart(bool enabled, platform::Prompt& prompt);

}  // namespace qav::panel
