#include "control_channel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <list>
#include <stdexcept>
#include <vector>

namespace qav::sim {
namespace {

constexpr std::size_t kMaxLine = 4096;
constexpr std::size_t kMaxClients = 8;

struct Source {
    int in;
    int out;
    std::string pending;
};

// SIGPIPE is ignored by the simulator: a reader that went away only ends its own source.
void WriteAll(int fd, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = write(fd, text.data() + sent, text.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (errno != EINTR) {
            return;
        }
    }
}

// Runs every complete line received so far; false when the controller asks to quit.
bool RunLines(Controller& controller, Source& source) {
    std::size_t end;
    while ((end = source.pending.find('\n')) != std::string::npos) {
        std::string line = source.pending.substr(0, end);
        source.pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        WriteAll(source.out, controller.Execute(line) + "\n");
        if (controller.QuitRequested()) {
            return false;
        }
    }
    if (source.pending.size() > kMaxLine) {
        source.pending.clear();
        WriteAll(source.out, "error: line too long\n");
    }
    return true;
}

int ListenUnix(const std::string& path) {
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) {
        throw std::runtime_error("control socket path too long: " + path);
    }
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            throw std::runtime_error("refusing to replace " + path + ", which is not a socket");
        }
        unlink(path.c_str());
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size());
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd, 4) != 0) {
        throw std::runtime_error("cannot listen on the control socket " + path + ": " + std::strerror(errno));
    }
    return fd;
}

}  // namespace

void RunControlChannel(Controller& controller, int signalFd, const std::string& socketPath) {
    const int listener = socketPath.empty() ? -1 : ListenUnix(socketPath);
    std::list<Source> sources;
    sources.push_back({STDIN_FILENO, STDOUT_FILENO, {}});
    bool running = true;
    while (running) {
        std::vector<pollfd> fds = {{signalFd, POLLIN, 0}, {listener, POLLIN, 0}};
        for (const Source& source : sources) {
            fds.push_back({source.in, POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (fds[0].revents & POLLIN) {
            break;
        }
        if (fds[1].revents & POLLIN) {
            const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0 && sources.size() > kMaxClients) {
                WriteAll(client, "error: too many control clients\n");
                close(client);
            } else if (client >= 0) {
                sources.push_back({client, client, {}});
            }
        }
        std::size_t k = 2;
        for (auto it = sources.begin(); it != sources.end() && running; ++k) {
            if (!(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) {
                ++it;
                continue;
            }
            char chunk[1024];
            const ssize_t n = read(it->in, chunk, sizeof chunk);
            if (n > 0) {
                it->pending.append(chunk, static_cast<std::size_t>(n));
                running = RunLines(controller, *it);
                ++it;
            } else if (n == 0 || errno != EINTR) {
                if (it->in != STDIN_FILENO) {
                    close(it->in);
                }
                it = sources.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const Source& source : sources) {
        if (source.in != STDIN_FILENO) {
            close(source.in);
        }
    }
    if (listener >= 0) {
        close(listener);
        unlink(socketPath.c_str());
    }
}

}  // namespace qav::sim
