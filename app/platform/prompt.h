// The one way the program tells or asks the operator something in a message box.
#pragma once

#include <QString>
#include <span>

namespace qav::platform {

enum class PromptIcon { None, Information, Warning, Error, Question };

enum class PromptButtons {
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
    RetryCancel,
    AbortRetryIgnore,
    CancelTryContinue
};

enum class PromptAnswer { Ok, Cancel, Yes, No, Retry, Abort, Ignore, TryAgain, Continue };

struct PromptRequest {
    QString text;
    QString caption;
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    int defaultButton = 0;  // position among the box's buttons, left to right
    bool topMost = false;

    bool operator==(const PromptRequest&) const = default;
};

namespace detail {
using enum PromptAnswer;
inline constexpr PromptAnswer kOk[] = {Ok};
inline constexpr PromptAnswer kOkCancel[] = {Ok, Cancel};
inline constexpr PromptAnswer kYesNo[] = {Yes, No};
inline constexpr PromptAnswer kYesNoCancel[] = {Yes, No, Cancel};
inline constexpr PromptAnswer kRetryCancel[] = {Retry, Cancel};
inline constexpr PromptAnswer kAbortRetryIgnore[] = {Abort, Retry, Ignore};
inline constexpr PromptAnswer kCancelTryContinue[] = {Cancel, TryAgain, Continue};
}  // namespace detail

// The buttons of a set, left to right as the box shows them.
constexpr std::span<const PromptAnswer> AnswersOf(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::Ok:
            return detail::kOk;
        case PromptButtons::OkCancel:
            return detail::kOkCancel;
        case PromptButtons::YesNo:
            return detail::kYesNo;
        case PromptButtons::YesNoCancel:
            return detail::kYesNoCancel;
        case PromptButtons::RetryCancel:
            return detail::kRetryCancel;
        case PromptButtons::AbortRetryIgnore:
            return detail::kAbortRetryIgnore;
        case PromptButtons::CancelTryContinue:
            return detail::kCancelTryContinue;
    }
    return detail::kOk;
}

// Implementations: the message box of the windows, and a scripted one for tests. Callable from any thread; a
// box shown for a worker thread blocks that thread until it is answered.
class Prompt {
public:
    virtual ~Prompt() = default;

    // Shows the box and waits for the operator. Returns the button pressed, one of
    // AnswersOf(request.buttons). Closing the box counts as Cancel, or as Ok for a box with only that button;
    // other boxes without Cancel cannot be closed.
    virtual PromptAnswer Ask(const PromptRequest& request) = 0;
};

}  // namespace qav::platform
