#include "icon_button_face.h"

namespace qav::controls {

FacePoint ImageOrigin(FaceState state, int width, int height, int imageWidth, int imageHeight) {
    // A disabled button may have been disabled while held or hovered; it must not look pushed.
    int shift = 0;
    if (!state.disabled && state.pressed) {
        shift = 2;
    } else if (!state.disabled && state.hover) {
        shift = -2;
    }
    return {(width - imageWidth + shift) / 2, (height - imageHeight + shift) / 2};
}

}  // namespace qav::controls
