// The relay's Modbus slave, shared by every transport: which requests it answers, with which faults, under
// the one lock that guards the relay model.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>
#include <span>

#include "faults.h"
#include "modbus_pdu.h"
#include "relay.h"

namespace qav::sim {

// The relay model with its lock: TCP clients, the serial port, the clock tick and the control channel all
// reach the model through here.
class SharedRelay {
public:
    explicit SharedRelay(const RelaySettings& settings) : relay_(settings) {}

    template <class F>
    decltype(auto) With(F&& f) {
        std::lock_guard lock(mutex_);
        return f(relay_);
    }

private:
    std::mutex mutex_;
    Relay relay_;
};

enum class Transport { kTcp, kSerial };

struct Answer {
    enum class Kind { kNone, kReply, kClose };
    Kind kind = Kind::kNone;
    Pdu pdu;
    bool corrupt = false;  // send the reply with a wrong CRC or LRC
};

class Slave {
public:
    // Over TCP the relay also answers this unit identifier, which means "whatever device is there".
    static constexpr uint8_t kAnyUnit = 0xFF;

    Slave(SharedRelay& relay, FaultInjector& faults, bool verbose);

    // On a serial line the relay answers its own address only; address 0 is a broadcast, whose writes it
    // carries out without a reply. While it restarts it answers nothing.
    void Handle(Transport transport, uint8_t unit, std::span<const uint8_t> request, Answer& answer);
    std::chrono::milliseconds ResponseDelay() const { return faults_.Settings().responseDelay; }

private:
    void Log(Transport transport, uint8_t unit, std::span<const uint8_t> request, const Answer& answer,
             Fault fault) const;

    SharedRelay& relay_;
    FaultInjector& faults_;
    bool verbose_;
};

}  // namespace qav::sim
