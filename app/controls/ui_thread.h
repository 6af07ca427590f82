// How setters called from the poller's thread reach a widget: painting and timers belong to the thread
// that owns the widget (the user-interface thread).
#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <utility>

namespace qav::controls {

// Runs `f` on the thread of `context`: at once when called there, otherwise queued behind the requests the
// caller made before, so one thread's requests keep their order. Dropped if `context` is destroyed first.
template <class F>
void OnUiThread(QObject* context, F&& f) {
    if (QThread::currentThread() == context->thread()) {
        std::forward<F>(f)();
    } else {
        QMetaObject::invokeMethod(context, std::forward<F>(f), Qt::QueuedConnection);
    }
}

// Schedules a repaint of one widget from any thread. At most one request waits in the event queue at a time,
// so a fast link cannot flood the user-interface thread; the repaint shows the latest stored value.
class RepaintRequest {
public:
    explicit RepaintRequest(QWidget* widget) : widget_(widget) {}
    RepaintRequest(const RepaintRequest&) = delete;
    RepaintRequest& operator=(const RepaintRequest&) = delete;

    void Post();

private:
    QWidget* widget_;
    std::atomic<bool> pending_{false};
};

}  // namespace qav::controls
