// The screen size the panel is laid out for, and the question asked on a smaller screen.
#pragma once

#include <QSize>
#include <optional>

#include "prompt.h"

namespace qav::panel {

inline constexpr QSize kComfortableScreen{1024, 768};

// Nothing when `screen` is at least 1024 x 768; otherwise the Yes/No question whether to start anyway. Only
// Yes starts the program.
std::optional<platform::PromptRequest> SmallScreenQuestion(QSize screen);

}  // namespace qav::panel
