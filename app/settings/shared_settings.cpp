// The process-wide settings record, shared word by word.
#include "shared_settings.h"

#include <cstring>
#include <utility>

#include "settings_store.h"

namespace qav::settings {

using Words = std::array<uint32_t, sizeof(_tagSTRUCT_SETTINGS) / sizeof(uint32_t)>;

SharedSettings::SharedSettings(std::filesystem::path profile) : profile_(std::move(profile)) {
    Words defaults;
    const _tagSTRUCT_SETTINGS settings = DefaultSettings();
    std::memcpy(defaults.data(), &settings, sizeof settings);
    for (std::size_t i = 0; i < kWords; ++i) {
        words_[i].store(defaults[i]);
    }
}

_tagSTRUCT_SETTINGS SharedSettings::Snapshot() const {
    Words words;
    for (std::size_t i = 0; i < kWords; ++i) {
        words[i] = words_[i].load();
    }
    _tagSTRUCT_SETTINGS settings;
    std::memcpy(&settings, words.data(), sizeof settings);
    return settings;
}

// Callers hold updateMutex_.
void SharedSettings::Store(const _tagSTRUCT_SETTINGS& settings) {
    Words words;
    std::memcpy(words.data(), &settings, sizeof settings);
    for (std::size_t i = 0; i < kWords; ++i) {
        words_[i].store(words[i]);
    }
}

void SharedSettings::Update(const std::function<void(_tagSTRUCT_SETTINGS&)>& change) {
    const std::lock_guard lock(updateMutex_);
    _tagSTRUCT_SETTINGS settings = Snapshot();
    change(settings);
    Store(settings);
}

bool SharedSettings::Load() {
    const std::optional<_tagSTRUCT_SETTINGS> stored = LoadSettings(profile_);
    if (!stored) {
        return false;
    }
    Update([&](_tagSTRUCT_SETTINGS& settings) { settings = *stored; });
    return true;
}

bool SharedSettings::Save() {
    const std::lock_guard lock(saveMutex_);
    return SaveSettings(profile_, Snapshot());
}

void SharedSettings::ResetToDefaults() {
    Update([](_tagSTRUCT_SETTINGS& settings) { settings = DefaultSettings(); });
}

}  // namespace qav::settings
