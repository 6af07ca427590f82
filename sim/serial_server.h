// The relay on its serial line: Modbus RTU or ASCII over the pseudo-terminal, replies paced as the line
// would carry them.
#pragma once

#include <chrono>
#include <thread>

#include "pty_port.h"
#include "serial_framing.h"
#include "slave.h"
#include "stop_signal.h"

namespace qav::sim {

class SerialServer {
public:
    // `baud` 0 sends replies at once; 9600 or 19200 holds each reply back for the time the line takes.
    SerialServer(Slave& slave, PtyPort& port, SerialMode mode, unsigned baud);
    ~SerialServer();
    SerialServer(const SerialServer&) = delete;
    SerialServer& operator=(const SerialServer&) = delete;

    void Start();
    void Stop();

private:
    void Run();
    void Received(const uint8_t* data, std::size_t size);
    void Reply(const SerialRequest& request);
    void Send(const uint8_t* data, std::size_t size);
    // The silence that ends an RTU frame.
    std::chrono::microseconds FrameGap() const;

    Slave& slave_;
    PtyPort& port_;
    SerialMode mode_;
    unsigned baud_;
    RtuRequestReader rtu_;
    AsciiRequestReader ascii_;
    StopSignal stop_;
    std::thread thread_;
};

}  // namespace qav::sim
