// The autostart entry.
#include "autostart.h"

#include <unistd.h>

#include <cstdlib>

#include "atomic_file.h"
#include "program_root.h"

namespace qav::panel {
namespace fs = std::filesystem;

namespace {

constexpr const char* kEntryName = "CPL_QAV510.desktop";

platform::PromptRequest Warning(const char* text) {
    return {QString::fromUtf8(text), QStringLiteral("Ошибка"), platform::PromptIcon::Warning};
}

platform::PromptRequest NoAccess() {
    return Warning(
        "Нет доступа к реестру Windows. Убедитесь что ваша учетная запись обладает данными правами.");
}

platform::PromptRequest CannotStore() {
    return Warning(
        "Невозможно сохранить запись в реестре. Автоматический запуск программы при старте Windows "
        "невозможен.");
}

// One argument of an Exec line: always quoted, with the characters the desktop entry format reserves inside
// quotes escaped, then the escapes of a string value applied on top, and '%' doubled so that it is no field
// code.
std::string ExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (const char c : quoted) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            case '%':
                value += "%%";
                break;
            default:
                value += c;
        }
    }
    return value;
}

bool WritableFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

fs::path AutostartEntryPath(std::string_view xdgConfigHome, const fs::path& home) {
    fs::path config(xdgConfigHome);
    if (!config.is_absolute()) {
        config = home / ".config";
    }
    return config / "autostart" / kEntryName;
}

fs::path AutostartEntryPath() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    return AutostartEntryPath(xdg != nullptr ? xdg : "", platform::CurrentProgramRootInputs().home);
}

std::string AutostartEntry(const fs::path& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=CPL_QAV510\n"
           "Comment=Панель управления КАВ-510\n"
           "Exec=" +
           ExecArgument(program.string()) +
           "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::optional<platform::PromptRequest> WriteAutostart(bool enabled, const fs::path& entry,
                                                      const fs::path& program) {
    std::error_code error;
    if (!enabled) {
        if (!fs::exists(fs::symlink_status(entry, error))) {
            return std::nullopt;
        }
        return fs::remove(entry, error) ? std::nullopt : std::optional(NoAccess());
    }
    if (!WritableFolder(entry.parent_path())) {
        return NoAccess();
    }
    if (program.empty()) {
        return CannotStore();
    }
    const std::string wanted = AutostartEntry(program);
    const platform::FileText current = platform::ReadWholeFile(entry);
    if (current.status == platform::ReadStatus::Ok && current.content == wanted) {
        return std::nullopt;
    }
    return platform::WriteFileAtomically(entry, wanted) ? std::nullopt : std::optional(CannotStore());
}

void ApplyAutostart(bool enabled, platform::Prompt& prompt) {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (const auto failure = WriteAutostart(enabled, AutostartEntryPath(), program)) {
        prompt.Ask(*failure);
    }
}

}  // namespace qav::panel
