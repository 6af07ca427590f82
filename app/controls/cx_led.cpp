#include "cx_led.h"

#include <QPainter>
#include <QTimerEvent>

namespace qav::controls {

namespace {
constexpr int kTickMs = 100;
}

CXLed::CXLed(QWidget* parent) : QWidget(parent) {}

void CXLed::LoadIcons(const IconImage& on, const IconImage& off) {
    {
        std::lock_guard lock(mutex_);
        on_ = on;
        off_ = off;
        if (!off.IsNull()) {
            blink_.SetState(0);
        }
    }
    repaint_.Post();
}

void CXLed::SetIcons(const IconImage& on, const IconImage& off) {
    if (on.IsNull()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        on_ = on;
        if (!off.IsNull()) {
            off_ = off;
            blink_.SetState(0);
        }
    }
    repaint_.Post();
}

void CXLed::SetState(int state) {
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        changed = blink_.SetState(state);
    }
    if (changed) {
        repaint_.Post();
    }
}

void CXLed::SetBlink(bool on) {
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        changed = blink_.SetBlink(on);
    }
    OnUiThread(this, [this] { SyncTimer(); });
    if (changed) {
        repaint_.Post();
    }
}

int CXLed::State() const {
    std::lock_guard lock(mutex_);
    return blink_.State();
}

bool CXLed::IsBlinking() const {
    std::lock_guard lock(mutex_);
    return blink_.IsBlinking();
}

bool CXLed::ShowsOn() const {
    std::lock_guard lock(mutex_);
    return blink_.ShowsOn();
}

QSize CXLed::sizeHint() const {
    std::lock_guard lock(mutex_);
    return on_.size.expandedTo(off_.size);
}

void CXLed::SyncTimer() {
    if (IsBlinking()) {
        // Restarted so that the first change comes a full period after the rhythm began.
        timer_.start(kTickMs, this);
    } else {
        timer_.stop();
    }
}

void CXLed::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timer_.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    bool changed = false;
    {
        std::lock_guard lock(mutex_);
        changed = blink_.Tick();
    }
    if (changed) {
        update();
    }
}

void CXLed::paintEvent(QPaintEvent*) {
    IconImage image;
    {
        std::lock_guard lock(mutex_);
        image = blink_.ShowsOn() ? on_ : off_;
    }
    if (image.IsNull()) {
        return;
    }
    QPainter painter(this);
    image.icon.paint(&painter, QRect(QPoint(0, 0), image.size));
}

}  // namespace qav::controls
