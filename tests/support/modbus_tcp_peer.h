// A libmodbus Modbus TCP server on 127.0.0.1: an independent peer for the link library, serving one client
// connection at a time from its own thread.
#pragma once

#include <modbus/modbus.h>

#include <cstdint>
#include <mutex>
#include <thread>

namespace qav::test {

class ModbusTcpPeer {
public:
    // Holding registers 0 .. registers - 1 (reads beyond them get exception 2), listening on an ephemeral
    // port. Register r starts as RegisterValue(r).
    explicit ModbusTcpPeer(int registers);
    ~ModbusTcpPeer();
    ModbusTcpPeer(const ModbusTcpPeer&) = delete;
    ModbusTcpPeer& operator=(const ModbusTcpPeer&) = delete;

    uint16_t Port() const { return port_; }
    uint16_t Register(int index) const;

private:
    void Run();

    modbus_t* context_ = nullptr;
    modbus_mapping_t* mapping_ = nullptr;
    int listener_ = -1;
    int connection_ = -1;
    uint16_t port_ = 0;
    mutable std::mutex mutex_;  // the mapping, the connection and stopping_
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace qav::test
