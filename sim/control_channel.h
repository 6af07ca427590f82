// Where control commands come from: standard input (answers on standard output) and, when asked for, a
// Unix-domain socket that several scripts may use at once.
#pragma once

#include <string>

#include "controller.h"

namespace qav::sim {

// Serves commands until `quit` or a termination signal on `signalFd`. End of standard input only ends that
// source: a simulator started in the background keeps running.
void RunControlChannel(Controller& controller, int signalFd, const std::string& socketPath);

}  // namespace qav::sim
