// The single-instance lock between processes.
#include "single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "temp_dir.h"

namespace qav::panel {
namespace {

using Result = SingleInstanceLock::Result;

// A child process that holds the lock until it is killed.
class Holder {
public:
    Holder(const std::filesystem::path& file, bool first) {
        int ready[2];
        if (::pipe(ready) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            const SingleInstanceLock lock(file, first);
            const char state = static_cast<char>('0' + static_cast<int>(lock.State()));
            if (::write(ready[1], &state, 1) != 1) {
                ::_exit(1);
            }
            for (;;) {
                ::pause();
            }
        }
        ::close(ready[1]);
        char state = 0;
        EXPECT_EQ(::read(ready[0], &state, 1), 1);
        ::close(ready[0]);
        state_ = static_cast<Result>(state - '0');
    }
    ~Holder() { Kill(); }

    Result State() const { return state_; }

    void Kill() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    Result state_ = Result::Unavailable;
};

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstDies) {
    test::TempDir dir;
    const auto file = dir / kInstanceLockName;
    Holder first(file, true);
    ASSERT_EQ(first.State(), Result::Locked);

    EXPECT_EQ(SingleInstanceLock(file, true).State(), Result::HeldByOther);

    first.Kill();  // killed, not ended: the kernel drops the lock
    EXPECT_EQ(SingleInstanceLock(file, true).State(), Result::Locked);
}

TEST(SingleInstance, ReleaseLetsTheNextCopyStart) {
    test::TempDir dir;
    const auto file = dir / kInstanceLockName;
    SingleInstanceLock first(file, true);
    ASSERT_EQ(first.State(), Result::Locked);
    {
        Holder second(file, true);
        EXPECT_EQ(second.State(), Result::HeldByOther);
    }
    first.Release();
    Holder third(file, true);
    EXPECT_EQ(third.State(), Result::Locked);
}

// A program the panel starts (the browser showing the guide) must not keep the lock after the panel ends.
TEST(SingleInstance, StartedProgramsDoNotInheritTheLock) {
    test::TempDir dir;
    const auto file = dir / kInstanceLockName;
    auto first = std::make_unique<SingleInstanceLock>(file, true);
    ASSERT_EQ(first->State(), Result::Locked);
    const pid_t browser = ::fork();
    if (browser == 0) {
        ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::usleep(100'000);  // time for the exec
    first.reset();

    EXPECT_EQ(SingleInstanceLock(file, true).State(), Result::Locked);
    ::kill(browser, SIGKILL);
    ::waitpid(browser, nullptr, 0);
}

TEST(SingleInstance, CopiesStartedWithCopyStillCount) {
    test::TempDir dir;
    const auto file = dir / kInstanceLockName;
    Holder copy(file, false);
    ASSERT_EQ(copy.State(), Result::Locked);
    Holder anotherCopy(file, false);
    EXPECT_EQ(anotherCopy.State(), Result::Locked);

    EXPECT_EQ(SingleInstanceLock(file, true).State(), Result::HeldByOther);
}

TEST(SingleInstance, CopyNextToAFirstCopyHoldsNothing) {
    test::TempDir dir;
    const auto file = dir / kInstanceLockName;
    Holder first(file, true);
    EXPECT_EQ(SingleInstanceLock(file, false).State(), Result::HeldByOther);
}

TEST(SingleInstance, UnusableLockFile) {
    test::TempDir dir;
    EXPECT_EQ(SingleInstanceLock(dir / "missing" / kInstanceLockName, true).State(), Result::Unavailable);

    std::filesystem::create_symlink(dir / "elsewhere", dir / kInstanceLockName);
    EXPECT_EQ(SingleInstanceLock(dir / kInstanceLockName, true).State(), Result::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
}

TEST(SingleInstance, LockFileFolder) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved != nullptr ? saved : "";

    ::setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(DefaultInstanceLockPath(), "/run/user/1000/__CPL_QAV510_INITIAL_OWNER__");
    ::setenv("XDG_RUNTIME_DIR", "relative", 1);
    EXPECT_EQ(DefaultInstanceLockPath(), "/tmp/__CPL_QAV510_INITIAL_OWNER__");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(DefaultInstanceLockPath(), "/tmp/__CPL_QAV510_INITIAL_OWNER__");

    if (saved != nullptr) {
        ::setenv("XDG_RUNTIME_DIR", restore.c_str(), 1);
    }
}

TEST(SingleInstance, SecondCopyBox) {
    const platform::PromptRequest box = SecondCopyBox();
    EXPECT_EQ(box.text, QStringLiteral("Обнаружен запуск второй копии. Запуск невозможен."));
    EXPECT_EQ(box.caption, QStringLiteral("CPL_QAV510"));
    EXPECT_EQ(box.icon, platform::PromptIcon::Error);
    EXPECT_EQ(box.buttons, platform::PromptButtons::Ok);
}

}  // namespace
}  // namespace qav::panel
