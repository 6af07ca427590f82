// Letter encoding of the settings record and its place in the profile.
#include "settings_store.h"

#include <array>
#include <cstring>

#include "private_profile.h"

namespace qav::settings {

using Bytes = std::array<unsigned char, sizeof(_tagSTRUCT_SETTINGS)>;

std::string EncodeSettings(const _tagSTRUCT_SETTINGS& settings) {
    Bytes bytes;
    std::memcpy(bytes.data(), &settings, sizeof settings);
    std::string letters;
    letters.reserve(kSettingsLetters);
    for (const unsigned char byte : bytes) {
        letters.push_back(static_cast<char>('A' + (byte & 0x0F)));
        letters.push_back(static_cast<char>('A' + (byte >> 4)));
    }
    return letters;
}

std::optional<_tagSTRUCT_SETTINGS> DecodeSettings(std::string_view letters) {
    if (letters.size() != kSettingsLetters) {
        return std::nullopt;
    }
    Bytes bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const int low = letters[2 * i] - 'A';
        const int high = letters[2 * i + 1] - 'A';
        if (low < 0 || low > 15 || high < 0 || high > 15) {
            return std::nullopt;
        }
        bytes[i] = static_cast<unsigned char>(high * 16 + low);
    }
    _tagSTRUCT_SETTINGS settings;
    std::memcpy(&settings, bytes.data(), sizeof settings);
    return settings;
}

std::optional<_tagSTRUCT_SETTINGS> LoadSettings(const std::filesystem::path& profile) {
    const std::optional<std::string> letters =
        platform::ReadProfileString(profile, kSettingsSection, kSettingsKey);
    if (!letters) {
        return std::nullopt;
    }
    return DecodeSettings(*letters);
}

bool SaveSettings(const std::filesystem::path& profile, const _tagSTRUCT_SETTINGS& settings) {
    return platform::WriteProfileString(profile, kSettingsSection, kSettingsKey, EncodeSettings(settings));
}

}  // namespace qav::settings
