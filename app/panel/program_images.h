// The program's own pictures: window icon, tray icons, splash picture and the About box picture. Each
// paints into its design size at the origin.
#pragma once

#include <QPainter>
#include <QSize>

namespace qav::panel::paint {

// The motor symbol (a circle with M and a sine) on a blue rounded square.
void WindowIconPicture(QPainter& p, QSize size);

enum class TrayBadge { None, Recording, Warning };

// The database symbol, with a red recording dot or an exclamation mark when asked.
void TrayPicture(QPainter& p, QSize size, TrayBadge badge);

// The program's name and a loading note.
void SplashPicture(QPainter& p, QSize size);

// The relay's front: name strip, display, lamps, keys and terminals.
void AboutPicture(QPainter& p, QSize size);

}  // namespace qav::panel::paint
