#include "heating_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>
#include <QToolTip>
#include <algorithm>
#include <cstring>
#include <utility>

#include "qt_color.h"
#include "ui_thread.h"

namespace qav::panel {

using controls::FromColorRef;

namespace {

constexpr int kScrollMs = 300;
constexpr int kLabelWidth = 50;
constexpr int kLabelHeight = 15;

QImage BlankHistory(QSize chart) {
    QImage image(chart.width() + 1, chart.height(), QImage::Format_RGB32);
    image.fill(FromColorRef(kChartBackground));
    return image;
}

}  // namespace

CGraph::CGraph(QWidget* parent) : QWidget(parent), history_(BlankHistory(size())) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

int CGraph::AddValue(uint32_t raw) {
    raw_.store(std::min(raw, kHeatingClamp));
    return HeatingPercent(raw);
}

void CGraph::ResetValue() {
    raw_.store(0);
}

void CGraph::EnableScroll(bool on) {
    controls::OnUiThread(this, [this, on] {
        if (on) {
            scrollTimer_.start(kScrollMs, this);
        } else {
            scrollTimer_.stop();
        }
    });
}

int CGraph::Level() const {
    return HeatingLevel(raw_.load(), height());
}

QSize CGraph::sizeHint() const {
    return {327, 168};
}

void CGraph::ScrollStep() {
    FitHistory();
    const int w = history_.width() - 1;
    const int h = history_.height();
    if (w <= 0 || h <= 0) {
        return;
    }
    // The newest column, from the level down; rows above the chart do not exist.
    for (int row = std::max(HeatingLevel(raw_.load(), h), 0); row < h; ++row) {
        reinterpret_cast<QRgb*>(history_.scanLine(row))[w - 1] = FromColorRef(ColumnColor(row, h)).rgb();
    }
    if (markers_.Step(w) && w >= 3) {
        const QRgb red = FromColorRef(kMarkerColor).rgb();
        for (int row = 0; row < h; ++row) {
            reinterpret_cast<QRgb*>(history_.scanLine(row))[w - 3] = red;
        }
    }
    // One pixel left; the spare column (background) moves into the newest place.
    for (int row = 0; row < h; ++row) {
        auto* line = reinterpret_cast<QRgb*>(history_.scanLine(row));
        std::memmove(line, line + 1, static_cast<std::size_t>(w) * sizeof(QRgb));
    }
    update();
}

void CGraph::timerEvent(QTimerEvent* event) {
    if (event->timerId() == scrollTimer_.timerId()) {
        ScrollStep();
    } else {
        QWidget::timerEvent(event);
    }
}

void CGraph::FitHistory() {
    if (history_.width() == width() + 1 && history_.height() == height()) {
        return;
    }
    QImage resized = BlankHistory(size());
    // The newest columns stay at the right edge; a new height changes the scale, so the history starts anew.
    if (resized.height() == history_.height()) {
        QPainter(&resized).drawImage(resized.width() - history_.width(), 0, history_);
    }
    history_ = std::move(resized);
}

void CGraph::paintEvent(QPaintEvent*) {
    const int w = width();
    const int h = height();
    FitHistory();
    QPainter painter(this);
    painter.drawImage(QRect(0, 0, w, h), history_, QRect(0, 0, w, h));

    QFont labelFont = font();
    labelFont.setPixelSize(11);
    painter.setFont(labelFont);

    const QColor color100 = FromColorRef(kLine100Color);
    painter.setPen(QPen(color100, 2));
    painter.drawLine(0, kChartTop, w, kChartTop);
    painter.drawText(QRect(0, kChartTop - kLabelHeight, kLabelWidth, kLabelHeight),
                     Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("100%"));

    const int line66 = Line66Row(h);
    const QColor color66 = FromColorRef(kLine66Color);
    painter.setPen(QPen(color66, 2));
    painter.drawLine(0, line66, w, line66);
    painter.drawText(QRect(0, line66 - kLabelHeight, kLabelWidth, kLabelHeight), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("66%"));
}

void CGraph::mouseMoveEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (global != lastTipPosition_) {
        lastTipPosition_ = global;
        QToolTip::showText(global, TooltipText(TooltipPercent(event->position().toPoint().y(), height())),
                           this);
    }
    QWidget::mouseMoveEvent(event);
}

}  // namespace qav::panel
