#include "joystick.h"

#include <math.h>

#include "bindings.h"
#include "frame_clock.h"
#include "settings.h"
#include "slew_mode.h"
#include "slew_motion.h"

namespace {

// A worn stick rests a little off centre: within this much of it, nothing moves. Compared in
// the stick's own precision, so that a reading of 0.1 is inside.
constexpr float kDeadZone = 0.1f;
// Beyond it the rate grows from nothing at 0.1 to full at 1.
constexpr double kLiveFrom = 0.1;
constexpr double kLiveRange = 0.9;
constexpr double kFullSpeed = 100.0;  // metres per second, along and across the heading
constexpr double kFullTurn = 45.0;    // degrees per second

// The hardware's processed axes by number.
constexpr int kPitchAxis = 1;
constexpr int kRollAxis = 2;
constexpr int kYawAxis = 3;

constexpr float kEveryFrame = -1.0f;
constexpr float kSuspend = 0.0f;

// Metres or degrees per second at this deflection: nothing in the dead zone, then growing with
// the square of the deflection beyond it, so that small corrections stay small. A broken
// reading counts as centred, and one past full deflection as full.
double Rate(float ratio, double full) {
    if (!isfinite(ratio) || fabsf(ratio) <= kDeadZone)
        return 0.0;
    const double r = static_cast<double>(ratio);
    const double live = (fmin(fabs(r), 1.0) - kLiveFrom) / kLiveRange;
    return copysign(full * (live * live), r);
}

// The stick's axis as the user's hand has it. The yoke ratio is the simulator's reading of the
// stick, unless another plug-in overrides the stick (all of it, or this axis: fly-by-wire
// aircraft and trim scripts do, for good): then it holds that plug-in's values, and the user's
// hand is in the hardware's processed axis of the same number, where there is one. Taken with
// the yoke ratio's sign; a reading past full deflection counts as full.
float Axis(int axis, XPLMDataRef ratio, XPLMDataRef axisOverride, bool allOverridden) {
    if (!allOverridden && XPLMGetDatai(axisOverride) == 0)
        return XPLMGetDataf(ratio);
    int available = 0;
    float value = 0.0f;
    if (XPLMGetDatavi(gAxisAvailable, &available, axis, 1) != 1 || available != 1 ||
        XPLMGetDatavf(gAxisValues, &value, axis, 1) != 1) {
        return 0.0f;  // no such hardware: centred
    }
    return value;
}

}  // namespace

float MyJoystickFlightLoop(float inElapsedSinceLastCall, float /*inElapsedTimeSinceLastFlightLoop*/,
                           int /*inCounter*/, void* /*inRefcon*/) {
    // Every frame of slew mode: another plug-in may have switched it off, or taken the aircraft
    // back, since the last.
    if (!ReconcileSlewMode())
        return kSuspend;
    const double seconds = RecordFrame(inElapsedSinceLastCall);
    if (seconds == 0.0 || !Chosen(Choice::kJoystickSlew))
        return kEveryFrame;

    // Stick forward reads below 0 and moves the aircraft forward. The speed factor scales the
    // moves, not the turn.
    const double speed = kFullSpeed * SpeedFactor();
    const bool overridden = XPLMGetDatai(gStickOverride) != 0;
    const float pitch = Axis(kPitchAxis, gYokePitchRatio, gPitchOverride, overridden);
    const float roll = Axis(kRollAxis, gYokeRollRatio, gRollOverride, overridden);
    const float yaw = Axis(kYawAxis, gYokeHeadingRatio, gHeadingOverride, overridden);
    const double forward = -Rate(pitch, speed) * seconds;
    const double right = Rate(roll, speed) * seconds;
    const double turn = Rate(yaw, kFullTurn) * seconds;
    if (forward != 0.0 || right != 0.0 || turn != 0.0)
        SlewBy(ReadSnapshot(), forward, right, turn);
    return kEveryFrame;
}
