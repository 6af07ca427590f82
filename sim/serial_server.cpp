#include "serial_server.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace qav::sim {
namespace {

// Without a set speed, frames still end at a short pause.
constexpr std::chrono::microseconds kDefaultGap{2000};

}  // namespace

SerialServer::SerialServer(Slave& slave, PtyPort& port, SerialMode mode, unsigned baud)
    : slave_(slave), port_(port), mode_(mode), baud_(baud) {}

SerialServer::~SerialServer() {
    Stop();
}

void SerialServer::Start() {
    thread_ = std::thread([this] { Run(); });
}

void SerialServer::Stop() {
    stop_.Raise();
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::chrono::microseconds SerialServer::FrameGap() const {
    // Three and a half characters of silence.
    return baud_ == 0 ? kDefaultGap : LineTime(7, mode_, baud_) / 2;
}

void SerialServer::Run() {
    uint8_t chunk[512];
    while (!stop_.Raised()) {
        pollfd fds[2] = {{port_.Fd(), POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
        const bool framing = mode_ == SerialMode::kRtu && rtu_.Pending();
        const auto gap = std::chrono::duration_cast<std::chrono::nanoseconds>(FrameGap()).count();
        const timespec timeout{0, static_cast<long>(gap)};
        const int ready = ppoll(fds, 2, framing ? &timeout : nullptr, nullptr);
        if (stop_.Raised()) {
            break;
        }
        if (ready == 0) {
            SerialRequest request;
            if (rtu_.Flush(request)) {
                Reply(request);
            }
            continue;
        }
        if (ready < 0 || !(fds[0].revents & POLLIN)) {
            // No master has the port open: nothing to read, but no reason to spin either.
            stop_.Pause(std::chrono::milliseconds{10});
            continue;
        }
        const ssize_t n = read(port_.Fd(), chunk, sizeof chunk);
        if (n > 0) {
            Received(chunk, static_cast<std::size_t>(n));
        }
    }
}

void SerialServer::Received(const uint8_t* data, std::size_t size) {
    SerialRequest request;
    if (mode_ == SerialMode::kRtu) {
        rtu_.Append({data, size});
        while (rtu_.Next(request)) {
            Reply(request);
        }
        return;
    }
    for (std::size_t i = 0; i < size; ++i) {
        if (ascii_.Feed(data[i], request)) {
            Reply(request);
        }
    }
}

void SerialServer::Reply(const SerialRequest& request) {
    Answer answer;
    slave_.Handle(Transport::kSerial, request.address, request.Pdu(), answer);
    if (answer.kind != Answer::Kind::kReply) {
        return;
    }
    uint8_t frame[kMaxAsciiFrame];
    const std::size_t size = mode_ == SerialMode::kRtu
                                 ? EncodeRtu(request.address, answer.pdu, answer.corrupt, frame)
                                 : EncodeAscii(request.address, answer.pdu, answer.corrupt, frame);
    // A pseudo-terminal delivers the request at once, where a line would still be carrying it; then the
    // reply leaves after the silence that ends the request and takes its own time on the line.
    const std::size_t requestCharacters = mode_ == SerialMode::kRtu ? request.size + 3 : 2 * request.size + 7;
    if (stop_.Pause(slave_.ResponseDelay() + TransactionLineTime(requestCharacters, size, mode_, baud_))) {
        Send(frame, size);
    }
}

void SerialServer::Send(const uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(port_.Fd(), data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            std::perror("qav510-sim: serial write");
            return;
        }
        // The master is not reading: give up on this reply rather than hang the line.
        pollfd p{port_.Fd(), POLLOUT, 0};
        if (poll(&p, 1, 1000) <= 0) {
            std::fprintf(stderr, "qav510-sim: serial reply dropped, nobody reads the port\n");
            return;
        }
    }
}

}  // namespace qav::sim
