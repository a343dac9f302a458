#include "slew_actions.h"

#include <math.h>

#include "bindings.h"
#include "camera.h"
#include "ground.h"
#include "overlay.h"

namespace {

// Pi in single precision, widened. The heading's sine and cosine, and so every move, depend on
// its exact bits: with it, the same moves from the same place land on the same bits every time.
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
constexpr float kNorth = 360.0f;

// Descents stop short of the ground: above these heights over the rest height the step is
// allowed.
constexpr double kCoarseDescentFloor = 2.9;
constexpr double kFineDescentFloor = 0.05;

constexpr int kTopDownViewButton = 44;

// The fine step is taken in double, the coarse one in float and then widened: the precision of
// each is what makes a sequence of moves repeat bit for bit.
double Stride(float factor, bool fast) {
    if (fast)
        return static_cast<double>(factor * kCoarseStep);
    return static_cast<double>(factor) * kFineStep;
}

float Pick(float fine, float coarse, bool fast) {
    return fast ? coarse : fine;
}

// Where the probe finds no ground, from the simulator's height above ground: back to the ground
// the aircraft stood on, computed in single precision as the simulator stores its heights.
void SnapToGround(float y, float agl, double restHeight) {
    WriteFloat(gPlaneY, (y - agl) + static_cast<float>(restHeight));
}

void Climb(const Snapshot& a, double dy) {
    WriteFloat(gPlaneY, static_cast<float>(a.y + dy));
    ShowClimb(dy);
}

}  // namespace

void WriteFloat(XPLMDataRef ref, float value) {
    if (isfinite(value))
        XPLMSetDataf(ref, value);
}

void WriteDouble(XPLMDataRef ref, double value) {
    if (isfinite(value))
        XPLMSetDatad(ref, value);
}

void Move(const Snapshot& a, double dz, double dx) {
    const Ground here = GroundUnder(a.x, a.y, a.z, a.agl);
    WriteDouble(gPlaneZ, a.z + dz);
    WriteDouble(gPlaneX, a.x + dx);
    const double height = HeightAboveRest(here);
    if (!(kStandingHeight > height)) {
        ShowWheelsHeight(height);
        return;
    }
    // Parked: set down on the ground where it goes.
    ShowWheelsHeight(0.0);
    if (!here.probed) {
        SnapToGround(static_cast<float>(a.y), a.agl, RestHeight());
        return;
    }
    // Not hypot: glibc 2.35 gave it a new symbol version, and we load on 2.17.
    const float ground = GroundAhead(here, a.x + dx, a.y, a.z + dz, sqrt(dx * dx + dz * dz));
    WriteFloat(gPlaneY, static_cast<float>(static_cast<double>(ground) + RestHeight()));
}

double Descent(double height, bool fast, double coarse, double fine, bool stopAtFloor) {
    // The fast descent becomes the fine one near the ground, and the fine one stops just above it.
    if (fast && height > kCoarseDescentFloor)
        return stopAtFloor ? fmin(coarse, height - kCoarseDescentFloor) : coarse;
    if (height > kFineDescentFloor)
        return stopAtFloor ? fmin(fine, height - kFineDescentFloor) : fine;
    return 0.0;
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

void Forward(const Snapshot& a, bool fast) {
    Move(a, -Stride(a.c, fast), Stride(a.s, fast));
}

void Backward(const Snapshot& a, bool fast) {
    Move(a, Stride(a.c, fast), -Stride(a.s, fast));
}

void Left(const Snapshot& a, bool fast) {
    Move(a, -Stride(a.s, fast), -Stride(a.c, fast));
}

void Right(const Snapshot& a, bool fast) {
    Move(a, Stride(a.s, fast), Stride(a.c, fast));
}

void TurnLeft(const Snapshot& a, bool fast) {
    WriteFloat(gPlanePSI, a.psi - Pick(kFineTurn, kCoarseTurn, fast));
}

void TurnRight(const Snapshot& a, bool fast) {
    WriteFloat(gPlanePSI, a.psi + Pick(kFineTurn, kCoarseTurn, fast));
}

void RollLeft(const Snapshot& a, bool fast) {
    WriteFloat(gPlanePHI, a.phi - Pick(kFineRoll, kCoarseRoll, fast));
}

void RollRight(const Snapshot& a, bool fast) {
    WriteFloat(gPlanePHI, a.phi + Pick(kFineRoll, kCoarseRoll, fast));
}

void FaceNorth(const Snapshot& /*a*/, bool fast) {
    WriteFloat(gPlanePSI, kNorth);
    if (fast) {
        WriteFloat(gPlanePHI, 0.0f);
        WriteFloat(gPlaneTHETA, 0.0f);
    }
}

void Down(const Snapshot& a, bool fast) {
    const double height = HeightAboveRest(GroundUnder(a.x, a.y, a.z, a.agl));
    const double descent = Descent(height, fast, kCoarseClimb, kFineClimb, false);
    ShowWheelsHeight(height);
    if (descent > 0.0)
        Climb(a, -descent);
}

void Up(const Snapshot& a, bool fast) {
    Climb(a, fast ? kCoarseClimb : kFineClimb);
}

void NoseUp(const Snapshot& a, bool fast) {
    WriteFloat(gPlaneTHETA, a.theta + Pick(kSmallPitch, kLargePitch, fast));
}

void NoseDown(const Snapshot& a, bool fast) {
    WriteFloat(gPlaneTHETA, a.theta - Pick(kSmallPitch, kLargePitch, fast));
}

void TopDownView(const Snapshot& /*a*/, bool /*fast*/) {
    XPLMCommandButtonPress(kTopDownViewButton);
    XPLMCommandButtonRelease(kTopDownViewButton);
    TakeCamera();
}

PLUGIN_API void check_AGL(float y, float agl) {
    // Compared in double so that a float AGL of exactly 0.07f (a hair above 0.07) does not snap.
    if (kStandingHeight > static_cast<double>(agl))
        SnapToGround(y, agl, 0.0);
}
