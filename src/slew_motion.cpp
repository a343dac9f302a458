#include "slew_motion.h"

#include <math.h>

#include "bindings.h"
#include "ground.h"
#include "overlay.h"

namespace {

constexpr double kFullCircle = 360.0;

// A held command or the stick changes a float a little every frame, often by less than the
// float's resolution at its value: rounded afresh every frame, where it ends would depend on the
// frame rate. The exact value is carried from frame to frame for as long as the float still
// holds what we last wrote (anything else writing it starts afresh from its value).
struct Carried {
    double exact;
    float written;
};
Carried gHeading = {0.0, NAN};
Carried gPitch = {0.0, NAN};
Carried gRoll = {0.0, NAN};
Carried gHeight = {0.0, NAN};

double Resume(const Carried& carried, double now) {
    return now == static_cast<double>(carried.written) ? carried.exact : now;
}

void WriteCarried(Carried& carried, XPLMDataRef ref, double exact) {
    const float value = static_cast<float>(exact);
    WriteFloat(ref, value);
    carried = {exact, isfinite(value) ? value : NAN};
}

void CarryBy(Carried& carried, XPLMDataRef ref, float now, double by) {
    WriteCarried(carried, ref, Resume(carried, static_cast<double>(now)) + by);
}

}  // namespace

void SlewBy(const Snapshot& a, double forward, double right, double turn) {
    if (forward != 0.0 || right != 0.0) {
        // Along the heading as the forward step goes, across it as the step to the right.
        const double s = static_cast<double>(a.s);
        const double c = static_cast<double>(a.c);
        Move(a, -c * forward + s * right, s * forward + c * right);
    }
    if (turn != 0.0) {
        // In double, then held as float; a sum that rounds up to 360 is north, 0.
        double heading = fmod(Resume(gHeading, static_cast<double>(a.psi)) + turn, kFullCircle);
        if (heading < 0.0)
            heading += kFullCircle;
        if (static_cast<float>(heading) >= static_cast<float>(kFullCircle))
            heading = 0.0;
        WriteCarried(gHeading, gPlanePSI, heading);
    }
}

void HeldForward(const Snapshot& a, const FrameShare& share) {
    SlewBy(a, share.amount(), 0.0, 0.0);
}

void HeldBackward(const Snapshot& a, const FrameShare& share) {
    SlewBy(a, -share.amount(), 0.0, 0.0);
}

void HeldLeft(const Snapshot& a, const FrameShare& share) {
    SlewBy(a, 0.0, -share.amount(), 0.0);
}

void HeldRight(const Snapshot& a, const FrameShare& share) {
    SlewBy(a, 0.0, share.amount(), 0.0);
}

void HeldTurnLeft(const Snapshot& a, const FrameShare& share) {
    SlewBy(a, 0.0, 0.0, -share.amount());
}

void HeldTurnRight(const Snapshot& a, const FrameShare& share) {
    SlewBy(a, 0.0, 0.0, share.amount());
}

void HeldRollLeft(const Snapshot& a, const FrameShare& share) {
    CarryBy(gRoll, gPlanePHI, a.phi, -share.amount());
}

void HeldRollRight(const Snapshot& a, const FrameShare& share) {
    CarryBy(gRoll, gPlanePHI, a.phi, share.amount());
}

void HeldNoseUp(const Snapshot& a, const FrameShare& share) {
    CarryBy(gPitch, gPlaneTHETA, a.theta, share.amount());
}

void HeldNoseDown(const Snapshot& a, const FrameShare& share) {
    CarryBy(gPitch, gPlaneTHETA, a.theta, -share.amount());
}

void HeldUp(const Snapshot& a, const FrameShare& share) {
    WriteCarried(gHeight, gPlaneY, Resume(gHeight, a.y) + share.amount());
    ShowClimb(share.amount());
}

void HeldDown(const Snapshot& a, const FrameShare& share) {
    const double height = HeightAboveRest(GroundUnder(a.x, a.y, a.z, a.agl));
    const double descent = Descent(height, share.isFast, share.fast, share.fine, true);
    ShowWheelsHeight(height - descent);
    if (descent > 0.0)
        WriteCarried(gHeight, gPlaneY, Resume(gHeight, a.y) - descent);
}
