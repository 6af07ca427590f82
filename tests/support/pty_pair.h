// A pseudo-terminal pair: the library opens the slave path as its serial port, the test plays the device on
// the master side.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qav::test {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    int MasterFd() const { return master_; }
    // The slave side as the fixture holds it open: its line settings are those the library sets.
    int SlaveFd() const { return slaveKeeper_; }

    // Bytes the device side has received, waiting until `size` bytes are there or the time is up.
    std::vector<uint8_t> Receive(std::size_t size, std::chrono::milliseconds within);
    void Send(const std::vector<uint8_t>& bytes);
    void Send(const std::string& text);
    // Throws away whatever the device side has received so far.
    void Drain();
    // The device side goes away, as when a USB adapter is pulled out: the slave side is hung up.
    void CloseMaster();

private:
    int master_ = -1;
    int slaveKeeper_ = -1;  // keeps the slave side alive between the library's opens
    std::string slavePath_;
};

}  // namespace qav::test
