// The process-wide settings: one record that the user-interface, poller, parameter-editor, database and
// device-search threads read and write at the same time.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>

#include "settings_record.h"

namespace qav::settings {

// The record is held as its 301 aligned 32-bit words, each read and written atomically, so every numeric
// field is always seen whole, as the threads expect, without a data race. Readers take a Snapshot, a plain
// copy that is theirs alone, and read it through settings_use.h. Writers are serialised, each applying its
// change to the record as the writer before left it, so none undoes another's change of other fields. The two
// texts may be seen half-changed by a thread other than their writer, the user-interface thread, which only
// matters to readers that use them - and those run on that same thread.
class SharedSettings {
public:
    // Starts with the built-in settings; `profile` is the file Load and Save use.
    explicit SharedSettings(std::filesystem::path profile);
    SharedSettings(const SharedSettings&) = delete;
    SharedSettings& operator=(const SharedSettings&) = delete;

    const std::filesystem::path& Profile() const { return profile_; }

    _tagSTRUCT_SETTINGS Snapshot() const;

    // Applies `change` to a copy of the current record and stores the result. Do not ask the operator
    // anything inside: other writers wait meanwhile.
    void Update(const std::function<void(_tagSTRUCT_SETTINGS&)>& change);

    // Takes the record stored in the profile: true when one was found and taken; otherwise nothing changes.
    bool Load();
    // Stores the whole current record; true on success. Saves are serialised and each takes the record as it
    // is when its turn comes, so the profile ends up with the newest record.
    bool Save();
    // The built-in settings, in memory only; the profile keeps its record until the next Save.
    void ResetToDefaults();

private:
    static constexpr std::size_t kWords = sizeof(_tagSTRUCT_SETTINGS) / sizeof(uint32_t);
    static_assert(kWords * sizeof(uint32_t) == sizeof(_tagSTRUCT_SETTINGS));
    static_assert(std::atomic<uint32_t>::is_always_lock_free);

    void Store(const _tagSTRUCT_SETTINGS& settings);

    const std::filesystem::path profile_;
    std::array<std::atomic<uint32_t>, kWords> words_;
    std::mutex updateMutex_;
    std::mutex saveMutex_;
};

}  // namespace qav::settings
