// The scenery under the aircraft and the terrain probes that find it, as XPLMScenery.h describes
// them: the tallest surface on the vertical line, water flagged, a sea-level sphere beyond the
// loaded area, and an error for a wrong struct size or a probe that does not exist.
#include <cmath>

#include "internal.h"

namespace hostsim {

using namespace internal;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The plane alone.
double Plane(const Terrain& t, double x, double z) {
    const double uphill = t.uphill * kPi / 180.0;
    // Local z grows southward, so north is -z.
    return t.elevation + t.grade * (x * std::sin(uphill) - z * std::cos(uphill));
}

// The plane and the hill, without the surfaces over them.
double Base(const Terrain& t, double x, double z) {
    double y = Plane(t, x, z);
    if (t.hillRadius > 0.0) {
        const double d = std::hypot(x - t.hillX, z - t.hillZ);
        if (d < t.hillRadius)
            y += t.hillHeight * (1.0 + std::cos(kPi * d / t.hillRadius)) / 2.0;
    }
    return y;
}

bool Loaded(const Terrain& t, double x, double z) {
    return std::hypot(x - t.loadedX, z - t.loadedZ) <= t.loadedRadius;
}

}  // namespace

void Terrain::moveOrigin(double x, double z) {
    elevation = Plane(*this, x, z);
    hillX -= x;
    hillZ -= z;
    loadedX -= x;
    loadedZ -= z;
    for (Surface& s : surfaces) {
        s.minX -= x, s.maxX -= x, s.centreX -= x;
        s.minZ -= z, s.maxZ -= z, s.centreZ -= z;
    }
}

bool Surface::covers(double x, double z) const {
    if (radius > 0.0)
        return std::hypot(x - centreX, z - centreZ) <= radius;
    return x >= minX && x <= maxX && z >= minZ && z <= maxZ;
}

TerrainHit Terrain::at(double x, double z) const {
    TerrainHit hit;
    if (!loaded)
        return hit;
    hit.hit = true;
    if (!Loaded(*this, x, z))
        return hit;  // the sea-level sphere, dry and level
    hit.y = Base(*this, x, z);
    // The plane's and the hill's slope, from a metre either way.
    const double dx = (Base(*this, x + 1, z) - Base(*this, x - 1, z)) / 2;
    const double dz = (Base(*this, x, z + 1) - Base(*this, x, z - 1)) / 2;
    const double length = std::sqrt(dx * dx + 1 + dz * dz);
    hit.normal[0] = -dx / length;
    hit.normal[1] = 1 / length;
    hit.normal[2] = -dz / length;
    for (const Surface& s : surfaces) {
        if (s.covers(x, z) && s.top > hit.y) {
            hit.y = s.top;
            hit.wet = s.wet;
            hit.normal[0] = 0.0;
            hit.normal[1] = 1.0;
            hit.normal[2] = 0.0;
        }
    }
    return hit;
}

double Terrain::groundBelow(double x, double y, double z) const {
    if (!Loaded(*this, x, z))
        return 0.0;
    double ground = Base(*this, x, z);
    for (const Surface& s : surfaces) {
        if (s.covers(x, z) && s.top > ground && s.top <= y)
            ground = s.top;
    }
    return ground;
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API XPLMProbeRef XPLMCreateProbe(XPLMProbeType inProbeType) {
    Call* call = RECORD("XPLMCreateProbe", {Arg::Int(inProbeType)});
    XPLMProbeRef probe = nullptr;
    if (inProbeType == xplm_ProbeY) {
        probe = Add(H().terrain.probes, hostsim::Probe{});
    } else {
        Misuse("XPLMCreateProbe of a type the simulator does not have");
    }
    Result(call, Arg::Pointer(probe));
    return probe;
}

XPLM_API void XPLMDestroyProbe(XPLMProbeRef inProbe) {
    RECORD("XPLMDestroyProbe", {Arg::Pointer(inProbe)});
    if (!Erase(H().terrain.probes, inProbe))
        Misuse("XPLMDestroyProbe of a probe that does not exist (destroyed twice?)");
}

XPLM_API XPLMProbeResult XPLMProbeTerrainXYZ(XPLMProbeRef inProbe, float inX, float inY, float inZ,
                                             XPLMProbeInfo_t* outInfo) {
    Call* call = RECORD("XPLMProbeTerrainXYZ",
                        {Arg::Pointer(inProbe), Arg::Float(inX), Arg::Float(inY), Arg::Float(inZ)});
    XPLMProbeResult result = xplm_ProbeError;
    if (!Has(H().terrain.probes, inProbe)) {
        Misuse("XPLMProbeTerrainXYZ with a probe that does not exist (destroyed?)");
    } else if (outInfo == nullptr || outInfo->structSize != static_cast<int>(sizeof *outInfo)) {
        Misuse("XPLMProbeTerrainXYZ without structSize set to sizeof(XPLMProbeInfo_t)");
    } else {
        const TerrainHit hit = H().terrain.at(inX, inZ);
        result = hit.hit ? xplm_ProbeHitTerrain : xplm_ProbeMissed;
        if (hit.hit) {
            *outInfo = XPLMProbeInfo_t{outInfo->structSize,
                                       inX,
                                       static_cast<float>(hit.y),
                                       inZ,
                                       static_cast<float>(hit.normal[0]),
                                       static_cast<float>(hit.normal[1]),
                                       static_cast<float>(hit.normal[2]),
                                       0.0f,
                                       0.0f,
                                       0.0f,
                                       hit.wet ? 1 : 0};
        }
    }
    Result(call, Arg::Int(result));
    return result;
}

}  // extern "C"
