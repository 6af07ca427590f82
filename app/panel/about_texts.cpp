// The About box's numbered texts.
#include "about_texts.h"

namespace qav::panel {

ProgramVersion CurrentProgramVersion() {
    return {QAV_VERSION_MAJOR, QAV_VERSION_MINOR};
}

QString FirmwareRangeText(uint32_t lowest, uint32_t highest) {
    return QStringLiteral("Версия прошивки с %1 по %2").arg(lowest).arg(highest);
}

QString ProgramVersionText(ProgramVersion version) {
    return QStringLiteral("Версия программы %1.%2").arg(version.major).arg(version.minor);
}

}  // namespace qav::panel
