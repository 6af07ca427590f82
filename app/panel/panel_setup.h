// How the main panel's controls are prepared when the window is created: the alarm list, the panel colours,
// the images, the value labels' look, the bars' starting ranges and the baud-rate label.
#pragma once

#include <QColor>
#include <QPalette>

#include "panel_controls.h"
#include "settings_record.h"

class QWidget;

namespace qav::panel {

struct PanelColors {
    QColor text;        // captions and group titles
    QColor background;  // the panel
    QColor value;       // value labels, drop-down lists
    bool operator==(const PanelColors&) const = default;
};

// With the theme on (nTheme 1) the record's three colours; otherwise the system's button face and window
// text (for both text and values).
PanelColors PanelColorsFor(const settings::_tagSTRUCT_SETTINGS& s, const QPalette& system);

// Paints `content` in the panel colours: background, captions, and the drop-down lists in the value colour.
void ApplyPanelColors(QWidget& content, const PanelColors& colors);

// Everything above, in order, for the controls created in `content`; the panel colours come from
// PanelColorsFor with the application's palette. Call once, on the user-interface thread.
void InitialiseControls(QWidget& content, const PanelControls& c, const settings::_tagSTRUCT_SETTINGS& s);

// Shows the image of the functional relay's mode (0 to 3; any other value shows "unavailable") lit.
// User-interface thread.
void SetRelayModeImage(CXLed& led, int mode);

// "9600 бит/сек" or "19200 бит/сек", as the link uses nBaudIndex (any value but 1 means 9600).
void ShowBaud(CXLabel& label, const settings::_tagSTRUCT_SETTINGS& s);

}  // namespace qav::panel
