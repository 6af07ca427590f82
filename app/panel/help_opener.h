// Opening the operator's guide in the desktop's browser.
#pragma once

namespace qav::panel {

// Opens the guide beside the program. False, and nothing said, when it is missing or cannot be opened.
bool OpenHelp();

}  // namespace qav::panel
