#include "hand_back.h"

#include <math.h>

#include <initializer_list>

#include "bindings.h"
#include "ground.h"

namespace {

constexpr double kDegrees = 3.14159265358979323846 / 180.0;

// Let go more than this above the ground slower than it stalls, an aircraft is given flying
// speed; lower, a nudge up from the ramp must never launch it.
constexpr double kLaunchHeight = 30.0;
constexpr double kMetresPerSecondPerKnot = 0.514444;
constexpr double kSeaLevelDensity = 1.225;
constexpr double kStallMargin = 1.3;

// The world velocity (local x east, y up, z south) and the attitude when slew mode came on.
float gVelocity[3] = {0.0f, 0.0f, 0.0f};
float gAttitude[3] = {0.0f, 0.0f, 0.0f};  // heading, pitch, roll

void ReadAttitude(float attitude[3]) {
    attitude[0] = XPLMGetDataf(gPlanePSI);
    attitude[1] = XPLMGetDataf(gPlaneTHETA);
    attitude[2] = XPLMGetDataf(gPlanePHI);
}

// The rotation from the aircraft's axes (forward, right, down) to north, east, down: heading
// about down, then pitch about right, then roll about forward.
void Rotation(const float attitude[3], double m[3][3]) {
    const double ps = static_cast<double>(attitude[0]) * kDegrees;
    const double th = static_cast<double>(attitude[1]) * kDegrees;
    const double ph = static_cast<double>(attitude[2]) * kDegrees;
    const double cps = cos(ps), sps = sin(ps), cth = cos(th), sth = sin(th);
    const double cph = cos(ph), sph = sin(ph);
    m[0][0] = cps * cth;
    m[0][1] = cps * sth * sph - sps * cph;
    m[0][2] = cps * sth * cph + sps * sph;
    m[1][0] = sps * cth;
    m[1][1] = sps * sth * sph + cps * cph;
    m[1][2] = sps * sth * cph - cps * sph;
    m[2][0] = -sth;
    m[2][1] = cth * sph;
    m[2][2] = cth * cph;
}

// The velocity kept relative to the nose: into the aircraft's axes with the old attitude, out
// again with the new one.
void Turned(const float now[3], float out[3]) {
    double before[3][3];
    double after[3][3];
    Rotation(gAttitude, before);
    Rotation(now, after);
    // North, east, down from local x east, y up, z south.
    const double ned[3] = {0.0 - static_cast<double>(gVelocity[2]),
                           static_cast<double>(gVelocity[0]),
                           0.0 - static_cast<double>(gVelocity[1])};
    double body[3];
    for (int i = 0; i < 3; ++i)
        body[i] = before[0][i] * ned[0] + before[1][i] * ned[1] + before[2][i] * ned[2];
    double turned[3];
    for (int i = 0; i < 3; ++i)
        turned[i] = after[i][0] * body[0] + after[i][1] * body[1] + after[i][2] * body[2];
    // Back to local axes; 0 - v rather than -v, so that no speed comes out as -0.
    out[0] = static_cast<float>(turned[1]);
    out[1] = static_cast<float>(0.0 - turned[2]);
    out[2] = static_cast<float>(0.0 - turned[0]);
}

// 1.3 times the stall speed, true: the indicated speed at the air's density. 0 where the
// aircraft gives no stall speed.
double FlyingSpeed() {
    const double vs = static_cast<double>(XPLMGetDataf(gStallSpeed));
    double rho = static_cast<double>(XPLMGetDataf(gAirDensity));
    if (!(vs > 0.0) || !isfinite(vs))
        return 0.0;
    if (!(rho > 0.0) || !isfinite(rho))
        rho = kSeaLevelDensity;
    return kStallMargin * vs * kMetresPerSecondPerKnot * sqrt(kSeaLevelDensity / rho);
}

// `speed` along the nose at `attitude`, in local axes.
void AlongNose(const float attitude[3], double speed, float out[3]) {
    double m[3][3];
    Rotation(attitude, m);
    out[0] = static_cast<float>(m[1][0] * speed);
    out[1] = static_cast<float>(0.0 - m[2][0] * speed);
    out[2] = static_cast<float>(0.0 - m[0][0] * speed);
}

// A broken value must not reach the flight model: a non-finite one is written as 0.
void Write(XPLMDataRef ref, float value) {
    XPLMSetDataf(ref, isfinite(value) ? value : 0.0f);
}

}  // namespace

void RememberFlight() {
    gVelocity[0] = XPLMGetDataf(gPlaneVX);
    gVelocity[1] = XPLMGetDataf(gPlaneVY);
    gVelocity[2] = XPLMGetDataf(gPlaneVZ);
    ReadAttitude(gAttitude);
}

void HandBackFlight() {
    float now[3];
    ReadAttitude(now);
    // The simulator's own conversion, with half angles.
    const double ps = static_cast<double>(now[0]) * kDegrees / 2.0;
    const double th = static_cast<double>(now[1]) * kDegrees / 2.0;
    const double ph = static_cast<double>(now[2]) * kDegrees / 2.0;
    const double cps = cos(ps), sps = sin(ps), cth = cos(th), sth = sin(th);
    const double cph = cos(ph), sph = sin(ph);
    float q[4] = {static_cast<float>(cps * cth * cph + sps * sth * sph),
                  static_cast<float>(cps * cth * sph - sps * sth * cph),
                  static_cast<float>(cps * sth * cph + sps * cth * sph),
                  static_cast<float>(-cps * sth * sph + sps * cth * cph)};
    bool finite = true;
    for (float f : q)
        finite = finite && isfinite(f);
    // A broken attitude gives no quaternion: the flight model keeps the one it has.
    if (finite)
        XPLMSetDatavf(gPlaneQ, q, 0, 4);

    float velocity[3] = {0.0f, 0.0f, 0.0f};
    const double above = HeightAboveRestHere();
    // Not in the air (or nowhere known): at rest, to settle onto its wheels.
    if (above >= kStandingHeight)
        Turned(now, velocity);
    // High up and too slow to fly: wind is not known here, and the nose is taken however it
    // points.
    const double flying = above > kLaunchHeight ? FlyingSpeed() : 0.0;
    double speed = 0.0;
    for (float v : velocity)
        speed += static_cast<double>(v) * static_cast<double>(v);
    speed = sqrt(speed);
    if (speed < flying)
        AlongNose(now, flying, velocity);
    Write(gPlaneVX, velocity[0]);
    Write(gPlaneVY, velocity[1]);
    Write(gPlaneVZ, velocity[2]);
    // A roll rate from before slew mode must not come back, in whichever set of rates the flight
    // model carries on from, nor a push from an acceleration.
    for (XPLMDataRef still : {gPlaneP, gPlaneQRate, gPlaneR, gPlanePrad, gPlaneQrad, gPlaneRrad,
                              gPlaneAX, gPlaneAY, gPlaneAZ})
        Write(still, 0.0f);
}
