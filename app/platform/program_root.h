// The program root: the one folder that holds the profile, the settings files and the database folder.
#pragma once

#include <filesystem>
#include <string>

namespace qav::platform {

inline constexpr const char* kProfileFileName = "CPL_QAV510.INI";

// What the choice of the root depends on; empty strings stand for unset variables.
struct ProgramRootInputs {
    std::string qavHome;                     // QAV510_HOME
    std::filesystem::path executableFolder;  // empty when unknown
    std::string xdgDataHome;                 // XDG_DATA_HOME
    std::string home;                        // HOME, or the user's home folder from the password database
};

// The inputs of the running process.
ProgramRootInputs CurrentProgramRootInputs();

// QAV510_HOME when set; otherwise the executable's folder when we may write into it; otherwise
// $XDG_DATA_HOME/CPL_QAV510, with ~/.local/share in place of an unset or relative XDG_DATA_HOME. The chosen
// folder is created when missing, except the executable's; a failure to create it is left to the first write
// in it to report. Without any home folder the executable's folder is used even when read-only, so that
// reading works.
std::filesystem::path ResolveProgramRoot(const ProgramRootInputs& inputs);

// ResolveProgramRoot of the running process.
std::filesystem::path ProgramRoot();

// The profile in the program root.
std::filesystem::path ProfilePath();

}  // namespace qav::platform
