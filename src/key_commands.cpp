#include "key_commands.h"

#include <math.h>

#include "bindings.h"
#include "camera.h"
#include "slew_toggle.h"

namespace {

// Pi as the single-precision constant it has always been, widened: the heading's sine and
// cosine, and so every move, depend on its exact bits.
constexpr double kPi = 3.1415927410125732;

constexpr double kFineStep = 0.1;                   // horizontal, double
constexpr float kCoarseStep = 5.0f;                 // horizontal, float
constexpr double kFineClimb = 0.10000000149011612;  // 0.1f widened
constexpr double kCoarseClimb = 3.0;
constexpr float kFineTurn = 0.15f;
constexpr float kCoarseTurn = 5.0f;
constexpr float kFineRoll = 0.5f;
constexpr float kCoarseRoll = 3.0f;
constexpr float kSmallPitch = 1.0f;
constexpr float kLargePitch = 5.0f;
constexpr float kLevelHeading = 360.0f;

// Descents stop short of the ground: above these heights the step is allowed.
constexpr double kCoarseDescentFloor = 2.9;
constexpr double kFineDescentFloor = 0.05;
// An aircraft closer to the ground than this before a move is put back on the ground after it.
constexpr double kSnapHeight = 0.07;

constexpr int kTopDownViewButton = 44;

signed char gVirtualKey = 0;
int gFlags = 0;

// The aircraft as read at the start of a key event; every command computes from these values.
struct Snapshot {
    double x, y, z;
    float agl;  // the host stores height above ground, heading and attitude as floats
    float psi, theta, phi;
    float s, c;  // sine and cosine of the heading
};

// A broken value in the simulator must not spread: a write that would store NaN or infinity is
// dropped, and the command's other writes still happen.
void WriteFloat(XPLMDataRef ref, float value) {
    if (isfinite(value))
        XPLMSetDataf(ref, value);
}

void WriteDouble(XPLMDataRef ref, double value) {
    if (isfinite(value))
        XPLMSetDatad(ref, value);
}

bool Coarse() {
    return (gFlags & xplm_ShiftFlag) != 0;
}

Snapshot ReadSnapshot() {
    Snapshot a;
    a.x = XPLMGetDatad(gPlaneX);
    a.y = XPLMGetDatad(gPlaneY);
    a.z = XPLMGetDatad(gPlaneZ);
    a.agl = XPLMGetDataf(gPlaneY_AGL);
    a.psi = XPLMGetDataf(gPlanePSI);
    a.theta = XPLMGetDataf(gPlaneTHETA);
    a.phi = XPLMGetDataf(gPlanePHI);
    const double radians = static_cast<double>(a.psi) / 180.0 * kPi;
    a.s = static_cast<float>(sin(radians));
    a.c = static_cast<float>(cos(radians));
    return a;
}

// The fine step is taken in double, the coarse one in float and widened: both as they have
// always been, so that a sequence of moves lands on the same bits.
double Step(float factor) {
    if (Coarse())
        return static_cast<double>(factor * kCoarseStep);
    return static_cast<double>(factor) * kFineStep;
}

// dz and dx are the signed multiples of the heading's sine and cosine for one step.
void Move(const Snapshot& a, double dz, double dx) {
    WriteDouble(gPlaneZ, a.z + dz);
    WriteDouble(gPlaneX, a.x + dx);
    check_AGL(static_cast<float>(a.y), a.agl);
}

void Climb(const Snapshot& a, double dy) {
    WriteFloat(gPlaneY, static_cast<float>(a.y + dy));
}

void Descend(const Snapshot& a, double floor, double dy) {
    if (static_cast<double>(a.agl) > floor)
        Climb(a, -dy);
}

float Pick(float fine, float coarse) {
    return Coarse() ? coarse : fine;
}

// Returns the sniffer's result for a listed key, or 1 for one that is not listed.
int Command(const Snapshot& a) {
    switch (gVirtualKey) {
        case XPLM_VK_S:
            XPLMCommandButtonPress(kTopDownViewButton);
            XPLMCommandButtonRelease(kTopDownViewButton);
            TakeCamera();
            return 1;  // the simulator still sees S
        case XPLM_VK_NUMPAD1:
            WriteFloat(gPlanePSI, a.psi - Pick(kFineTurn, kCoarseTurn));
            return 0;
        case XPLM_VK_NUMPAD2:
            Move(a, Step(a.c), -Step(a.s));
            return 0;
        case XPLM_VK_NUMPAD3:
            WriteFloat(gPlanePSI, a.psi + Pick(kFineTurn, kCoarseTurn));
            return 0;
        case XPLM_VK_NUMPAD4:
            Move(a, -Step(a.s), -Step(a.c));
            return 0;
        case XPLM_VK_NUMPAD5:
            WriteFloat(gPlanePSI, kLevelHeading);
            if (Coarse()) {
                WriteFloat(gPlanePHI, 0.0f);
                WriteFloat(gPlaneTHETA, 0.0f);
            }
            return 0;
        case XPLM_VK_NUMPAD6:
            Move(a, Step(a.s), Step(a.c));
            return 0;
        case XPLM_VK_NUMPAD7:
            WriteFloat(gPlanePHI, a.phi - Pick(kFineRoll, kCoarseRoll));
            return 0;
        case XPLM_VK_NUMPAD8:
            Move(a, -Step(a.c), Step(a.s));
            return 0;
        case XPLM_VK_NUMPAD9:
            WriteFloat(gPlanePHI, a.phi + Pick(kFineRoll, kCoarseRoll));
            return 0;
        case XPLM_VK_F1:
            if (static_cast<double>(a.agl) > kCoarseDescentFloor) {
                Climb(a, -kCoarseClimb);
            } else {
                Descend(a, kFineDescentFloor, kFineClimb);
            }
            return 0;
        case XPLM_VK_F2:
            Descend(a, kFineDescentFloor, kFineClimb);
            return 0;
        case XPLM_VK_F3:
            Climb(a, kFineClimb);
            return 0;
        case XPLM_VK_F4:
            Climb(a, kCoarseClimb);
            return 0;
        case XPLM_VK_F5:
            WriteFloat(gPlaneTHETA, a.theta + kLargePitch);
            return 0;
        case XPLM_VK_F6:
            WriteFloat(gPlaneTHETA, a.theta + kSmallPitch);
            return 0;
        case XPLM_VK_F7:
            WriteFloat(gPlaneTHETA, a.theta - kSmallPitch);
            return 0;
        case XPLM_VK_F8:
            WriteFloat(gPlaneTHETA, a.theta - kLargePitch);
            return 0;
        default:
            return 1;
    }
}

}  // namespace

int MyKeySniffer(char /*inChar*/, XPLMKeyFlags inFlags, char inVirtualKey, void* /*inRefcon*/) {
    gVirtualKey = static_cast<signed char>(inVirtualKey);
    gFlags = inFlags;
    // Read before the mode test, on every event, so that each event costs the host the same
    // reads whatever the mode.
    const Snapshot aircraft = ReadSnapshot();
    if (HotKey_Master == 0)
        return 1;
    // Neither the down nor the up bit is tested: holding a key repeats the command, and a press
    // and its release each perform it.
    return Command(aircraft);
}

PLUGIN_API void check_AGL(float y, float agl) {
    // Compared in double so that a float AGL of exactly 0.07f (a hair above 0.07) does not snap.
    if (kSnapHeight > static_cast<double>(agl))
        WriteFloat(gPlaneY, y - agl);
}
