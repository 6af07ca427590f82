// CGraph: the motor's heating as a strip chart scrolling right to left. Each scroll step paints the current
// level as a gradient column at the right edge of a history image and shifts the image one pixel left;
// the 100 % and 66 % lines and their labels are drawn over it. The pointer's height shows as a tooltip.
#pragma once

#include <QBasicTimer>
#include <QImage>
#include <QPoint>
#include <QWidget>
#include <atomic>
#include <cstdint>

#include "heating_levels.h"

namespace qav::panel {

class CGraph : public QWidget {
    Q_OBJECT
public:
    explicit CGraph(QWidget* parent = nullptr);

    // Any thread. Stores the relay's heating value (1 100 000 = 100 %, clamped to 1000 %) for the next
    // scroll step and returns its per cent.
    int AddValue(uint32_t raw);
    // Any thread. Back to 0 %.
    void ResetValue();
    // Any thread. Starts (or restarts) or stops scrolling every 300 ms; stopped, the picture stands still.
    void EnableScroll(bool on);

    // User-interface thread. One scroll step; the scroll timer calls it.
    void ScrollStep();
    bool IsScrolling() const { return scrollTimer_.isActive(); }
    // Pixel row of the current column top.
    int Level() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The size follows the widget's; resize events of a hidden widget come late, so this is checked on use.
    void FitHistory();

    std::atomic<uint32_t> raw_{0};
    QImage history_;  // one column wider than the chart; the spare column is always background
    TimeMarkers markers_;
    QBasicTimer scrollTimer_;
    QPoint lastTipPosition_;
};

}  // namespace qav::panel
