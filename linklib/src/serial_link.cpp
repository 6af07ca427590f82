// Serial transport: Modbus RTU or ASCII over a termios port, one attempt at a time in the caller's thread.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <string>

#include "QAV508DLL.h"
#include "gate.h"
#include "link_state.h"
#include "text.h"
#include "trace.h"

namespace qav::link {
namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int> g_port{-1};

// The body collector of ASCII replies; used only by the attempt holding the bus.
AsciiReceiver& Ascii() {
    static AsciiReceiver receiver;
    return receiver;
}

// COMn names the n-th UART, as operators know it; anything else not absolute lies under /dev.
std::string DevicePath(const std::string& name) {
    if (!name.empty() && name[0] == '/') {
        return name;
    }
    if (name.size() > 3 && strncasecmp(name.c_str(), "COM", 3) == 0 &&
        name.find_first_not_of("0123456789", 3) == std::string::npos) {
        // No exception may leave the interface: a number too large for any port is just a missing device.
        unsigned long n = 0;
        const auto parsed = std::from_chars(name.data() + 3, name.data() + name.size(), n);
        if (parsed.ec == std::errc() && n >= 1) {
            return "/dev/ttyS" + std::to_string(n - 1);
        }
    }
    return "/dev/" + name;
}

void ClosePort() {
    const int fd = g_port.exchange(-1);
    if (fd >= 0) {
        tcflush(fd, TCIOFLUSH);
        ioctl(fd, TIOCNXCL);
        close(fd);
    }
}

// Writes the whole frame; the port never blocks, so a full output queue is waited out here.
bool WriteFrame(int fd, const uint8_t* data, std::size_t size) {
    std::size_t sent = 0;
    while (sent < size) {
        const ssize_t n = write(fd, data + sent, size - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (LinkCancelled()) {
            return false;
        }
        pollfd p{fd, POLLOUT, 0};
        poll(&p, 1, 1);
    }
    return true;
}

// One attempt; `received` counts the bytes it collected in the receive buffer.
int32_t Exchange(const Request& request, Destination destination, bool ascii, std::size_t& received) {
    const int fd = g_port.load();
    if (fd < 0) {
        return MB_ERR_NOT_OPEN;
    }
    LinkState& state = State();
    const std::size_t txSize =
        ascii ? BuildAsciiRequest(request, state.tx) : BuildRtuRequest(request, state.tx);

    // Bytes of an earlier, late reply must never be taken for this one.
    tcflush(fd, TCIOFLUSH);
    if (!WriteFrame(fd, state.tx, txSize)) {
        return MB_ERR_IO;
    }
    // Before the reply's time-out starts, so that the callback's time is never counted against the device.
    trace::Sent(state.tx, txSize);

    if (ascii) {
        std::memset(state.rx, 0, sizeof state.rx);
        Ascii().Reset();
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(state.timeoutMs.load());
    uint32_t deviceError = 0;
    for (;;) {
        if (LinkCancelled()) {
            return MB_ERR_IO;
        }
        int waiting = 0;
        if (ioctl(fd, FIONREAD, &waiting) != 0) {
            return MB_ERR_IO;
        }
        if (waiting <= 0) {
            // Wakes as soon as a byte arrives, at the latest after a millisecond.
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 1);
        } else {
            if (received + static_cast<std::size_t>(waiting) >= kBufferSize) {
                return MB_ERR_OVERFLOW;
            }
            const ssize_t n = read(fd, state.rx + received, static_cast<std::size_t>(waiting));
            if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return MB_ERR_IO;
            }
            const std::size_t got = n > 0 ? static_cast<std::size_t>(n) : 0;
            std::optional<int32_t> result;
            if (ascii) {
                if (Ascii().Feed(state.rx + received, got)) {
                    result =
                        CheckAsciiBody(request, Ascii().Body(), Ascii().BodySize(), destination, deviceError);
                }
                received += got;
            } else {
                received += got;
                result = CheckRtuReply(request, state.rx, received, destination, deviceError);
            }
            if (result) {
                if (*result == MB_ERR_EXCEPTION) {
                    state.deviceError.store(deviceError);
                }
                return *result;
            }
        }
        if (Clock::now() >= deadline) {
            return MB_ERR_TIMEOUT;
        }
    }
}

int32_t Attempt(const Request& request, Destination destination, bool ascii) {
    std::size_t received = 0;
    const int32_t result = Exchange(request, destination, ascii, received);
    trace::Received(State().rx, received, result);
    return result;
}

int32_t RtuRead(const Request& request, Destination destination) {
    return Attempt(request, destination, false);
}
int32_t RtuWrite(const Request& request) {
    return Attempt(request, {}, false);
}
int32_t AsciiRead(const Request& request, Destination destination) {
    return Attempt(request, destination, true);
}
int32_t AsciiWrite(const Request& request) {
    return Attempt(request, {}, true);
}

void CloseLocked() {
    UnbindLink();
    ClosePort();
}

speed_t Speed(int32_t index) {
    return index == 1 ? B19200 : B9600;
}

// A pseudo-terminal has no parity and always reports 8 data bits, and may refuse the whole request for
// PARENB; it still works as a port when the speed and the stop bits hold.
bool Applied(int fd, const termios& wanted) {
    termios now{};
    return tcgetattr(fd, &now) == 0 && cfgetospeed(&now) == cfgetospeed(&wanted) &&
           cfgetispeed(&now) == cfgetispeed(&wanted) && (now.c_cflag & CSTOPB) == (wanted.c_cflag & CSTOPB);
}

}  // namespace
}  // namespace qav::link

