// The camera: a plug-in that holds it fills the view once a frame.
#include <cstring>
#include <limits>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Camera ----

int Camera::frame(bool passNullPosition) {
    if (callback == nullptr || !H().pluginEnabled)
        return -1;
    const XPLMCameraControl_f held = callback;
    // NaN in every other field, and a pattern that is a plain number (0xDEADBEEF) in the rest;
    // the next call swaps them.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    float pattern;
    const uint32_t bits = 0xDEADBEEFu;
    std::memcpy(&pattern, &bits, sizeof pattern);
    float garbage[7];
    for (unsigned i = 0; i < 7; ++i)
        garbage[i] = (i + frames) % 2 == 0 ? nan : pattern;
    ++frames;
    XPLMCameraPosition_t given;
    std::memcpy(&given, garbage, sizeof given);
    const int keep = held(passNullPosition ? nullptr : &given, 0, refcon);
    if (keep != 0 && !passNullPosition)
        position = given;
    if (keep == 0 && callback == held)
        callback = nullptr;
    return keep;
}

void Camera::changeView() {
    if (callback == nullptr || duration != xplm_ControlCameraUntilViewChanges)
        return;
    const XPLMCameraControl_f held = callback;
    callback = nullptr;
    if (H().pluginEnabled)
        held(nullptr, 1, refcon);
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API void XPLMControlCamera(XPLMCameraControlDuration inHowLong,
                                XPLMCameraControl_f inControlFunc, void* inRefcon) {
    RECORD("XPLMControlCamera", {Arg::Int(inHowLong), Fn(inControlFunc), Arg::Pointer(inRefcon)});
    // Whoever held the camera before is told it lost it.
    hostsim::Camera& camera = H().camera;
    const XPLMCameraControl_f previous = camera.callback;
    void* const previousRefcon = camera.refcon;
    camera.callback = inControlFunc;
    camera.duration = inHowLong;
    camera.refcon = inRefcon;
    if (previous != nullptr)
        previous(nullptr, 1, previousRefcon);
}

XPLM_API int XPLMIsCameraBeingControlled(XPLMCameraControlDuration* outCameraControlDuration) {
    Call* call = RECORD("XPLMIsCameraBeingControlled", {Arg::Pointer(outCameraControlDuration)});
    const hostsim::Camera& camera = H().camera;
    if (camera.controlled() && outCameraControlDuration != nullptr)
        *outCameraControlDuration = camera.duration;
    Result(call, Arg::Int(camera.controlled() ? 1 : 0));
    return camera.controlled() ? 1 : 0;
}

XPLM_API void XPLMDontControlCamera(void) {
    RECORD("XPLMDontControlCamera", {});
    if (!H().camera.controlled())
        Misuse("XPLMDontControlCamera while no plug-in holds the camera");
    H().camera.callback = nullptr;
}

}  // extern "C"
