// Modbus TCP transport: the caller sends, a receiver thread collects, the caller is woken to judge.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "QAV508DLL.h"
#include "gate.h"
#include "link_state.h"
#include "text.h"
#include "trace.h"

namespace qav::link {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kHeaderSize = 7;  // MBAP header: transaction, protocol, length, unit
constexpr std::size_t kRequestSize = kHeaderSize + kPduSize;
constexpr std::size_t kChunkSize = 100;
constexpr auto kSpin = std::chrono::microseconds(50);

struct TcpLink {
    std::atomic<int> socket{-1};
    std::thread receiver;
    std::atomic<bool> receiving{false};
    // Guards the received bytes and their count, so that an append and the reset at the start of an
    // attempt exclude each other; the receiver only ever writes behind the count. The count is also read
    // without the lock, to notice an arrival before going to sleep.
    std::mutex mutex;
    std::condition_variable arrived;
    std::atomic<std::size_t> received{0};
    // The link's own receive buffer: a receiver still running when another kind of link is opened must not
    // write into the bytes that link is receiving.
    uint8_t rx[kBufferSize] = {};
    uint16_t transactionId = 0;  // never reset: the first request of the process carries 1
};

TcpLink& L() {
    static TcpLink link;
    return link;
}

void Receive(int fd) {
    TcpLink& link = L();
    uint8_t chunk[kChunkSize];
    for (;;) {
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            std::lock_guard lock(link.mutex);
            const auto size = static_cast<std::size_t>(n);
            const std::size_t received = link.received.load(std::memory_order_relaxed);
            if (received + size < kBufferSize) {
                std::memcpy(link.rx + received, chunk, size);
                link.received.store(received + size, std::memory_order_release);
                link.arrived.notify_all();
            }
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            continue;  // the one-second receive time-out: nothing came, keep listening
        }
        break;  // the peer closed, or the socket failed
    }
    link.receiving.store(false);
}

void CloseSocket() {
    TcpLink& link = L();
    const int fd = link.socket.exchange(-1);
    if (fd >= 0) {
        shutdown(fd, SHUT_RDWR);  // wakes the receiver out of recv at once
    }
    if (link.receiver.joinable()) {
        link.receiver.join();
    }
    if (fd >= 0) {
        close(fd);
    }
}

void CloseLocked() {
    UnbindLink();
    CloseSocket();
}

void Interrupt() {
    TcpLink& link = L();
    std::lock_guard lock(link.mutex);
    link.arrived.notify_all();
}

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

// Judges the frames received so far; empty while the reply is not complete.
std::optional<int32_t> Judge(const Request& request, Destination destination, std::size_t received,
                             std::size_t& offset) {
    const LinkState& state = State();
    const TcpLink& link = L();
    for (;;) {
        if (received < offset + kHeaderSize) {
            return std::nullopt;
        }
        const uint8_t* frame = link.rx + offset;
        const std::size_t length = Word(frame + 4);
        if (Word(frame) != Word(state.tx) || Word(frame + 2) != 0) {
            offset += 6 + length;  // a late reply to an earlier request, or not Modbus at all
            continue;
        }
        if (frame[6] != request.address) {
            return MB_ERR_FRAME;
        }
        // Unit and function at least, and nothing that could never fit in the receive buffer.
        if (length < 2 || offset + 6 + length >= kBufferSize) {
            return MB_ERR_FRAME;
        }
        if (received < offset + 6 + length) {
            return std::nullopt;
        }
        const uint8_t* pdu = frame + kHeaderSize;
        const std::size_t pduSize = length - 1;
        if (pdu[0] & kExceptionBit) {
            if (pduSize < 2) {
                return MB_ERR_FRAME;
            }
            State().deviceError.store(pdu[1]);
            return MB_ERR_EXCEPTION;
        }
        if (request.function == kWriteSingle) {
            if (pduSize < kPduSize) {
                return MB_ERR_FRAME;
            }
            return std::memcmp(pdu, state.tx + kHeaderSize, kPduSize) == 0 ? 1 : MB_ERR_ECHO;
        }
        // The byte count must stay inside the frame, and so inside what was received.
        const std::size_t n = pdu[1];
        if (n + 2 > pduSize) {
            return MB_ERR_FRAME;
        }
        if (static_cast<int32_t>(n) > destination.size || (n > 0 && destination.buffer == nullptr)) {
            return MB_ERR_BUFFER;
        }
        std::memcpy(destination.buffer, pdu + 2, n);
        return static_cast<int32_t>(n);
    }
}

