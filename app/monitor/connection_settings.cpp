#include "connection_settings.h"

#include "settings_use.h"

namespace qav::monitor {

ConnectionSettings ConnectionSettingsFrom(const settings::_tagSTRUCT_SETTINGS& record) {
    using namespace settings;
    ConnectionSettings c;
    const std::u16string_view port = PortText(record);
    c.port = QString::fromUtf16(port.data(), static_cast<qsizetype>(port.size()));
    c.baudIndex = BaudIndex(record);
    c.dataBitsIndex = DataBitsIndex(record);
    c.parityIndex = ParityIndex(record);
    c.stopBitsIndex = StopBitsIndex(record);
    c.protocol = Protocol(record);
    c.timeoutMs = static_cast<int32_t>(Timeout(record));
    c.retries = Retries(record);
    c.deviceAddress = DevAddress(record);
    c.ipAddress = record.nIpAddress;
    c.tcpPort = TcpPort(record);
    return c;
}

}  // namespace qav::monitor
