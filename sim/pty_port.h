// The relay's serial port: a pseudo-terminal whose device side a master opens through a symlink.
#pragma once

#include <string>

namespace qav::sim {

class PtyPort {
public:
    // Creates the pseudo-terminal and the symlink `link` to its device. A symlink left at that path by an
    // earlier run is replaced; any other file there is refused (std::runtime_error).
    explicit PtyPort(std::string link);
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // The relay's side, non-blocking.
    int Fd() const { return master_; }
    const std::string& Device() const { return device_; }
    const std::string& Link() const { return link_; }

private:
    void Open();
    void MakeLink();
    void Close();

    int master_ = -1;
    // Keeps the device side open between masters, so that the relay's side never sees a hang-up.
    int keeper_ = -1;
    std::string device_;
    std::string link_;
};

}  // namespace qav::sim
