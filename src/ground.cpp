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

void UpdateRestHeight(bool onGroundIsNews) {
    if (onGroundIsNews && XPLMGetDatai(gPlaneOnGround) != 0) {
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
