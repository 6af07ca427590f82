#include "serial_device.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace qav::test::serial {

Answer Send(Bytes bytes) {
    return {Piece{std::move(bytes), std::chrono::milliseconds(0)}};
}

Answer InPieces(const Bytes& bytes, const std::vector<std::size_t>& sizes, std::chrono::milliseconds pause) {
    Answer answer;
    std::size_t at = 0;
    for (const std::size_t size : sizes) {
        const std::size_t end = std::min(bytes.size(), at + size);
        answer.push_back({Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                                bytes.begin() + static_cast<std::ptrdiff_t>(end)),
                          pause});
        at = end;
    }
    if (at < bytes.size()) {
        answer.push_back({Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end()), pause});
    }
    return answer;
}

Answer Repeat(const Bytes& bytes, int count, std::chrono::milliseconds pause) {
    return Answer(static_cast<std::size_t>(count), Piece{bytes, pause});
}

Answer Silence() {
    return {};
}

Responder Bank(Framing framing) {
    return [framing](const Bytes& request) {
        const auto decoded = Decode(framing, request);
        return decoded ? Send(Frame(framing, BankReply(*decoded))) : Silence();
    };
}

SerialDevice::SerialDevice(PtyPair& pty, Framing framing)
    : pty_(pty), framing_(framing), default_(Bank(framing)), thread_([this] { Run(); }) {}

SerialDevice::~SerialDevice() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void SerialDevice::Then(Responder responder) {
    std::lock_guard lock(mutex_);
    script_.push_back(std::move(responder));
}

void SerialDevice::SetDefault(Responder responder) {
    std::lock_guard lock(mutex_);
    default_ = std::move(responder);
}

std::vector<Bytes> SerialDevice::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t SerialDevice::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

bool SerialDevice::WaitForRequests(std::size_t count, std::chrono::milliseconds within) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, within, [&] { return requests_.size() >= count; });
}

void SerialDevice::Run() {
    Bytes pending;
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) {
                return;
            }
        }
        pollfd p{pty_.MasterFd(), POLLIN, 0};
        if (poll(&p, 1, 5) <= 0) {
            continue;
        }
        uint8_t chunk[256];
        const ssize_t n = read(pty_.MasterFd(), chunk, sizeof chunk);
        if (n <= 0) {
            // EIO while no one holds the slave side open: wait for the library to open it again.
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                Pause(std::chrono::milliseconds(5));
            }
            continue;
        }
        for (ssize_t i = 0; i < n; ++i) {
            pending.push_back(chunk[i]);
            const bool complete = framing_ == Framing::Rtu ? pending.size() == 8 : chunk[i] == '\n';
            if (complete) {
                Respond(pending);
                pending.clear();
            }
        }
    }
}

void SerialDevice::Respond(const Bytes& request) {
    Responder responder;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (!script_.empty()) {
            responder = std::move(script_.front());
            script_.pop_front();
        } else {
            responder = default_;
        }
    }
    changed_.notify_all();
    for (const Piece& piece : responder(request)) {
        if (!Pause(piece.pause) || !Write(piece.bytes)) {
            return;
        }
    }
}

bool SerialDevice::Pause(std::chrono::milliseconds pause) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, pause, [&] { return stopping_; });
}

bool SerialDevice::Write(const Bytes& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(pty_.MasterFd(), bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (!Pause(std::chrono::milliseconds(1))) {
            return false;
        }
    }
    return true;
}

}  // namespace qav::test::serial
