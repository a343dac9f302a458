#include "camera.h"

#include <math.h>

#include "bindings.h"

namespace {

constexpr float kCameraHeight = 300.0f;
constexpr float kLookStraightDown = -90.0f;
constexpr float kNorthUp = 360.0f;
constexpr float kNormalZoom = 1.0f;

// Whether the simulator still calls MyOrbitPlaneFunc. Cleared when it tells us we lose the
// camera, or when we give it up ourselves, since releasing a camera we no longer hold would take
// it from whoever has it now.
int gCameraHeld = 0;

// The last view we handed the simulator, for frames where the aircraft's position is broken.
XPLMCameraPosition_t gLastView;
int gHasLastView = 0;

}  // namespace

int MyOrbitPlaneFunc(XPLMCameraPosition_t* outCameraPosition, int inIsLosingControl,
                     void* /*inRefcon*/) {
    if (inIsLosingControl != 0) {
        gCameraHeld = 0;
        return 1;
    }
    if (outCameraPosition == nullptr)
        return 1;

    // Read as floats: the camera position is single precision anyway.
    const float x = XPLMGetDataf(gPlaneX);
    const float y = XPLMGetDataf(gPlaneY) + kCameraHeight;
    const float z = XPLMGetDataf(gPlaneZ);
    if (isfinite(x) && isfinite(y) && isfinite(z)) {
        // The simulator hands us a struct of undefined contents: every field is ours to fill.
        gLastView = {x, y, z, kLookStraightDown, kNorthUp, 0.0f, kNormalZoom};
        gHasLastView = 1;
    } else if (gHasLastView == 0) {
        // Nowhere sensible to look from, and no earlier view to keep: the simulator's own view
        // takes over, and from now on the camera is no longer ours.
        gCameraHeld = 0;
        return 0;
    }
    // A broken position keeps the view where it was rather than throwing it into NaN.
    *outCameraPosition = gLastView;
    return 1;
}

void TakeCamera() {
    XPLMControlCamera(xplm_ControlCameraUntilViewChanges, MyOrbitPlaneFunc, nullptr);
    gCameraHeld = 1;
}

void ReleaseCamera() {
    if (gCameraHeld == 0)
        return;
    gCameraHeld = 0;
    // The simulator promises to tell us when it takes the camera back; if that never came and no
    // camera is held now, there is nothing to give back. (Whose camera is held, it cannot say.)
    if (XPLMIsCameraBeingControlled(nullptr) != 0)
        XPLMDontControlCamera();
}
