// Where everything of the main panel goes: its groups and frames with their captions, the static captions,
// and every control with its initial text, in reading order. Rectangles are dialog units in the panel.
#pragma once

#include <QRect>
#include <QSize>
#include <span>

namespace qav::panel {

enum class ElementKind {
    Group,       // a captioned group box
    Frame,       // a captioned frame inside a group
    Caption,     // static text
    Value,       // CXLabel with its initial text
    Bar,         // CXProgressCtrl
    Indicator,   // CXLed: lamps, lettered plates and pictures
    AlarmList,   // CXListCtrl
    IconButton,  // CIconButton
    Chart,       // CGraph
    Selector,    // drop-down list
    Button,      // push button with its text
};

struct PanelElement {
    ElementKind kind;
    int id;            // the control's number; 0 for groups, frames and captions
    QRect rect;        // dialog units
    const char* text;  // UTF-8 caption or initial text; null for controls without one
};

// The panel's size in dialog units.
inline constexpr QSize kPanelDesignUnits{679, 430};

// Groups and frames come before what they hold; an element lies inside the last group or frame listed
// before it that contains its rectangle, or directly on the panel.
std::span<const PanelElement> PanelElements();

}  // namespace qav::panel
