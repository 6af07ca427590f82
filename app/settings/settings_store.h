// The settings record in the profile: section "settings", key "system", two capital letters per record byte.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "settings_record.h"

namespace qav::settings {

inline constexpr std::string_view kSettingsSection = "settings";
inline constexpr std::string_view kSettingsKey = "system";
inline constexpr std::size_t kSettingsLetters = 2 * sizeof(_tagSTRUCT_SETTINGS);

// For every byte in record order 'A' + its low four bits, then 'A' + its high four bits: 2408 letters.
std::string EncodeSettings(const _tagSTRUCT_SETTINGS& settings);

// The record back from its letters. Nothing unless the text is exactly 2408 letters 'A' to 'P': a value of
// another length is a record of another size, and other characters mean the value is damaged.
std::optional<_tagSTRUCT_SETTINGS> DecodeSettings(std::string_view letters);

// The record stored in the profile; nothing when the file, the key or a usable value is missing. Fields are
// taken as stored, without range checks (see settings_use.h).
std::optional<_tagSTRUCT_SETTINGS> LoadSettings(const std::filesystem::path& profile);

// Stores the whole record, keeping the rest of the profile. True on success.
bool SaveSettings(const std::filesystem::path& profile, const _tagSTRUCT_SETTINGS& settings);

}  // namespace qav::settings
