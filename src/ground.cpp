#include "ground.h"

#include <math.h>

#include "bindings.h"

namespace {

// A surface this far above the wheels is over the aircraft (a bridge deck, a roof), not under it.
constexpr double kRoofClearance = 1.0;
// A rise or fall under one move steeper than 1 in 1, and more than this, is an edge, not a slope.
constexpr double kLargestStep = 1.0;
constexpr int kWheels = 10;

XPLMProbeRef gProbe = nullptr;
double gRestHeight = 0.0;
bool gRestMeasured = false;

// When slew mode last let go: the simulator's cycle then, and its flight time. The on-ground flag
// comes from the flight model, which does not run while the path is held, so it is news only once
// the simulator has flown since: a cycle has passed and the flight time has moved on (it stands
// still while paused). Whether the flight model runs before or after a key's callback within a
// cycle is not documented; a cycle and some flight time is the safe reading.
bool gHoldEnded = false;
int gEndCycle = 0;
float gEndFlightTime = 0.0f;

bool FlownSinceHoldEnded() {
    if (!gHoldEnded)
        return true;
    if (XPLMGetCycleNumber() == gEndCycle)
        return false;
    // A simulator without the flight time has only the cycle to tell.
    return gFlightTime == nullptr || XPLMGetDataf(gFlightTime) > gEndFlightTime;
}

// The probe's surface under (x, z), or false where it finds nothing.
bool Probe(double x, double y, double z, float& surface) {
    if (gProbe == nullptr || !isfinite(x) || !isfinite(y) || !isfinite(z))
        return false;
    XPLMProbeInfo_t info;
    info.structSize = static_cast<int>(sizeof info);
    // The probe takes single precision: a millimetre at 10 km from the local origin.
    if (XPLMProbeTerrainXYZ(gProbe, static_cast<float>(x), static_cast<float>(y),
                            static_cast<float>(z), &info) != xplm_ProbeHitTerrain) {
        return false;
    }
    // Water counts as ground: its surface is where a float or a hull rests.
    surface = info.locationY;
    return isfinite(surface);
}

// The lowest wheel's depth below the reference point, uncompressed: a released aircraft settles
// a few centimetres onto its struts rather than springing out of the ground.
double GearDepth() {
    float wheels[kWheels] = {};
    const int count = XPLMGetDatavf(gPlaneTireY, wheels, 0, kWheels);
    float lowest = 0.0f;
    for (int i = 0; i < count && i < kWheels; ++i) {
        if (isfinite(wheels[i]) && wheels[i] < lowest)
            lowest = wheels[i];
    }
    return -static_cast<double>(lowest);
}

}  // namespace

void CreateGroundProbe() {
    gProbe = XPLMCreateProbe(xplm_ProbeY);
    // Started again without being unloaded, the plug-in may now be in another aircraft.
    ForgetRestHeight();
}

void DestroyGroundProbe() {
    if (gProbe == nullptr)
        return;
    XPLMDestroyProbe(gProbe);
    gProbe = nullptr;
}

void RecordHoldEnded() {
    gHoldEnded = true;
    gEndCycle = XPLMGetCycleNumber();
    gEndFlightTime = XPLMGetDataf(gFlightTime);
}

void UpdateRestHeight(bool heldByAnother) {
    // Under another plug-in's held path the flight model has not run either.
    if (!heldByAnother && FlownSinceHoldEnded() && XPLMGetDatai(gPlaneOnGround) != 0) {
        const Ground g = GroundUnder(XPLMGetDatad(gPlaneX), XPLMGetDatad(gPlaneY),
                                     XPLMGetDatad(gPlaneZ), XPLMGetDataf(gPlaneY_AGL));
        if (isfinite(g.height)) {
            gRestHeight = fmax(g.height, 0.0);
            gRestMeasured = true;
            return;
        }
    }
    if (!gRestMeasured)
        gRestHeight = GearDepth();
}

void ForgetRestHeight() {
    gRestMeasured = false;
    gRestHeight = 0.0;
    gHoldEnded = false;
}

double RestHeight() {
    return gRestHeight;
}

Ground GroundUnder(double x, double y, double z, float agl) {
    Ground g{false, 0.0f, static_cast<double>(agl)};
    if (Probe(x, y, z, g.surface) &&
        static_cast<double>(g.surface) <= y - gRestHeight + kRoofClearance) {
        g.probed = true;
        g.height = y - static_cast<double>(g.surface);
    }
    return g;
}

double HeightAboveRest(const Ground& ground) {
    return ground.height - gRestHeight;
}

double HeightAboveRestHere() {
    return HeightAboveRest(GroundUnder(XPLMGetDatad(gPlaneX), XPLMGetDatad(gPlaneY),
                                       XPLMGetDatad(gPlaneZ), XPLMGetDataf(gPlaneY_AGL)));
}

float GroundAhead(const Ground& here, double x, double y, double z, double distance) {
    // Ahead, a surface too far above the wheels is a roof only where it rises more than a slope
    // could under this move: the same test as for a step, so that a steep hill climbed in long
    // moves is not taken for a roof and entered.
    float there = 0.0f;
    if (!Probe(x, y, z, there))
        return here.surface;
    const double rise = fabs(static_cast<double>(there) - static_cast<double>(here.surface));
    return rise > fmax(kLargestStep, distance) ? here.surface : there;
}
