// Helpers for widget tests: render a widget into an image, compare colours, count queued calls, wait for a
// condition while the event loop runs.
#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QWidget>
#include <cstdlib>
#include <ostream>

// Readable colours in failure messages.
inline void PrintTo(const QColor& c, std::ostream* out) {
    *out << "rgb(" << c.red() << ", " << c.green() << ", " << c.blue() << ")";
}

namespace qav::test {

// The widget as painted, at one device pixel per logical pixel.
inline QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QColor PixelAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// Whether every channel is within `tolerance` of the other colour's.
inline bool Near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

// Counts the queued calls (QMetaObject::invokeMethod) delivered to one object.
class QueuedCallCounter : public QObject {
public:
    explicit QueuedCallCounter(QObject* target) : target_(target) { target->installEventFilter(this); }
    ~QueuedCallCounter() override { target_->removeEventFilter(this); }
    int Count() const { return count_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == target_ && event->type() == QEvent::MetaCall) {
            ++count_;
        }
        return false;
    }

private:
    QObject* target_;
    int count_ = 0;
};

// Runs the event loop until `done()` holds or `timeoutMs` passed; returns the elapsed milliseconds, or -1
// on time-out.
template <class Done>
qint64 RunEventsUntil(Done done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return -1;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return timer.elapsed();
}

}  // namespace qav::test
