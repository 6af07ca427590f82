#include "c_icon_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "qt_color.h"

namespace qav::controls {

namespace {

// Rendered at the screen's density so that vector images stay sharp; the style greys a disabled image.
QPixmap RenderImage(const IconImage& image, bool disabled, const QWidget& widget) {
    const qreal dpr = widget.devicePixelRatioF();
    QPixmap pixmap(image.size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        image.icon.paint(&painter, QRect(QPoint(0, 0), image.size));
    }
    if (!disabled) {
        return pixmap;
    }
    QStyleOption option;
    option.initFrom(&widget);
    return widget.style()->generatedIconPixmap(QIcon::Disabled, pixmap, &option);
}

}  // namespace

CIconButton::CIconButton(QWidget* parent) : QAbstractButton(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CIconButton::LoadIcons(const IconImage& normal, const IconImage& pressed) {
    normal_ = normal;
    pressed_ = pressed;
    updateGeometry();
    update();
}

void CIconButton::SetBackColor(const QColor& color) {
    if (color == back_) {
        return;
    }
    back_ = color;
    update();
}

void CIconButton::SetBackColor(ColorRef color) {
    SetBackColor(FromColorRef(color));
}

void CIconButton::SetCursorImage(const QCursor& cursor) {
    setCursor(cursor);
}

void CIconButton::SetTooltip(const QString& text, bool active) {
    setToolTip(active ? text : QString());
}

FaceState CIconButton::Face() const {
    return {isDown(), hover_ && !isDown(), !isEnabled()};
}

QSize CIconButton::sizeHint() const {
    return normal_.size.expandedTo(pressed_.size) + QSize(4, 4);
}

void CIconButton::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CIconButton::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void CIconButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), back_);

    const FaceState face = Face();
    const IconImage& image = face.pressed && !pressed_.IsNull() ? pressed_ : normal_;
    if (image.IsNull()) {
        return;
    }
    const FacePoint origin = ImageOrigin(face, width(), height(), image.size.width(), image.size.height());
    painter.drawPixmap(origin.x, origin.y, RenderImage(image, face.disabled, *this));
}

}  // namespace qav::controls
