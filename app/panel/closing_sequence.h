// The decisions of the program's end: the recorder is ended first, then an operator who is still connected
// to the relay is asked before the link is cut.
#pragma once

#include <functional>

#include "prompt.h"

namespace qav::panel {

struct ClosingSteps {
    // Ends the recorder and waits a bounded time for it; empty while there is none.
    std::function<void()> endRecorder;
    std::function<bool()> isConnected;
    std::function<void()> disconnect;
};

enum class ClosingDecision { Close, KeepRunning };

// The question asked when the relay is still connected (Yes/No, warning, topmost).
platform::PromptRequest ExitWhileConnectedQuestion();

// Ends the recorder; when connected, asks and disconnects on Yes. KeepRunning after No: the connection
// stays, the recorder stays ended. Close: the caller frees what the window holds and closes it.
ClosingDecision RunClosingSequence(const ClosingSteps& steps, platform::Prompt& prompt);

}  // namespace qav::panel
