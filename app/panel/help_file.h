// The operator's guide, an HTML page installed beside the program.
#pragma once

#include <QUrl>
#include <filesystem>

namespace qav::panel {

inline constexpr const char* kHelpFileName = "CPL_QAV510.html";

// The guide in `programFolder` as a file URL; empty when it is not there (nothing is said then).
QUrl HelpFileUrl(const std::filesystem::path& programFolder);

// The folder of the running program file.
std::filesystem::path ProgramFolder();

}  // namespace qav::panel
