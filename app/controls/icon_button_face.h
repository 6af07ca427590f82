// Where the icon button draws its image: centred, one pixel right and down while pressed, one pixel left and
// up while the pointer hovers, centred again when disabled.
#pragma once

namespace qav::controls {

struct FaceState {
    bool pressed = false;
    bool hover = false;
    bool disabled = false;
};

struct FacePoint {
    int x = 0;
    int y = 0;
    bool operator==(const FacePoint&) const = default;
};

// Top-left corner of an image of imageWidth x imageHeight on a face of width x height.
FacePoint ImageOrigin(FaceState state, int width, int height, int imageWidth, int imageHeight);

}  // namespace qav::controls
