#include "cx_progress_ctrl.h"

#include <QtWidgets/qdrawutil.h>
#include <QLinearGradient>
#include <QPainter>
#include <QResizeEvent>
#include <optional>

#include "qt_color.h"

namespace qav::controls {

CXProgressCtrl::CXProgressCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    model_.SetWidth(width());
}

void CXProgressCtrl::SetRange(int minimum, int maximum, int factor) {
    std::unique_lock lock(mutex_);
    if (model_.SetRange(minimum, maximum, factor)) {
        lock.unlock();
        Changed();
    }
}

void CXProgressCtrl::SetMarks(int upper, int lower) {
    std::unique_lock lock(mutex_);
    if (model_.SetMarks(upper, lower)) {
        lock.unlock();
        Changed();
    }
}

void CXProgressCtrl::SetPos(int value) {
    std::unique_lock lock(mutex_);
    if (model_.SetPos(value)) {
        lock.unlock();
        Changed();
    }
}

ColorRef CXProgressCtrl::SetHighColor(ColorRef color) {
    std::unique_lock lock(mutex_);
    const ColorRef previous = model_.SetHighColor(color);
    lock.unlock();
    // Repainted at once so that a bar never shows the colour it had before.
    if (previous != color) {
        Changed();
    }
    return previous;
}

ProgressModel CXProgressCtrl::Model() const {
    std::lock_guard lock(mutex_);
    return model_;
}

QSize CXProgressCtrl::sizeHint() const {
    return {190, 16};
}

void CXProgressCtrl::Changed() {
    {
        std::lock_guard lock(mutex_);
        dirty_ = true;
    }
    repaint_.Post();
}

void CXProgressCtrl::resizeEvent(QResizeEvent* event) {
    std::lock_guard lock(mutex_);
    model_.SetWidth(event->size().width());
    dirty_ = true;
}

void CXProgressCtrl::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    std::optional<BarPicture> picture;
    {
        std::lock_guard lock(mutex_);
        const bool stale =
            cache_.deviceIndependentSize().toSize() != size() || cache_.devicePixelRatio() != dpr;
        if (dirty_ || stale) {
            picture = model_.Picture();
            dirty_ = false;
        }
    }
    if (picture) {
        RenderCache(*picture, dpr);
    }
    QPainter(this).drawPixmap(0, 0, cache_);
}

void CXProgressCtrl::RenderCache(const BarPicture& picture, qreal devicePixelRatio) {
    cache_ = QPixmap(size() * devicePixelRatio);
    cache_.setDevicePixelRatio(devicePixelRatio);
    const int h = height();

    QPainter painter(&cache_);
    painter.fillRect(rect(), FromColorRef(picture.background));
    for (const BarSegment& segment : picture.segments) {
        const SegmentGradient gradient = GradientOf(segment.color);
        QLinearGradient fill(0, 0, 0, h);
        fill.setColorAt(0.0, FromColorRef(gradient.edge));
        fill.setColorAt(0.5, FromColorRef(gradient.middle));
        fill.setColorAt(1.0, FromColorRef(gradient.edge));
        painter.fillRect(QRect(segment.x1, 0, segment.x2 - segment.x1, h), fill);
    }
    for (const MarkLine& line : picture.lines) {
        painter.fillRect(QRect(line.x, 0, 1, h), FromColorRef(line.color));
    }
    qDrawWinPanel(&painter, rect(), palette(), true);
}

}  // namespace qav::controls
