// The main panel's groups and controls, created in a content widget of fixed design size (a window smaller
// than that scrolls it), and handed out by role.
#pragma once

#include <QHash>
#include <QSize>

#include "dialog_units.h"
#include "panel_controls.h"

class QWidget;

namespace qav::panel {

class PanelLayout {
public:
    // Creates every group, caption and control in `content`, which owns them, and fixes the content's size
    // to the design size in its font's dialog units. The start, stop and alarm-reset buttons start hidden
    // with the motor picture shown; "База данных" and "Журнал аварий КАВ" start disabled.
    explicit PanelLayout(QWidget& content);

    const PanelControls& Controls() const { return controls_; }
    QWidget& Content() const { return content_; }
    DialogBase Base() const { return base_; }
    // 679 x 430 dialog units in pixels.
    QSize DesignSize() const;
    // The control numbered `id` in the layout, null for an unknown number.
    QWidget* Control(int id) const { return byId_.value(id); }

private:
    void Create();
    void Bind();

    QWidget& content_;
    DialogBase base_;
    QHash<int, QWidget*> byId_;
    PanelControls controls_;
};

}  // namespace qav::panel
