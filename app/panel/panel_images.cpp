#include "panel_images.h"

#include <QIconEngine>
#include <QPainter>
#include <algorithm>
#include <functional>

#include "lamp_icon.h"
#include "picture_images.h"
#include "plate_images.h"
#include "program_images.h"

namespace qav::panel {

namespace {

using paint::PlateLight;

// Paints an image at the origin in the size given.
using Drawing = std::function<void(QPainter&, QSize)>;

struct RoleDrawing {
    QSize size;  // design size
    Drawing paint;
};

// Lettering of the small indicator plates and of the relay-mode plates, in design pixels.
constexpr int kPlateText = 11;
constexpr int kModeText = 13;

Drawing Lettered(const QString& text, PlateLight light, int pixels) {
    return [=](QPainter& p, QSize s) { paint::LetteredPlate(p, s, text, light, pixels); };
}
Drawing Lamp(controls::LampColor color) {
    return [=](QPainter& p, QSize s) { controls::LampIcon(color).paint(&p, QRect(QPoint(0, 0), s)); };
}
Drawing Banner(bool bright) {
    return [=](QPainter& p, QSize s) { paint::AlarmBanner(p, s, bright); };
}
Drawing Activity(paint::LinkActivity activity) {
    return [=](QPainter& p, QSize s) { paint::ActivityPicture(p, s, activity); };
}
Drawing Button(paint::ButtonFace face) {
    return [=](QPainter& p, QSize s) { paint::ButtonImage(p, s, face); };
}
Drawing Tray(paint::TrayBadge badge) {
    return [=](QPainter& p, QSize s) { paint::TrayPicture(p, s, badge); };
}

RoleDrawing DrawingOf(ImageRole role) {
    using controls::LampColor;
    using paint::ButtonFace;
    using paint::LinkActivity;
    using paint::TrayBadge;
    const QSize indicator(48, 20);
    const QSize mode(170, 32);
    const QSize activity(60, 40);
    const QSize button(84, 20);
    const QSize tray(16, 16);
    switch (role) {
        case ImageRole::LampOn:
            return {{16, 16}, Lamp(LampColor::Green)};
        case ImageRole::LampOff:
            return {{16, 16}, Lamp(LampColor::Dark)};
        case ImageRole::AlarmBright:
            return {{128, 20}, Banner(true)};
        case ImageRole::AlarmDim:
            return {{128, 20}, Banner(false)};
        case ImageRole::AutoRecloseOn:
            return {indicator, Lettered(QStringLiteral("АПВ"), PlateLight::Amber, kPlateText)};
        case ImageRole::AutoRecloseOff:
            return {indicator, Lettered(QStringLiteral("АПВ"), PlateLight::Off, kPlateText)};
        case ImageRole::RemoteControlOn:
            return {{34, 20}, Lettered(QStringLiteral("ДУ"), PlateLight::Green, kPlateText)};
        case ImageRole::RemoteControlOff:
            return {{34, 20}, Lettered(QStringLiteral("ДУ"), PlateLight::Off, kPlateText)};
        case ImageRole::ExternalInputOn:
            return {indicator, Lettered(QStringLiteral("Вн.Вх."), PlateLight::Orange, kPlateText)};
        case ImageRole::ExternalInputOff:
            return {indicator, Lettered(QStringLiteral("Вн.Вх."), PlateLight::Off, kPlateText)};
        case ImageRole::ModeAlarmRelay:
            return {mode, Lettered(QStringLiteral("РЕЛЕ СИГНАЛИЗАЦИИ"), PlateLight::Blue, kModeText)};
        case ImageRole::ModeTimeRelay:
            return {mode, Lettered(QStringLiteral("РЕЛЕ ВРЕМЕНИ"), PlateLight::Blue, kModeText)};
        case ImageRole::ModeStarDelta:
            return {mode, Lettered(QStringLiteral("ЗВЕЗДА ТРЕУГОЛЬНИК"), PlateLight::Blue, kModeText)};
        case ImageRole::ModeUnbalance:
            return {mode, Lettered(QStringLiteral("ПО НЕУРАВНОВЕШЕННОСТИ"), PlateLight::Blue, kModeText)};
        case ImageRole::ModeUnavailable:
            return {mode, Lettered(QStringLiteral("НЕДОСТУПНО"), PlateLight::Off, kModeText)};
        case ImageRole::ActivityIdle:
            return {activity, Activity(LinkActivity::Idle)};
        case ImageRole::ActivityExchange:
            return {activity, Activity(LinkActivity::Exchange)};
        case ImageRole::ActivityNoAnswer:
            return {activity, Activity(LinkActivity::NoAnswer)};
        case ImageRole::Motor:
            return {{96, 48}, paint::MotorPicture};
        case ImageRole::StartButton:
            return {button, Button(ButtonFace::Start)};
        case ImageRole::StopButton:
            return {button, Button(ButtonFace::Stop)};
        case ImageRole::AlarmResetButton:
            return {button, Button(ButtonFace::AlarmReset)};
        case ImageRole::Clock:
            return {{24, 24}, paint::ClockPicture};
        case ImageRole::WindowIcon:
            return {{64, 64}, paint::WindowIconPicture};
        case ImageRole::TrayNormal:
            return {tray, Tray(TrayBadge::None)};
        case ImageRole::TrayRecording:
            return {tray, Tray(TrayBadge::Recording)};
        case ImageRole::TrayWarning:
            return {tray, Tray(TrayBadge::Warning)};
        case ImageRole::Splash:
            return {{500, 190}, paint::SplashPicture};
        case ImageRole::About:
            return {{120, 160}, paint::AboutPicture};
        case ImageRole::Globe:
            return {{48, 48}, paint::GlobePicture};
    }
    return {{16, 16}, [](QPainter&, QSize) {}};
}

// Paints a role's drawing scaled into whatever rectangle the icon is asked for.
class RoleEngine final : public QIconEngine {
public:
    explicit RoleEngine(ImageRole role) : role_(role), drawing_(DrawingOf(role)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        const QSizeF design = drawing_.size;
        const qreal scale = std::min(rect.width() / design.width(), rect.height() / design.height());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->translate(rect.x() + (rect.width() - design.width() * scale) / 2.0,
                           rect.y() + (rect.height() - design.height() * scale) / 2.0);
        painter->scale(scale, scale);
        drawing_.paint(*painter, drawing_.size);
        painter->restore();
    }

