// CXLed: an indicator showing one of two images, lit or dark, optionally blinking. Nothing else is painted,
// so the parent's background shows around the image.
#pragma once

#include <QBasicTimer>
#include <QWidget>
#include <mutex>

#include "icon_image.h"
#include "led_blink.h"
#include "ui_thread.h"

namespace qav::controls {

// The setters may be called from any thread: they store and ask for a repaint on the widget's thread. The
// widget must outlive any thread that calls them.
class CXLed : public QWidget {
    Q_OBJECT
public:
    explicit CXLed(QWidget* parent = nullptr);

    // Replaces both images; a null icon leaves that image empty. An off image returns the state to 0, so
    // SetState(1) is needed to light the indicator again.
    void LoadIcons(const IconImage& on, const IconImage& off);
    // Replaces the on image, and with it the off image when one is given (the state then returns to 0).
    // Does nothing without an on image.
    void SetIcons(const IconImage& on, const IconImage& off = {});

    // 0 dark, 1 lit (500 ms on / 500 ms off when blinking), 2 lit (a 100 ms flash once a second when
    // blinking).
    void SetState(int state);
    // Starts or stops the blink rhythm (a 100 ms timer).
    void SetBlink(bool on);

    int State() const;
    bool IsBlinking() const;
    // Whether the lit image is shown at this moment.
    bool ShowsOn() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void SyncTimer();

    mutable std::mutex mutex_;
    LedBlink blink_;
    IconImage on_;
    IconImage off_;
    QBasicTimer timer_;
    RepaintRequest repaint_{this};
};

}  // namespace qav::controls
