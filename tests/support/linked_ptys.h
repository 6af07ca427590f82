// Two pseudo-terminals joined by socat: bytes written to one slave path come out of the other. An
// independent serial peer (libmodbus, pymodbus) serves on one path while the link library opens the other.
#pragma once

#include <sys/types.h>

#include <string>

namespace qav::test::serial {

class LinkedPtys {
public:
    // Starts `socat`; throws std::runtime_error when it cannot be started or its paths do not appear.
    LinkedPtys();
    // Stops the socat process it started.
    ~LinkedPtys();
    LinkedPtys(const LinkedPtys&) = delete;
    LinkedPtys& operator=(const LinkedPtys&) = delete;

    // Absolute paths (symbolic links to /dev/pts/N).
    const std::string& First() const { return first_; }
    const std::string& Second() const { return second_; }

private:
    void Stop();

    std::string dir_;
    std::string first_;
    std::string second_;
    pid_t socat_ = -1;
    // Both slave sides stay open here, so that socat keeps running while the peers close and open them.
    int firstKeeper_ = -1;
    int secondKeeper_ = -1;
};

}  // namespace qav::test::serial
