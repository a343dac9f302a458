// The camera: a plug-in that holds it fills the view once a frame.
#include <cstring>
#include <limits>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Camera ----

int Host::cameraFrame(bool passNullPosition) {
    if (camera_.callback == nullptr || !pluginEnabled)
        return -1;
    const Camera held = camera_;
    // NaN in every other field, and a pattern that is a plain number (0xDEADBEEF) in the rest;
    // the next call swaps them.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    float pattern;
    const uint32_t bits = 0xDEADBEEFu;
    std::memcpy(&pattern, &bits, sizeof pattern);
    float garbage[7];
    for (unsigned i = 0; i < 7; ++i)
        garbage[i] = (i + cameraCalls_) % 2 == 0 ? nan : pattern;
    ++cameraCalls_;
    XPLMCameraPosition_t position;
    std::memcpy(&position, garbage, sizeof position);
    const int keep = held.callback(passNullPosition ? nullptr : &position, 0, held.refcon);
    if (keep != 0 && !passNullPosition)
        cameraPosition = position;
    if (keep == 0 && camera_.callback == held.callback)
        releaseCamera();
    return keep;
}

void Host::changeView() {
    if (camera_.callback == nullptr || camera_.duration != xplm_ControlCameraUntilViewChanges) {
        return;
    }
    const Camera held = camera_;
    releaseCamera();
    if (pluginEnabled)
        held.callback(nullptr, 1, held.refcon);
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API void XPLMControlCamera(XPLMCameraControlDuration inHowLong,
                                XPLMCameraControl_f inControlFunc, void* inRefcon) {
    RECORD("XPLMControlCamera", {Arg::Int(inHowLong), Fn(inControlFunc), Arg::Pointer(inRefcon)});
    // Whoever held the camera before is told it lost it.
    const hostsim::Camera previous = H().camera();
    H().takeCamera({inControlFunc, inHowLong, inRefcon});
    if (previous.callback != nullptr)
        previous.callback(nullptr, 1, previous.refcon);
}

XPLM_API void XPLMDontControlCamera(void) {
    RECORD("XPLMDontControlCamera", {});
    if (!H().cameraControlled())
        H().misuse("XPLMDontControlCamera while no plug-in holds the camera");
    H().releaseCamera();
}

}  // extern "C"
