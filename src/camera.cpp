#include "camera.h"

#include <math.h>

#include "bindings.h"

namespace {

constexpr float kCameraHeight = 300.0f;
constexpr float kLookStraightDown = -90.0f;
constexpr float kNorthUp = 360.0f;

// Whether the simulator still calls MyOrbitPlaneFunc. Cleared when it tells us we lose the
// camera, since releasing a camera we no longer hold would take it from whoever has it now.
int gCameraHeld = 0;

}  // namespace

int MyOrbitPlaneFunc(XPLMCameraPosition_t* outCameraPosition, int inIsLosingControl,
                     void* /*inRefcon*/) {
    if (inIsLosingControl != 0) {
        gCameraHeld = 0;
        return 1;
    }
    if (outCameraPosition == nullptr)
        return 1;

    // Read as floats: the camera position is single precision anyway. A broken position must
    // not throw the view into NaN: a field that would not be finite keeps the simulator's value.
    const float x = XPLMGetDataf(gPlaneX);
    const float y = XPLMGetDataf(gPlaneY) + kCameraHeight;
    const float z = XPLMGetDataf(gPlaneZ);
    if (isfinite(x))
        outCameraPosition->x = x;
    if (isfinite(y))
        outCameraPosition->y = y;
    if (isfinite(z))
        outCameraPosition->z = z;
    outCameraPosition->pitch = kLookStraightDown;
    outCameraPosition->heading = kNorthUp;
    outCameraPosition->roll = 0.0f;
    return 1;
}

void TakeCamera() {
    XPLMControlCamera(xplm_ControlCameraUntilViewChanges, MyOrbitPlaneFunc, nullptr);
    gCameraHeld = 1;
}

void ReleaseCameraForStop() {
    if (gCameraHeld == 0)
        return;
    XPLMDontControlCamera();
    gCameraHeld = 0;
}
