// CTrafficDlg: the Modbus traffic window of the debug mode. One line per trace report of the link, drained
// from the log every 100 ms; the oldest lines go beyond the log's capacity.
#pragma once

#include <QTimer>

#include "quiet_dialog.h"
#include "traffic_log.h"

class QPlainTextEdit;

namespace qav::panel {

class CTrafficDlg : public CQuietDialog {
    Q_OBJECT
public:
    // Traces the link from construction to destruction; only one such window may exist at a time.
    explicit CTrafficDlg(std::size_t capacity = TrafficLog::kDefaultCapacity, QWidget* parent = nullptr);
    ~CTrafficDlg() override;

    TrafficLog& Log() { return log_; }
    QPlainTextEdit* View() const { return view_; }

    // Shows what the log holds; the timer calls it.
    void Refresh();
    // "Очистить".
    void Clear();

private:
    TrafficLog log_;
    TrafficTap tap_;  // after the log: switched off before the log goes
    QPlainTextEdit* view_;
    QTimer timer_;
    bool following_ = true;  // the view is at its last line
};

}  // namespace qav::panel
