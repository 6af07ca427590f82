// CIconButton: a push button that shows only an image, with a pressed image, a hover nudge, a greyed look
// when disabled, an optional own cursor and tooltip. User-interface thread only.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QCursor>

#include "color_ref.h"
#include "icon_button_face.h"
#include "icon_image.h"

namespace qav::controls {

class CIconButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit CIconButton(QWidget* parent = nullptr);

    // Replaces both images; without a pressed image the normal one is shown while pressed.
    void LoadIcons(const IconImage& normal, const IconImage& pressed = {});
    // Face colour around the image; white by default.
    void SetBackColor(const QColor& color);
    void SetBackColor(ColorRef color);
    // The cursor shown over the button (the default arrow until one is set).
    void SetCursorImage(const QCursor& cursor);
    // An empty text or `active` false shows no tooltip.
    void SetTooltip(const QString& text, bool active);

    FaceState Face() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    IconImage normal_;
    IconImage pressed_;
    QColor back_{Qt::white};
    bool hover_ = false;
};

}  // namespace qav::controls
