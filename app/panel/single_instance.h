// One running copy of the program at a time: a lock file that the kernel frees when its holder ends, however
// it ends.
#pragma once

#include <filesystem>

#include "prompt.h"

namespace qav::panel {

inline constexpr const char* kInstanceLockName = "__CPL_QAV510_INITIAL_OWNER__";

// The error box of a second copy started without "-copy".
platform::PromptRequest SecondCopyBox();

// The lock file in $XDG_RUNTIME_DIR (private to the user), or in /tmp when that is unset or not absolute.
std::filesystem::path DefaultInstanceLockPath();

class SingleInstanceLock {
public:
    enum class Result {
        Locked,       // this process holds the lock (the first copy, when it asked to be)
        HeldByOther,  // another running copy holds the lock
        Unavailable,  // the lock file cannot be opened (for example another user's file in /tmp)
    };

    // Opens or creates the lock file. `first` asks to be the only copy (an exclusive lock); otherwise, for
    // "-copy", a shared lock is taken when possible so that the copy still counts as running for a later
    // start without "-copy". Never waits.
    SingleInstanceLock(const std::filesystem::path& file, bool first);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // What the constructor found.
    Result State() const { return result_; }

    // Gives the lock up; also done by the destructor. The file stays, so that no later copy locks a file
    // another copy has just unlinked.
    void Release();

private:
    int fd_ = -1;
    Result result_ = Result::Unavailable;
};

}  // namespace qav::panel
