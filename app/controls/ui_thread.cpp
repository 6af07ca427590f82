#include "ui_thread.h"

namespace qav::controls {

void RepaintRequest::Post() {
    if (QThread::currentThread() == widget_->thread()) {
        widget_->update();
        return;
    }
    if (pending_.exchange(true)) {
        return;
    }
    QMetaObject::invokeMethod(
        widget_,
        [this] {
            // Cleared before the repaint so that a value stored meanwhile asks again.
            pending_.store(false);
            widget_->update();
        },
        Qt::QueuedConnection);
}

}  // namespace qav::controls
