// Drawn pictures of the main panel and the About box: the link activity, the motor, the clock and the globe.
// Each paints into its design size at the origin.
#pragma once

#include <QPainter>
#include <QSize>

namespace qav::panel::paint {

enum class LinkActivity { Idle, Exchange, NoAnswer };

// A computer and the relay, and between them the state of the link.
void ActivityPicture(QPainter& p, QSize size, LinkActivity activity);
// An electric motor on its feet, seen from the side: fan cover, finned body, terminal box, shaft.
void MotorPicture(QPainter& p, QSize size);
void ClockPicture(QPainter& p, QSize size);
void GlobePicture(QPainter& p, QSize size);

}  // namespace qav::panel::paint
