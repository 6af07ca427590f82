#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <utility>

#include "panel_images.h"
#include "widget_check.h"

namespace qav::panel {
namespace {

QImage Rendered(ImageRole role, qreal dpr = 1.0) {
    return ImagePixmap(role, dpr).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Mean colour over the painted (mostly opaque) pixels, and how many there are.
struct Coverage {
    int painted = 0;
    double lightness = 0;
    double saturation = 0;
};

Coverage CoverageOf(const QImage& image) {
    Coverage c;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor color = image.pixelColor(x, y);
            if (color.alpha() < 128) {
                continue;
            }
            ++c.painted;
            c.lightness += color.lightness();
            c.saturation += color.hslSaturation();
        }
    }
    if (c.painted > 0) {
        c.lightness /= c.painted;
        c.saturation /= c.painted;
    }
    return c;
}

TEST(PanelImages, EveryRoleHasItsSizeAndPaintsIt) {
    const std::pair<ImageRole, QSize> sizes[] = {
        {ImageRole::LampOn, {16, 16}},
        {ImageRole::LampOff, {16, 16}},
        {ImageRole::AlarmBright, {128, 20}},
        {ImageRole::AlarmDim, {128, 20}},
        {ImageRole::AutoRecloseOn, {48, 20}},
        {ImageRole::AutoRecloseOff, {48, 20}},
        {ImageRole::RemoteControlOn, {34, 20}},
        {ImageRole::RemoteControlOff, {34, 20}},
        {ImageRole::ExternalInputOn, {48, 20}},
        {ImageRole::ExternalInputOff, {48, 20}},
        {ImageRole::ModeAlarmRelay, {170, 32}},
        {ImageRole::ModeTimeRelay, {170, 32}},
        {ImageRole::ModeStarDelta, {170, 32}},
        {ImageRole::ModeUnbalance, {170, 32}},
        {ImageRole::ModeUnavailable, {170, 32}},
        {ImageRole::ActivityIdle, {60, 40}},
        {ImageRole::ActivityExchange, {60, 40}},
        {ImageRole::ActivityNoAnswer, {60, 40}},
        {ImageRole::Motor, {96, 48}},
        {ImageRole::StartButton, {84, 20}},
        {ImageRole::StopButton, {84, 20}},
        {ImageRole::AlarmResetButton, {84, 20}},
        {ImageRole::Clock, {24, 24}},
        {ImageRole::WindowIcon, {64, 64}},
        {ImageRole::TrayNormal, {16, 16}},
        {ImageRole::TrayRecording, {16, 16}},
        {ImageRole::TrayWarning, {16, 16}},
        {ImageRole::Splash, {500, 190}},
        {ImageRole::About, {120, 160}},
        {ImageRole::Globe, {48, 48}},
    };
    ASSERT_EQ(std::size(sizes), static_cast<size_t>(kImageRoleCount));
    for (const auto& [role, size] : sizes) {
        SCOPED_TRACE(static_cast<int>(role));
        EXPECT_EQ(ImageSize(role), size);
        EXPECT_EQ(PanelImage(role).size, size);
        EXPECT_FALSE(PanelImage(role).IsNull());
        const QImage image = Rendered(role);
        EXPECT_EQ(image.size(), size);
        // Every image fills a good part of its box; plates and pictures more than round or small ones.
        EXPECT_GT(CoverageOf(image).painted, size.width() * size.height() / 3);
    }
}

TEST(PanelImages, HighDensityScreensGetMorePixelsOfTheSameDrawing) {
    for (int i = 0; i < kImageRoleCount; ++i) {
        const auto role = static_cast<ImageRole>(i);
        SCOPED_TRACE(i);
        const QPixmap sharp = ImagePixmap(role, 2.0);
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_EQ(sharp.size(), ImageSize(role) * 2);
        // Scaled back down, the 2x picture is the 1x picture (same drawing, more detail).
        const QImage down =
            sharp.toImage().scaled(ImageSize(role), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const Coverage a = CoverageOf(down.convertToFormat(QImage::Format_ARGB32));
        const Coverage b = CoverageOf(Rendered(role));
        EXPECT_NEAR(a.painted, b.painted, b.painted / 10 + 2);
        EXPECT_NEAR(a.lightness, b.lightness, 12.0);
    }
}

TEST(PanelImages, LitIndicatorsStandOutFromUnlitOnes) {
    const std::pair<ImageRole, ImageRole> pairs[] = {
        {ImageRole::LampOn, ImageRole::LampOff},
        {ImageRole::AutoRecloseOn, ImageRole::AutoRecloseOff},
        {ImageRole::RemoteControlOn, ImageRole::RemoteControlOff},
        {ImageRole::ExternalInputOn, ImageRole::ExternalInputOff},
        {ImageRole::ModeAlarmRelay, ImageRole::ModeUnavailable},
    };
    for (const auto& [lit, unlit] : pairs) {
        SCOPED_TRACE(static_cast<int>(lit));
        // Unlit is grey; lit is a colour.
        EXPECT_LT(CoverageOf(Rendered(unlit)).saturation, 40.0);
        EXPECT_GT(CoverageOf(Rendered(lit)).saturation, 100.0);
    }
}

TEST(PanelImages, TheDimmedAlarmBannerIsDarkerThanTheBrightOne) {
    const Coverage bright = CoverageOf(Rendered(ImageRole::AlarmBright));
    const Coverage dim = CoverageOf(Rendered(ImageRole::AlarmDim));
    EXPECT_GT(bright.lightness, dim.lightness + 20.0);
    EXPECT_GT(bright.saturation, dim.saturation);
}

TEST(PanelImages, TheTrayBadgesChangeOnlyTheCorner) {
    const QImage normal = Rendered(ImageRole::TrayNormal);
    for (const ImageRole badged : {ImageRole::TrayRecording, ImageRole::TrayWarning}) {
        const QImage image = Rendered(badged);
        EXPECT_EQ(image.pixelColor(4, 3), normal.pixelColor(4, 3)) << "the symbol's upper left";
        EXPECT_NE(image.pixelColor(12, 13), normal.pixelColor(12, 13)) << "the badge";
    }
    EXPECT_NE(Rendered(ImageRole::TrayRecording), Rendered(ImageRole::TrayWarning));
}

TEST(PanelImages, RelayModesZeroToThreeHaveTheirImagesAnyOtherIsUnavailable) {
    const std::pair<int, ImageRole> cases[] = {
        {0, ImageRole::ModeAlarmRelay},   {1, ImageRole::ModeTimeRelay},     {2, ImageRole::ModeStarDelta},
        {3, ImageRole::ModeUnbalance},    {4, ImageRole::ModeUnavailable},   {7, ImageRole::ModeUnavailable},
        {-1, ImageRole::ModeUnavailable}, {256, ImageRole::ModeUnavailable},
    };
    for (const auto& [mode, role] : cases) {
        EXPECT_EQ(RelayModeImage(mode), role) << "mode " << mode;
    }
}

TEST(PanelImages, APaintedRectangleOfAnotherShapeKeepsTheProportions) {
    // The 500 x 190 splash into a square: centred, with empty bands above and below.
    QImage square(100, 100, QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    {
        QPainter painter(&square);
        ImageIcon(ImageRole::Splash).paint(&painter, square.rect());
    }
    EXPECT_EQ(square.pixelColor(50, 10).alpha(), 0);
    EXPECT_EQ(square.pixelColor(50, 90).alpha(), 0);
    EXPECT_EQ(square.pixelColor(50, 50).alpha(), 255);
}

TEST(PanelImages, TheWindowIconOffersTheUsualIconSizes) {
    const QList<QSize> sizes = ImageIcon(ImageRole::WindowIcon).availableSizes();
    for (const int side : {16, 32, 48, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    }
    const QPixmap small = ImageIcon(ImageRole::WindowIcon).pixmap(QSize(16, 16));
    EXPECT_EQ(small.size(), QSize(16, 16));
}

}  // namespace
}  // namespace qav::panel
