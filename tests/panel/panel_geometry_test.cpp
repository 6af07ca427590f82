#include <gtest/gtest.h>

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <memory>

#include "c_icon_button.h"
#include "cx_label.h"
#include "cx_led.h"
#include "dialog_units.h"
#include "panel_geometry.h"
#include "panel_layout.h"
#include "panel_setup.h"
#include "settings_record.h"

namespace qav::panel {
namespace {

TEST(DialogUnits, EdgesAreConvertedAndRoundedOnTheirOwn) {
    // An 8-point dialog font of 6 x 13 pixels: 1.5 pixels across and 1.625 down per unit.
    const DialogBase base{6, 13};
    struct Case {
        QRect units;
        QRect pixels;
    };
    const Case cases[] = {
        {{0, 0, 679, 430}, {0, 0, 1019, 699}},  // 1018.5 and 698.75 round up
        {{8, 2, 135, 114}, {12, 3, 203, 186}},  // right edge 214.5 -> 215, bottom 188.5 -> 189
        {{143, 2, 8, 10}, {215, 3, 12, 17}},    // starts where the one above ends
        {{1, 1, 1, 1}, {2, 2, 1, 1}},           // 1.5 -> 2, 1.625 -> 2, right 3, bottom 3.25 -> 3
    };
    for (const auto& [units, pixels] : cases) {
        EXPECT_EQ(MapDialogRect(units, base), pixels) << units.x() << "," << units.y();
    }
    EXPECT_EQ(MapDialogSize(QSize(679, 430), base), QSize(1019, 699));
}

TEST(DialogUnits, TheLayoutGrowsWithTheFont) {
    QFont small;
    small.setPointSize(8);
    QFont large = small;
    large.setPointSize(16);
    const QSize a = MapDialogSize(kPanelDesignUnits, DialogBaseOf(small));
    const QSize b = MapDialogSize(kPanelDesignUnits, DialogBaseOf(large));
    EXPECT_NEAR(static_cast<double>(b.width()) / a.width(), 2.0, 0.25);
    EXPECT_NEAR(static_cast<double>(b.height()) / a.height(), 2.0, 0.25);
    EXPECT_EQ(DialogBaseOf(small).y, QFontMetrics(small).height());
}

TEST(PanelGeometry, EveryControlNumberAppearsOnce) {
    QSet<int> ids;
    for (const PanelElement& e : PanelElements()) {
        if (e.id != 0) {
            EXPECT_FALSE(ids.contains(e.id)) << e.id;
            ids.insert(e.id);
        }
        const bool hasText = e.text != nullptr;
        const bool needsText = e.kind == ElementKind::Group || e.kind == ElementKind::Frame ||
                               e.kind == ElementKind::Caption || e.kind == ElementKind::Value ||
                               e.kind == ElementKind::Button;
        EXPECT_EQ(hasText, needsText) << e.id << " " << (e.text ? e.text : "");
        EXPECT_TRUE(QRect(QPoint(0, 0), kPanelDesignUnits).contains(e.rect)) << e.id;
    }
    EXPECT_EQ(ids.size(), 79);
}

// The panel as the window shows it, in the offscreen platform's dialog font.
struct Shown {
    QWidget content;
    std::unique_ptr<PanelLayout> layout;
    Shown() {
        layout = std::make_unique<PanelLayout>(content);
        InitialiseControls(content, layout->Controls(), settings::DefaultSettings());
    }
};

QString NameOf(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
        return group->title();
    }
    if (const auto* value = qobject_cast<const CXLabel*>(w)) {
        return value->Text();
    }
    if (const auto* button = qobject_cast<const QPushButton*>(w)) {
        return button->text();
    }
    return QString::fromUtf8(w->metaObject()->className());
}

// Where a group's children may go: below its title, inside its frame.
QRect RoomOf(const QWidget& parent) {
    const auto* group = qobject_cast<const QGroupBox*>(&parent);
    if (group == nullptr) {
        return parent.rect();
    }
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect title =
        group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    return parent.rect().adjusted(1, title.bottom() + 1, -1, -1);
}

// The widgets the layout made: the panel's children and, inside groups and frames, theirs.
QList<QWidget*> LaidOut(QWidget& parent) {
    QList<QWidget*> widgets;
    for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        widgets << child;
    }
    return widgets;
}

void CheckRoom(QWidget& parent) {
    const QRect room = RoomOf(parent);
    const QList<QWidget*> children = LaidOut(parent);
    for (int i = 0; i < children.size(); ++i) {
        const QWidget* child = children[i];
        EXPECT_TRUE(room.contains(child->geometry()))
            << NameOf(child).toStdString() << " does not fit in " << NameOf(&parent).toStdString();
        for (int j = i + 1; j < children.size(); ++j) {
            const QWidget* other = children[j];
            const bool motorArea =
                qobject_cast<const CIconButton*>(child) && qobject_cast<const CXLed*>(other);
            if (!motorArea) {
                EXPECT_FALSE(child->geometry().intersects(other->geometry()))
                    << NameOf(child).toStdString() << " overlaps " << NameOf(other).toStdString();
            }
        }
        if (qobject_cast<const QGroupBox*>(child)) {
            CheckRoom(*children[i]);
        }
    }
}

TEST(PanelGeometry, NothingOverlapsOrLeavesItsGroup) {
    Shown panel;
    EXPECT_EQ(panel.content.size(), panel.layout->DesignSize());
    CheckRoom(panel.content);
}

TEST(PanelGeometry, TextsFitTheirPlaces) {
    Shown panel;
    for (const QLabel* caption : panel.content.findChildren<QLabel*>()) {
        SCOPED_TRACE(caption->text().toStdString());
        EXPECT_LE(caption->heightForWidth(caption->width()), caption->height());
        for (const QString& word : caption->text().split(QRegularExpression("\\s"))) {
            EXPECT_LE(caption->fontMetrics().horizontalAdvance(word), caption->width());
        }
    }
    for (const CXLabel* value : panel.content.findChildren<CXLabel*>()) {
        SCOPED_TRACE(value->Text().toStdString());
        const QSize text = value->fontMetrics().boundingRect(QRect(), Qt::AlignHCenter, value->Text()).size();
        EXPECT_LE(text.width(), value->width());
        EXPECT_LE(text.height(), value->height());
    }
    for (const QPushButton* button : panel.content.findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_LE(button->sizeHint().width(), button->width());
        EXPECT_LE(button->sizeHint().height(), button->height());
    }
    for (const QGroupBox* group : panel.content.findChildren<QGroupBox*>()) {
        EXPECT_LT(group->fontMetrics().horizontalAdvance(group->title()), group->width() - 8)
            << group->title().toStdString();
    }
    for (const QComboBox* selector : panel.content.findChildren<QComboBox*>()) {
        EXPECT_LE(selector->sizeHint().height(), selector->height());
    }
    // The widest values a connected relay shows.
    const CXLabel* power = panel.layout->Controls().powerValue[0];
    EXPECT_LE(power->fontMetrics().horizontalAdvance("99999.9 кВАр/ч"), power->width());
    const CXLabel* rate = panel.layout->Controls().rate;
    EXPECT_LE(rate->fontMetrics().horizontalAdvance("9999.99пар./сек"), rate->width());
    const CXLabel* baud = panel.layout->Controls().baud;
    EXPECT_LE(baud->fontMetrics().horizontalAdvance("19200 бит/сек"), baud->width());
}

}  // namespace
}  // namespace qav::panel
