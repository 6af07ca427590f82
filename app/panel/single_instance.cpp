// The single-instance lock file.
#include "single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace qav::panel {

platform::PromptRequest SecondCopyBox() {
    return {QStringLiteral("Обнаружен запуск второй копии. Запуск невозможен."), QStringLiteral("CPL_QAV510"),
            platform::PromptIcon::Error};
}

std::filesystem::path DefaultInstanceLockPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::filesystem::path folder = runtime != nullptr ? runtime : "";
    if (!folder.is_absolute()) {
        folder = "/tmp";
    }
    return folder / kInstanceLockName;
}

SingleInstanceLock::SingleInstanceLock(const std::filesystem::path& file, bool first) {
    // No symbolic links: in /tmp another user could point the name at a file of ours.
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        return;
    }
    int rc;
    do {
        rc = ::flock(fd_, (first ? LOCK_EX : LOCK_SH) | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        result_ = Result::Locked;
        return;
    }
    result_ = errno == EWOULDBLOCK ? Result::HeldByOther : Result::Unavailable;
    ::close(fd_);
    fd_ = -1;
}

SingleInstanceLock::~SingleInstanceLock() {
    Release();
}

void SingleInstanceLock::Release() {
    if (fd_ >= 0) {
        ::close(fd_);  // closing the only descriptor drops the lock
        fd_ = -1;
    }
}

}  // namespace qav::panel
