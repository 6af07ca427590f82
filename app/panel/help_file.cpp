// Finding the operator's guide.
#include "help_file.h"

#include <QString>

namespace qav::panel {
namespace fs = std::filesystem;

QUrl HelpFileUrl(const fs::path& programFolder) {
    const fs::path file = programFolder / kHelpFileName;
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return {};
    }
    return QUrl::fromLocalFile(QString::fromStdString(file.string()));
}

fs::path ProgramFolder() {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error).parent_path();
}

}  // namespace qav::panel