    QIconEngine* clone() const override { return new RoleEngine(role_); }
    QString key() const override { return QStringLiteral("qav_panel_image"); }

    // Window managers and trays pick from these; the window icon offers the usual icon sizes.
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        if (role_ == ImageRole::WindowIcon) {
            return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
        }
        return {drawing_.size};
    }

private:
    ImageRole role_;
    RoleDrawing drawing_;
};

}  // namespace

QSize ImageSize(ImageRole role) {
    return DrawingOf(role).size;
}

QIcon ImageIcon(ImageRole role) {
    return QIcon(new RoleEngine(role));
}

controls::IconImage PanelImage(ImageRole role) {
    return {ImageIcon(role), ImageSize(role)};
}

QPixmap ImagePixmap(ImageRole role, qreal devicePixelRatio) {
    const QSize size = ImageSize(role);
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    ImageIcon(role).paint(&painter, QRect(QPoint(0, 0), size));
    return pixmap;
}

ImageRole RelayModeImage(int mode) {
    switch (mode) {
        case 0:
            return ImageRole::ModeAlarmRelay;
        case 1:
            return ImageRole::ModeTimeRelay;
        case 2:
            return ImageRole::ModeStarDelta;
        case 3:
            return ImageRole::ModeUnbalance;
        default:
            return ImageRole::ModeUnavailable;
    }
}

}  // namespace qav::panel
