// The built-in settings.
#include "settings_record.h"

namespace qav::settings {

_tagSTRUCT_SETTINGS DefaultSettings() {
    _tagSTRUCT_SETTINGS s{};  // zero bytes throughout: empty texts, switches off
    s.nColorBack = 0x00A89486;
    s.nColorText = 0x00000000;
    s.nColorParam = 0x00FF0000;
    s.nDevAddress = 1;
    s.nTcpPort = 502;
    s.nIpAddress = 0x7F000001;
    s.nDataBitsIndex = 1;
    s.nStopBitsIndex = 1;
    s.nTimeout = 500;
    s.nRetries = 3;
    s.nTheme = 1;
    // The three panel selectors start on three different quantities.
    s.nPowerView[0] = 0;
    s.nPowerView[1] = 1;
    s.nPowerView[2] = 2;
    s.nLineWidth = 1;
    s.nRecordInterval = 1;
    s.nRefreshInterval = 10;
    const uint32_t chartColors[5] = {0x0043B251, 0x003034DC, 0x0030AFE3, 0x00EBE743, 0x00393A6F};
    for (int k = 0; k < 5; ++k) {
        s.nChartColor[k] = chartColors[k];
    }
    return s;
}

}  // namespace qav::settings
