#include "traffic_dlg.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

namespace qav::panel {
namespace {

constexpr int kRefreshMs = 100;

}  // namespace

CTrafficDlg::CTrafficDlg(std::size_t capacity, QWidget* parent)
    : CQuietDialog(parent), log_(capacity), tap_(log_), view_(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Обмен Modbus"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    view_->setReadOnly(true);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // One line more than the log holds: room for the notice of reports lost while the window fell behind.
    view_->setMaximumBlockCount(static_cast<int>(log_.Capacity()) + 1);
    view_->setUndoRedoEnabled(false);

    auto* clear = new QPushButton(QStringLiteral("Очистить"), this);
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, &CTrafficDlg::Clear);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(view_);
    layout->addLayout(buttons);
    resize(900, 420);

    // The view follows new lines while the operator has not scrolled up to read older ones, also when the
    // window is resized.
    QScrollBar* bar = view_->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this,
            [this, bar](int value) { following_ = value == bar->maximum(); });
    connect(bar, &QScrollBar::rangeChanged, this, [this, bar](int, int maximum) {
        if (following_) {
            bar->setValue(maximum);
        }
    });

    connect(&timer_, &QTimer::timeout, this, &CTrafficDlg::Refresh);
    timer_.start(kRefreshMs);
}

CTrafficDlg::~CTrafficDlg() {
    // The view outlives this object's members while QWidget deletes its children: no more updates.
    view_->verticalScrollBar()->disconnect(this);
}

void CTrafficDlg::Refresh() {
    const TrafficLog::Batch batch = log_.Drain();
    if (batch.entries.empty() && batch.dropped == 0) {
        return;
    }
    QStringList lines;
    if (batch.dropped > 0) {
        lines << QStringLiteral("… пропущено записей: %1").arg(batch.dropped);
    }
    for (const TrafficEntry& entry : batch.entries) {
        lines << TrafficLine(entry);
    }
    QScrollBar* bar = view_->verticalScrollBar();
    const int position = bar->value();
    const int before = view_->blockCount();
    const bool follow = following_;  // the append itself may move the bar
    view_->appendPlainText(lines.join(QLatin1Char('\n')));
    if (follow) {
        bar->setValue(bar->maximum());
    } else {
        // Stays on the lines being read (the bar counts lines) until the oldest go.
        const int removed = before + static_cast<int>(lines.size()) - view_->blockCount();
        bar->setValue(std::max(position - removed, 0));
    }
}

void CTrafficDlg::Clear() {
    log_.Drain();  // what was reported before the click goes too
    view_->clear();
}

}  // namespace qav::panel
