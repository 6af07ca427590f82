// Choosing and creating the program root.
#include "program_root.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace qav::platform {
namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFromPasswordDatabase() {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return {};
}

bool WritableFolder(const fs::path& folder) {
    std::error_code error;
    return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path Created(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return folder;
}

}  // namespace

ProgramRootInputs CurrentProgramRootInputs() {
    ProgramRootInputs inputs;
    inputs.qavHome = Environment("QAV510_HOME");
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        inputs.executableFolder = executable.parent_path();
    }
    inputs.xdgDataHome = Environment("XDG_DATA_HOME");
    inputs.home = Environment("HOME");
    if (inputs.home.empty()) {
        inputs.home = HomeFromPasswordDatabase();
    }
    return inputs;
}

fs::path ResolveProgramRoot(const ProgramRootInputs& inputs) {
    if (!inputs.qavHome.empty()) {
        return Created(inputs.qavHome);
    }
    if (!inputs.executableFolder.empty() && WritableFolder(inputs.executableFolder)) {
        return inputs.executableFolder;
    }
    // Relative values are invalid by the XDG rules and would depend on the working folder.
    const fs::path xdg(inputs.xdgDataHome);
    if (xdg.is_absolute()) {
        return Created(xdg / "CPL_QAV510");
    }
    if (!inputs.home.empty()) {
        return Created(fs::path(inputs.home) / ".local" / "share" / "CPL_QAV510");
    }
    return inputs.executableFolder.empty() ? fs::path(".") : inputs.executableFolder;
}

fs::path ProgramRoot() {
    return ResolveProgramRoot(CurrentProgramRootInputs());
}

fs::path ProfilePath() {
    return ProgramRoot() / kProfileFileName;
}

}  // namespace qav::platform
