// CXLabel: a text that paints its own background, colour and font; centred horizontally, from the top down.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>
#include <mutex>

#include "color_ref.h"
#include "ui_thread.h"

namespace qav::controls {

// SetText and SetColors may be called from any thread; the font setters run on the widget's thread (from
// elsewhere they are queued). The widget must outlive any thread that calls them.
class CXLabel : public QWidget {
    Q_OBJECT
public:
    // Starts in the palette's window-text colour on the button-face colour.
    explicit CXLabel(const QString& text = {}, QWidget* parent = nullptr);

    // Line breaks may be "\n" or "\r\n".
    void SetText(const QString& text);
    QString Text() const;

    void SetColors(const QColor& text, const QColor& background);
    void SetColors(ColorRef text, ColorRef background);
    QColor TextColor() const;
    QColor BackgroundColor() const;

    void SetBold(bool bold);
    // Point size of the current font face.
    void SetFontSize(int points);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable std::mutex mutex_;
    QString text_;
    QColor textColor_;
    QColor backColor_;
    RepaintRequest repaint_{this};
};

}  // namespace qav::controls
