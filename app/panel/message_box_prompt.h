// The Prompt of the running program: a QMessageBox on the user-interface thread.
#pragma once

#include <QObject>

#include "prompt.h"

namespace qav::panel {

// Create it on the user-interface thread, after the QApplication. Ask may be called from any thread: from
// the user-interface thread the box runs modally at once; from another thread the box is shown on the
// user-interface thread and the caller waits until the operator answers. Boxes have no owner window and are
// application-modal; "\r\n" in the text is a line break.
class QMessageBoxPrompt final : public QObject, public platform::Prompt {
    Q_OBJECT
public:
    explicit QMessageBoxPrompt(QObject* parent = nullptr);

    platform::PromptAnswer Ask(const platform::PromptRequest& request) override;

    // The answer a box gives when it is not answered: the one that stops what was asked about (Cancel, else
    // No, else Abort, else the only button).
    static platform::PromptAnswer EscapeAnswer(platform::PromptButtons buttons);

private:
    platform::PromptAnswer Show(const platform::PromptRequest& request);
};

}  // namespace qav::panel
