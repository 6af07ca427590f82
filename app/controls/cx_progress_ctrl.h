// CXProgressCtrl: a horizontal bar with a range, two threshold marks and colour zones (the rules are
// ProgressModel's). The bar is drawn into a cache at the screen's pixel density when something changed.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <mutex>

#include "progress_model.h"
#include "ui_thread.h"

namespace qav::controls {

// The setters may be called from any thread; each returns early when nothing changes. The widget must
// outlive any thread that calls them.
class CXProgressCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CXProgressCtrl(QWidget* parent = nullptr);

    // See ProgressModel for the rules of each setter.
    void SetRange(int minimum, int maximum, int factor = 1);
    void SetMarks(int upper, int lower);
    void SetPos(int value);
    ColorRef SetHighColor(ColorRef color);

    // A copy of the bar's state.
    ProgressModel Model() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Changed();
    void RenderCache(const BarPicture& picture, qreal devicePixelRatio);

    mutable std::mutex mutex_;
    ProgressModel model_;
    bool dirty_ = true;
    QPixmap cache_;  // user-interface thread only
    RepaintRequest repaint_{this};
};

}  // namespace qav::controls
