// The connection's settings as the program's settings record gives them, bounded for safe use.
#pragma once

#include "connection_manager.h"
#include "settings_record.h"

namespace qav::monitor {

ConnectionSettings ConnectionSettingsFrom(const settings::_tagSTRUCT_SETTINGS& record);

}  // namespace qav::monitor
