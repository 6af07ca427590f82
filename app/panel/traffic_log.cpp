#include "traffic_log.h"

#include <QDateTime>
#include <QStringList>
#include <algorithm>

#include "QAV508DLL.h"
#include "link_texts.h"

namespace qav::panel {
namespace {

bool IsAsciiFrame(const QByteArray& bytes) {
    return bytes.startsWith(':') && std::all_of(bytes.begin(), bytes.end(), [](char c) {
               return (c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n';
           });
}

// The frame's characters, with its CR LF made visible.
QString AsciiText(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes);
    text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString ResultPart(const TrafficEntry& entry) {
    const QString text =
        entry.result > 0 ? QStringLiteral("Успешно") : monitor::ResultText(entry.result, entry.deviceError);
    return QString::number(entry.result) + QLatin1Char(' ') + text;
}

}  // namespace

QString TrafficLine(const TrafficEntry& entry) {
    QStringList parts;
    parts << QDateTime::fromMSecsSinceEpoch(entry.msecsSinceEpoch).toString(QStringLiteral("HH:mm:ss.zzz"));
    parts << (entry.received ? QStringLiteral("←") : QStringLiteral("→"));
    if (entry.bytes.isEmpty()) {
        parts << QStringLiteral("(нет данных)");
    } else {
        parts << QString::fromLatin1(entry.bytes.toHex(' ').toUpper());
        if (IsAsciiFrame(entry.bytes)) {
            parts << AsciiText(entry.bytes);
        }
    }
    if (entry.received) {
        parts << QStringLiteral("|") << ResultPart(entry);
    }
    return parts.join(QLatin1Char(' '));
}

TrafficLog::TrafficLog(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

void TrafficLog::Append(TrafficEntry entry) {
    std::lock_guard lock(mutex_);
    if (pending_.size() == capacity_) {
        pending_.pop_front();
        ++dropped_;
    }
    pending_.push_back(std::move(entry));
}

TrafficLog::Batch TrafficLog::Drain() {
    std::deque<TrafficEntry> taken;
    Batch batch;
    {
        std::lock_guard lock(mutex_);
        taken.swap(pending_);
        batch.dropped = std::exchange(dropped_, 0);
    }
    batch.entries.assign(std::make_move_iterator(taken.begin()), std::make_move_iterator(taken.end()));
    return batch;
}

void TrafficCallback(void* context, int32_t direction, const uint8_t* bytes, int32_t size, int32_t result) {
    TrafficEntry entry;
    entry.msecsSinceEpoch = QDateTime::currentMSecsSinceEpoch();
    entry.received = direction == QAV_TRACE_RECEIVED;
    entry.bytes = QByteArray(reinterpret_cast<const char*>(bytes), size);
    entry.result = result;
    if (entry.received && result == MB_ERR_EXCEPTION) {
        entry.deviceError = MODBUS_GetDeviceError();
    }
    static_cast<TrafficLog*>(context)->Append(std::move(entry));
}

TrafficTap::TrafficTap(TrafficLog& log) {
    DLL_SetTraceCallback(&TrafficCallback, &log);
}

TrafficTap::~TrafficTap() {
    DLL_SetTraceCallback(nullptr, nullptr);
}

}  // namespace qav::panel
