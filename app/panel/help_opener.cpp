// The guide through the desktop's URL handler.
#include "help_opener.h"

#include <QDesktopServices>

#include "help_file.h"

namespace qav::panel {

bool OpenHelp() {
    const QUrl url = HelpFileUrl(ProgramFolder());
    return !url.isEmpty() && QDesktopServices::openUrl(url);
}

}  // namespace qav::panel
