#include <gtest/gtest.h>

#include "icon_button_face.h"

namespace qav::controls {
namespace {

struct FaceCase {
    const char* name;
    FaceState state;
    int width, height, imageWidth, imageHeight;
    FacePoint expected;
};

class ImageOriginTable : public testing::TestWithParam<FaceCase> {};

TEST_P(ImageOriginTable, PlacesTheImage) {
    const FaceCase& c = GetParam();
    EXPECT_EQ(ImageOrigin(c.state, c.width, c.height, c.imageWidth, c.imageHeight), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ImageOriginTable,
    testing::Values(FaceCase{"centred", {}, 90, 26, 84, 20, {3, 3}},
                    FaceCase{"pressed: right and down", {.pressed = true}, 90, 26, 84, 20, {4, 4}},
                    FaceCase{"hover: left and up", {.hover = true}, 90, 26, 84, 20, {2, 2}},
                    FaceCase{
                        "pressed wins over hover", {.pressed = true, .hover = true}, 90, 26, 84, 20, {4, 4}},
                    FaceCase{"odd margins round toward zero", {}, 91, 27, 84, 20, {3, 3}},
                    FaceCase{"odd margins pressed", {.pressed = true}, 91, 27, 84, 20, {4, 4}},
                    FaceCase{"odd margins hover", {.hover = true}, 91, 27, 84, 20, {2, 2}},
                    FaceCase{"disabled stays centred though pressed",
                             {.pressed = true, .disabled = true},
                             90,
                             26,
                             84,
                             20,
                             {3, 3}},
                    FaceCase{"disabled stays centred though hovered",
                             {.hover = true, .disabled = true},
                             90,
                             26,
                             84,
                             20,
                             {3, 3}},
                    FaceCase{"image wider than the face", {}, 80, 20, 84, 20, {-2, 0}},
                    FaceCase{"image wider than the face, hover", {.hover = true}, 80, 20, 84, 20, {-3, -1}}));

}  // namespace
}  // namespace qav::controls