// A gateway on a fast network answers within tens of microseconds. Watching the received count for that
// long spares the caller a sleep and a wake-up through the scheduler, which cost more than the exchange
// itself. It gives way at every look, since the receiver may need this very processor to deliver the reply;
// the bound keeps a slow device from costing more than that.
bool ArrivesSoon(std::size_t seen, Clock::time_point deadline) {
    const TcpLink& link = L();
    const auto until = std::min(Clock::now() + kSpin, deadline);
    while (link.received.load(std::memory_order_acquire) == seen) {
        if (Clock::now() >= until) {
            return false;
        }
        std::this_thread::yield();
    }
    return true;
}

// One attempt; `collected` counts the received bytes it last looked at, from the start of the link's buffer.
int32_t Exchange(const Request& request, Destination destination, std::size_t& collected) {
    TcpLink& link = L();
    const int fd = link.socket.load();
    if (fd < 0) {
        return MB_ERR_NOT_OPEN;
    }
    LinkState& state = State();
    ++link.transactionId;
    state.tx[0] = static_cast<uint8_t>(link.transactionId >> 8);
    state.tx[1] = static_cast<uint8_t>(link.transactionId);
    state.tx[2] = 0;
    state.tx[3] = 0;
    state.tx[4] = 0;
    state.tx[5] = static_cast<uint8_t>(1 + kPduSize);
    state.tx[6] = request.address;
    BuildPdu(request, state.tx + kHeaderSize);

    {
        std::lock_guard lock(link.mutex);
        link.received = 0;  // old bytes are forgotten, not erased
    }
    std::size_t sent = 0;
    while (sent < kRequestSize) {
        const ssize_t n = send(fd, state.tx + sent, kRequestSize - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            // The connection is gone: close it, unless a close is already under way in another thread.
            std::unique_lock lifecycle(LinkLifecycle(), std::try_to_lock);
            if (lifecycle.owns_lock()) {
                CloseLocked();
            }
            return MB_ERR_NOT_OPEN;
        }
        sent += static_cast<std::size_t>(n);
    }
    // Before the reply's time-out starts, so that the callback's time is never counted against the device.
    trace::Sent(state.tx, kRequestSize);

    const auto deadline = Clock::now() + std::chrono::milliseconds(state.timeoutMs.load());
    std::size_t offset = 0;
    std::unique_lock lock(link.mutex);
    for (;;) {
        const std::size_t seen = link.received.load(std::memory_order_relaxed);
        collected = seen;
        if (const auto result = Judge(request, destination, seen, offset)) {
            return *result;
        }
        lock.unlock();
        const bool soon = ArrivesSoon(seen, deadline);
        lock.lock();
        const bool arrived = soon || link.arrived.wait_until(lock, deadline, [&] {
            return link.received != seen || LinkCancelled();
        });
        if (LinkCancelled()) {
            return MB_ERR_IO;
        }
        if (!arrived) {
            return MB_ERR_TIMEOUT;
        }
    }
}

// The bytes reported are those the attempt judged: the receiver only ever appends behind them, and only the
// next attempt, which waits for the bus, starts the buffer again.
int32_t Attempt(const Request& request, Destination destination) {
    std::size_t collected = 0;
    const int32_t result = Exchange(request, destination, collected);
    trace::Received(L().rx, collected, result);
    return result;
}

int32_t TcpRead(const Request& request, Destination destination) {
    return Attempt(request, destination);
}
int32_t TcpWrite(const Request& request) {
    return Attempt(request, {});
}

int32_t OpenLocked(const char16_t* address, int32_t port) {
    TcpLink& link = L();
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (fd < 0) {
        return -3;
    }
    link.socket.store(fd);
    const int on = 1;
    const timeval second{1, 0};
    if (setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &second, sizeof second) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &second, sizeof second) != 0) {
        return -4;
    }
    // A port outside 1..65535 would otherwise wrap round to some other port and connect there.
    if (port < 1 || port > 65535) {
        return -4;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, ToUtf8(address).c_str(), &peer.sin_addr) != 1) {
        return -4;
    }
    // The send time-out also bounds the connect, so an unreachable gateway fails within a second.
    if (connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        return -4;
    }
    try {
        link.receiving.store(true);
        link.receiver = std::thread(Receive, fd);
    } catch (const std::system_error&) {
        link.receiving.store(false);
        return -8;
    }
    BindLink({TcpRead, TcpWrite, Interrupt});
    return 0;
}

}  // namespace
}  // namespace qav::link

using namespace qav::link;

extern "C" {

int32_t TCP_Open(const char16_t* address, int32_t port) {
    if (address == nullptr) {
        return -3;
    }
    std::lock_guard lock(LinkLifecycle());
    CloseLocked();
    return OpenLocked(address, port);
}

int32_t TCP_Close(void) {
    std::lock_guard lock(LinkLifecycle());
    CloseLocked();
    return 0;
}

int32_t TCP_IsOpen(void) {
    return L().socket.load() >= 0 ? 1 : 0;
}

}  // extern "C"
