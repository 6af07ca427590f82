// The program's command line: which start-up it asks for.
#pragma once

#include <QStringList>

#include "prompt.h"

namespace qav::panel {

struct CommandLine {
    bool copiesAllowed = false;  // "-copy": start although another copy runs
    bool debug = false;          // "-debug"
    bool showUsage = false;      // anything else: show the usage box and end
};

// `arguments` as QCoreApplication::arguments() gives them, the program first. Only the first argument after
// the program is looked at; it is compared exactly, letter case included.
CommandLine ParseCommandLine(const QStringList& arguments);

// The usage box: information icon, caption "CPL_QAV510".
platform::PromptRequest UsageBox();

}  // namespace qav::panel
