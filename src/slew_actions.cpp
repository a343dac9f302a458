#include "slew_actions.h"

#include <math.h>

#include "bindings.h"
#include "camera.h"
#include "ground.h"

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
constexpr double kFullCircle = 360.0;

// A broken value in the simulator must not spread: a write that would store NaN or infinity is
// dropped, and the action's other writes still happen.
void WriteFloat(XPLMDataRef ref, float value) {
    if (isfinite(value))
        XPLMSetDataf(ref, value);
}

void WriteDouble(XPLMDataRef ref, double value) {
    if (isfinite(value))
        XPLMSetDatad(ref, value);
}

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

// The fine step is taken in double, the coarse one in float and then widened: the precision of
// each is what makes a sequence of moves repeat bit for bit.
double Step(float factor, bool fast) {
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

// dz and dx are the signed multiples of the heading's sine and cosine for one step. A parked
// aircraft follows the ground; one in the air keeps its height.
void Move(const Snapshot& a, double dz, double dx) {
    const Ground here = GroundUnder(a.x, a.y, a.z, a.agl);
    WriteDouble(gPlaneZ, a.z + dz);
    WriteDouble(gPlaneX, a.x + dx);
    if (!(kStandingHeight > HeightAboveRest(here)))
        return;
    if (!here.probed) {
        SnapToGround(static_cast<float>(a.y), a.agl, RestHeight());
        return;
    }
    // Not hypot: glibc 2.35 gave it a new symbol version, and we load on 2.17.
    const float ground = GroundAhead(here, a.x + dx, a.y, a.z + dz, sqrt(dx * dx + dz * dz));
    WriteFloat(gPlaneY, static_cast<float>(static_cast<double>(ground) + RestHeight()));
}

void Climb(const Snapshot& a, double dy) {
    WriteFloat(gPlaneY, static_cast<float>(a.y + dy));
}

void Forward(const Snapshot& a, bool fast) {
    Move(a, -Step(a.c, fast), Step(a.s, fast));
}

void Backward(const Snapshot& a, bool fast) {
    Move(a, Step(a.c, fast), -Step(a.s, fast));
}

void Left(const Snapshot& a, bool fast) {
    Move(a, -Step(a.s, fast), -Step(a.c, fast));
}

void Right(const Snapshot& a, bool fast) {
    Move(a, Step(a.s, fast), Step(a.c, fast));
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

// The fast descent becomes the fine one near the ground, and the fine one stops just above it.
void Down(const Snapshot& a, bool fast) {
    const double height = HeightAboveRest(GroundUnder(a.x, a.y, a.z, a.agl));
    if (fast && height > kCoarseDescentFloor) {
        Climb(a, -kCoarseClimb);
    } else if (height > kFineDescentFloor) {
        Climb(a, -kFineClimb);
    }
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

// Indexed by SlewAction.
void (*const kActions[])(const Snapshot&, bool fast) = {
    Forward,   Backward,  Left, Right, TurnLeft, TurnRight, RollLeft,
    RollRight, FaceNorth, Down, Up,    NoseUp,   NoseDown,  TopDownView,
};
static_assert(sizeof kActions / sizeof kActions[0] == kSlewActionCount, "one row per action");

}  // namespace

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

void PerformSlewAction(SlewAction action, bool fast, const Snapshot& aircraft) {
    kActions[action](aircraft, fast);
}

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

void SlewForFrame(SlewAction action, bool fast, const Snapshot& a, double seconds, double factor) {
    // Per second, fine and fast; the moves and climbs in metres, scaled by the speed factor,
    // the rest in degrees.
    struct Rate {
        double fine, fast;
        bool linear;
    };
    static const Rate kRates[] = {
        {1.0, 50.0, true},  {1.0, 50.0, true},  {1.0, 50.0, true}, {1.0, 50.0, true},  // moves
        {3.0, 30.0, false}, {3.0, 30.0, false},                                        // turns
        {3.0, 30.0, false}, {3.0, 30.0, false},                                        // rolls
        {0.0, 0.0, false},                                                             // north
        {1.0, 30.0, true},  {1.0, 30.0, true},                                         // down, up
        {2.0, 20.0, false}, {2.0, 20.0, false},                                        // pitch
        {0.0, 0.0, false},                                                             // view
    };
    static_assert(sizeof kRates / sizeof kRates[0] == kSlewActionCount, "one rate per action");
    const Rate& rate = kRates[action];
    const double amount = (fast ? rate.fast : rate.fine) * (rate.linear ? factor : 1.0) * seconds;
    if (!(amount > 0.0))
        return;
    switch (action) {
        case kSlewForward:
            return SlewBy(a, amount, 0.0, 0.0);
        case kSlewBackward:
            return SlewBy(a, -amount, 0.0, 0.0);
        case kSlewLeft:
            return SlewBy(a, 0.0, -amount, 0.0);
        case kSlewRight:
            return SlewBy(a, 0.0, amount, 0.0);
        case kTurnLeft:
            return SlewBy(a, 0.0, 0.0, -amount);
        case kTurnRight:
            return SlewBy(a, 0.0, 0.0, amount);
        case kRollLeft:
        case kRollRight: {
            const double sign = action == kRollLeft ? -1.0 : 1.0;
            return WriteCarried(gRoll, gPlanePHI,
                                Resume(gRoll, static_cast<double>(a.phi)) + sign * amount);
        }
        case kNoseUp:
        case kNoseDown: {
            const double sign = action == kNoseDown ? -1.0 : 1.0;
            return WriteCarried(gPitch, gPlaneTHETA,
                                Resume(gPitch, static_cast<double>(a.theta)) + sign * amount);
        }
        case kSlewUp:
            return WriteCarried(gHeight, gPlaneY, Resume(gHeight, a.y) + amount);
        case kSlewDown: {
            // Each frame's descent stops at the floor, the fast one becoming the fine one at
            // F1's floor, as the keys do.
            const double height = HeightAboveRest(GroundUnder(a.x, a.y, a.z, a.agl));
            double descent = 0.0;
            if (fast && height > kCoarseDescentFloor) {
                descent = fmin(amount, height - kCoarseDescentFloor);
            } else if (height > kFineDescentFloor) {
                const double fine = kRates[kSlewDown].fine * factor * seconds;
                descent = fmin(fast ? fine : amount, height - kFineDescentFloor);
            }
            if (descent > 0.0)
                WriteCarried(gHeight, gPlaneY, Resume(gHeight, a.y) - descent);
            return;
        }
        default:
            return;
    }
}

PLUGIN_API void check_AGL(float y, float agl) {
    // Compared in double so that a float AGL of exactly 0.07f (a hair above 0.07) does not snap.
    if (kStandingHeight > static_cast<double>(agl))
        SnapToGround(y, agl, 0.0);
}
