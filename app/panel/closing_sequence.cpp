// The closing sequence's decisions.
#include "closing_sequence.h"

namespace qav::panel {

platform::PromptRequest ExitWhileConnectedQuestion() {
    return {QStringLiteral("Внимание: КАВ подключен, вы действительно хотите выйти и разорвать соединение?"),
            QStringLiteral("Внимание"),
            platform::PromptIcon::Warning,
            platform::PromptButtons::YesNo,
            0,
            true};
}

ClosingDecision RunClosingSequence(const ClosingSteps& steps, platform::Prompt& prompt) {
    if (steps.endRecorder) {
        steps.endRecorder();
    }
    if (steps.isConnected()) {
        if (prompt.Ask(ExitWhileConnectedQuestion()) != platform::PromptAnswer::Yes) {
            return ClosingDecision::KeepRunning;
        }
        steps.disconnect();
    }
    return ClosingDecision::Close;
}

}  // namespace qav::panel
