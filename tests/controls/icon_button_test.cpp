#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPixmap>

#include "c_icon_button.h"
#include "widget_check.h"

namespace qav::controls {
namespace {

using test::PixelAt;
using test::Render;

const QColor kBlue(0x10, 0x40, 0xE0);
const QColor kOrange(0xF0, 0x80, 0x10);

IconImage Solid(const QColor& color, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    return {QIcon(pixmap), size};
}

// A 30 x 20 face with a 20 x 10 image: centred at (5, 5).
struct Button {
    CIconButton button;
    Button() {
        button.resize(30, 20);
        button.LoadIcons(Solid(kBlue, {20, 10}));
    }
    // The top-left corner of the image: the first pixel that is not the white face.
    QPoint ImageCorner() {
        const QImage image = Render(button);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != QColor(Qt::white)) {
                    return {x, y};
                }
            }
        }
        return {-1, -1};
    }
    void Send(QEvent::Type type) {
        QMouseEvent event(type, QPointF(15, 10), button.mapToGlobal(QPointF(15, 10)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&button, &event);
    }
};

TEST(CIconButton, PressedImageSitsOnePixelRightAndDown) {
    Button b;
    EXPECT_EQ(b.ImageCorner(), QPoint(5, 5));
    int clicks = 0;
    QObject::connect(&b.button, &QAbstractButton::clicked, [&] { ++clicks; });
    b.Send(QEvent::MouseButtonPress);
    EXPECT_EQ(b.ImageCorner(), QPoint(6, 6));
    b.Send(QEvent::MouseButtonRelease);
    EXPECT_EQ(b.ImageCorner(), QPoint(5, 5));
    EXPECT_EQ(clicks, 1) << "the click reaches its receivers as usual";
}

TEST(CIconButton, HoverLiftsTheImageOnePixelLeftAndUp) {
    Button b;
    QEnterEvent enter(QPointF(15, 10), QPointF(15, 10), b.button.mapToGlobal(QPointF(15, 10)));
    QCoreApplication::sendEvent(&b.button, &enter);
    EXPECT_EQ(b.ImageCorner(), QPoint(4, 4));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&b.button, &leave);
    EXPECT_EQ(b.ImageCorner(), QPoint(5, 5));
}

TEST(CIconButton, ShowsThePressedImageWhilePressed) {
    Button b;
    b.button.LoadIcons(Solid(kBlue, {20, 10}), Solid(kOrange, {20, 10}));
    b.Send(QEvent::MouseButtonPress);
    EXPECT_EQ(PixelAt(Render(b.button), 10, 10), kOrange);
    b.Send(QEvent::MouseButtonRelease);
    EXPECT_EQ(PixelAt(Render(b.button), 10, 10), kBlue);
}

TEST(CIconButton, DisabledDrawsTheImageGreyedAndCentred) {
    Button b;
    b.Send(QEvent::MouseButtonPress);
    b.button.setEnabled(false);
    EXPECT_EQ(b.ImageCorner(), QPoint(5, 5));
    const QColor c = PixelAt(Render(b.button), 10, 10);
    EXPECT_NE(c, kBlue);
    EXPECT_LT(std::abs(c.red() - c.blue()), 40) << "grey, not blue";
}

TEST(CIconButton, FaceColourSurroundsTheImage) {
    Button b;
    b.button.SetBackColor(ColorRef{0xCEE8E8});
    const QImage image = Render(b.button);
    EXPECT_EQ(PixelAt(image, 1, 1), QColor(0xE8, 0xE8, 0xCE));
    EXPECT_EQ(PixelAt(image, 10, 10), kBlue);
}

TEST(CIconButton, TooltipOnlyWhenActiveWithText) {
    Button b;
    b.button.SetTooltip(QStringLiteral("Пуск двигателя"), true);
    EXPECT_EQ(b.button.toolTip(), QStringLiteral("Пуск двигателя"));
    b.button.SetTooltip(QStringLiteral("Пуск двигателя"), false);
    EXPECT_TRUE(b.button.toolTip().isEmpty());
}

}  // namespace
}  // namespace qav::controls
