// The program's images by role: the main panel's indicators, plates, buttons and pictures, the window and
// tray icons, the splash and About pictures. All are drawn as vectors, so they are sharp at any size and
// screen density; each has the size it is designed for, in device-independent pixels.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include "icon_image.h"

namespace qav::panel {

enum class ImageRole {
    LampOn,  // 16 x 16, a lit green lamp
    LampOff,
    AlarmBright,  // 128 x 20, "АВАРИЯ"; the banner blinks between the two
    AlarmDim,
    AutoRecloseOn,  // 48 x 20, "АПВ"
    AutoRecloseOff,
    RemoteControlOn,  // 34 x 20, "ДУ"
    RemoteControlOff,
    ExternalInputOn,  // 48 x 20, "Вн.Вх."
    ExternalInputOff,
    ModeAlarmRelay,  // 170 x 32, the functional relay's modes 0 to 3 and "unavailable"
    ModeTimeRelay,
    ModeStarDelta,
    ModeUnbalance,
    ModeUnavailable,
    ActivityIdle,  // 60 x 40, the link: not connected, exchanging, no answer
    ActivityExchange,
    ActivityNoAnswer,
    Motor,        // 96 x 48, shown instead of the start and stop buttons
    StartButton,  // 84 x 20 button faces
    StopButton,
    AlarmResetButton,
    Clock,       // 24 x 24
    WindowIcon,  // 64 x 64, scalable
    TrayNormal,  // 16 x 16, the database symbol
    TrayRecording,
    TrayWarning,  // the database symbol with an exclamation mark
    Splash,       // 500 x 190
    About,        // 120 x 160
    Globe,        // 48 x 48
};

// Every role, in the order above.
inline constexpr int kImageRoleCount = static_cast<int>(ImageRole::Globe) + 1;

QSize ImageSize(ImageRole role);
// The image at any size; painted into a rectangle of another shape it keeps its proportions, centred.
QIcon ImageIcon(ImageRole role);
// The image with its design size, as the panel's controls take it.
controls::IconImage PanelImage(ImageRole role);
// The image at its design size for a screen of `devicePixelRatio` (the pixmap carries that ratio).
QPixmap ImagePixmap(ImageRole role, qreal devicePixelRatio);

// The image of the functional relay's mode: 0 alarm relay, 1 time relay, 2 star-delta, 3 by unbalance;
// any other value is "unavailable".
ImageRole RelayModeImage(int mode);

}  // namespace qav::panel