using namespace qav::link;

extern "C" {

int32_t COM_Open(const char16_t* port) {
    if (port == nullptr) {
        return -1;
    }
    std::lock_guard lock(LinkLifecycle());
    CloseLocked();
    if (WideLength(port) + 6 > 255) {
        return MB_ERR_BUFFER;
    }
    const std::string path = DevicePath(ToUtf8(port));
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    // TIOCEXCL keeps other users out, flock also other root processes.
    if (!isatty(fd) || ioctl(fd, TIOCEXCL) != 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    g_port.store(fd);
    if (State().protocol.load() == 1) {
        BindLink({AsciiRead, AsciiWrite, nullptr});
    } else {
        BindLink({RtuRead, RtuWrite, nullptr});
    }
    return 0;
}

int32_t COM_Setup(int32_t baud, int32_t dataBits, int32_t parity, int32_t stopBits) {
    const int fd = g_port.load();
    if (fd < 0) {
        return -1;
    }
    // The break state keeps the line quiet while it is reconfigured; a pseudo-terminal has none.
    ioctl(fd, TIOCSBRK);
    tcflush(fd, TCIOFLUSH);

    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        ioctl(fd, TIOCCBRK);
        return -2;
    }
    cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | PARMRK | IGNPAR | IXON | IXOFF | IXANY);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CLOCAL | CREAD | (dataBits == 0 ? CS7 : CS8);
    if (parity == 1) {
        tio.c_cflag |= PARENB;
    }
    if (stopBits != 0) {
        tio.c_cflag |= CSTOPB;
    }
    tio.c_cc[VMIN] = 0;  // reads return at once with whatever is buffered
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, Speed(baud));
    cfsetospeed(&tio, Speed(baud));
    const bool applied = tcsetattr(fd, TCSANOW, &tio) == 0 || Applied(fd, tio);

    // DTR and RTS stay inactive; a pseudo-terminal has no modem lines.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines);
    ioctl(fd, TIOCCBRK);
    tcflush(fd, TCIOFLUSH);
    return applied ? 0 : -2;
}

int32_t COM_Close(void) {
    std::lock_guard lock(LinkLifecycle());
    CloseLocked();
    return 0;
}

int32_t COM_IsOpen(void) {
    return g_port.load() >= 0 ? 1 : 0;
}

}  // extern "C"
