// The About box's texts that carry numbers, and the program's own version.
#pragma once

#include <QString>
#include <cstdint>

namespace qav::panel {

struct ProgramVersion {
    int major = 0;
    int minor = 0;
};

// The version the program was built as (the project's version).
ProgramVersion CurrentProgramVersion();

// "Версия прошивки с %d по %d": the relay firmware versions the link library accepts.
QString FirmwareRangeText(uint32_t lowest, uint32_t highest);

// "Версия программы %d.%d".
QString ProgramVersionText(ProgramVersion version);

}  // namespace qav::panel
