// Whole-file reads and all-or-nothing replacement of a file.
#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace qav::platform {
namespace fs = std::filesystem;

namespace {

// Writes the whole buffer, continuing after short writes and signals.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a write lands in: the target of a symbolic link, so that the link itself stays.
fs::path WriteTarget(const fs::path& file) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(file, error))) {
        fs::path resolved = fs::weakly_canonical(file, error);
        if (!error) {
            return resolved;
        }
    }
    return file;
}

struct TempFile {
    int fd = -1;
    fs::path path;
};

// A new file beside `target`, created with the mode 0666 less the umask, as any new file of the process.
TempFile CreateTempBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (int attempt = 0; attempt < 100; ++attempt) {
        TempFile temp;
        temp.path = folder / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "-" +
                              std::to_string(counter++) + ".tmp");
        temp.fd = ::open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temp.fd >= 0 || errno != EEXIST) {
            return temp;
        }
    }
    return {};
}

// Makes the rename itself durable; a failure here loses nothing, so it is not reported.
void SyncFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

FileText ReadWholeFile(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {errno == ENOENT ? ReadStatus::Missing : ReadStatus::Failed, {}};
    }
    FileText result{ReadStatus::Ok, {}};
    char chunk[16384];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got == 0) {
            break;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            result = {ReadStatus::Failed, {}};
            break;
        }
        result.content.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return result;
}

bool WriteFileAtomically(const fs::path& file, std::string_view content) {
    const fs::path target = WriteTarget(file);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;

    TempFile temp = CreateTempBeside(target);
    if (temp.fd < 0) {
        return false;
    }
    if (existed) {
        // Before any content lands, so that a private file is never readable by others on the way. Best
        // effort: a file we may replace but not chmod still gets its content.
        ::fchmod(temp.fd, old.st_mode & 07777);
    }
    bool ok = WriteAll(temp.fd, content) && ::fsync(temp.fd) == 0;
    ok = ::close(temp.fd) == 0 && ok;
    ok = ok && ::rename(temp.path.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.path.c_str());
        return false;
    }
    SyncFolder(target);
    return true;
}

}  // namespace qav::platform
