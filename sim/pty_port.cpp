#include "pty_port.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace qav::sim {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

std::string LinkTarget(const std::string& link) {
    char target[4096];
    const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace

PtyPort::PtyPort(std::string link) : link_(std::move(link)) {
    try {
        Open();
        MakeLink();
    } catch (...) {
        Close();
        throw;
    }
}

void PtyPort::Open() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        Fail("cannot create a pseudo-terminal");
    }
    char name[256];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        Fail("cannot name the pseudo-terminal");
    }
    device_ = name;
    keeper_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (keeper_ < 0) {
        Fail("cannot open " + device_);
    }
    // Raw until a master sets the line up: no echo, no line editing, no CR LF translation.
    termios tio{};
    tcgetattr(keeper_, &tio);
    cfmakeraw(&tio);
    tcsetattr(keeper_, TCSANOW, &tio);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

void PtyPort::MakeLink() {
    struct stat existing {};
    if (lstat(link_.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            errno = EEXIST;
            Fail("refusing to replace " + link_ + ", which is not a symlink");
        }
        unlink(link_.c_str());
    }
    if (symlink(device_.c_str(), link_.c_str()) != 0) {
        Fail("cannot create the symlink " + link_);
    }
}

PtyPort::~PtyPort() {
    // Another run may have taken the path over meanwhile; only our own link goes.
    if (LinkTarget(link_) == device_) {
        unlink(link_.c_str());
    }
    Close();
}

void PtyPort::Close() {
    for (int* fd : {&keeper_, &master_}) {
        if (*fd >= 0) {
            close(*fd);
            *fd = -1;
        }
    }
}

}  // namespace qav::sim
