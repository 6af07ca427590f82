// Pictures that are lettered plates: the alarm banner, the small status indicators, the relay-mode plates
// and the faces of the motor and alarm-reset buttons. Each paints into its design size at the origin.
#pragma once

#include <QPainter>
#include <QSize>
#include <QString>

namespace qav::panel::paint {

// What a lettered indicator looks like when lit; unlit, every indicator is the same grey.
enum class PlateLight { Off, Red, Amber, Green, Orange, Blue };

// A plate of `size` with `text`, lit or not, in bold of at most `textPixels` (a long text is fitted).
void LetteredPlate(QPainter& p, QSize size, const QString& text, PlateLight light, int textPixels);

// The alarm banner, bright or dimmed (it blinks between the two).
void AlarmBanner(QPainter& p, QSize size, bool bright);

enum class ButtonFace { Start, Stop, AlarmReset };

// A button face: a coloured plate with a symbol and its word.
void ButtonImage(QPainter& p, QSize size, ButtonFace face);

}  // namespace qav::panel::paint
