#include "places.h"

#include <math.h>

#include "bindings.h"
#include "ground.h"
#include "overlay.h"
#include "settings.h"

namespace {

// Where slew mode last began, in local and world coordinates, and where the origin was then.
struct Start {
    bool known;
    double x, y, z;
    float psi, theta, phi;
    float latRef, lonRef;
    double latitude, longitude, elevation;
};
Start gStart = {};

// A ground this close to the one a standing place was saved on is the same ground.
constexpr double kSameGround = 1.0;

void PutAircraft(double x, double y, double z, float psi, float theta, float phi) {
    WriteDouble(gPlaneX, x);
    WriteDouble(gPlaneY, y);
    WriteDouble(gPlaneZ, z);
    WriteFloat(gPlanePSI, psi);
    WriteFloat(gPlaneTHETA, theta);
    WriteFloat(gPlanePHI, phi);
    ShowWheelsHeight(HeightAboveRestHere());
}

// The nearest airport's id, letters and digits only (it is one word of the settings file).
void NearestAirport(double latitude, double longitude, char (&id)[16]) {
    id[0] = '\0';
    float lat = static_cast<float>(latitude);
    float lon = static_cast<float>(longitude);
    const XPLMNavRef ref = XPLMFindNavAid(nullptr, nullptr, &lat, &lon, nullptr, xplm_Nav_Airport);
    if (ref == XPLM_NAV_NOT_FOUND)
        return;
    char found[32] = {};
    XPLMGetNavAidInfo(ref, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, found, nullptr,
                      nullptr);
    found[sizeof found - 1] = '\0';
    size_t n = 0;
    for (const char* c = found; *c != '\0' && n + 1 < sizeof id; ++c) {
        if (AirportIdChar(*c))
            id[n++] = *c;
    }
    id[n] = '\0';
}

}  // namespace

void RememberStart() {
    const Snapshot a = ReadSnapshot();
    Start s = {};
    s.x = a.x;
    s.y = a.y;
    s.z = a.z;
    s.psi = a.psi;
    s.theta = a.theta;
    s.phi = a.phi;
    s.latRef = XPLMGetDataf(gLatRef);
    s.lonRef = XPLMGetDataf(gLonRef);
    XPLMLocalToWorld(s.x, s.y, s.z, &s.latitude, &s.longitude, &s.elevation);
    s.known = isfinite(s.x) && isfinite(s.y) && isfinite(s.z);
    gStart = s;
}

void BackToStart(const Snapshot& /*a*/, bool /*fast*/) {
    if (!gStart.known)
        return;
    double x = gStart.x;
    double y = gStart.y;
    double z = gStart.z;
    // Across a move of the origin only: the header warns that world coordinates are less
    // precise than local ones.
    if (XPLMGetDataf(gLatRef) != gStart.latRef || XPLMGetDataf(gLonRef) != gStart.lonRef)
        XPLMWorldToLocal(gStart.latitude, gStart.longitude, gStart.elevation, &x, &y, &z);
    PutAircraft(x, y, z, gStart.psi, gStart.theta, gStart.phi);
}

void SaveHere(int number) {
    Place p = {};
    const Snapshot a = ReadSnapshot();
    const double x = a.x;
    const double y = a.y;
    const double z = a.z;
    const float agl = a.agl;
    XPLMLocalToWorld(x, y, z, &p.latitude, &p.longitude, &p.elevation);
    if (!isfinite(p.latitude) || !isfinite(p.longitude) || !isfinite(p.elevation))
        return;
    const Ground g = GroundUnder(x, y, z, agl);
    double ignored = 0.0;
    if (g.probed) {
        XPLMLocalToWorld(x, static_cast<double>(g.surface), z, &ignored, &ignored, &p.ground);
        p.groundKnown = true;
    } else if (isfinite(agl)) {
        p.ground = p.elevation - static_cast<double>(agl);
        p.groundKnown = true;
    }
    p.psi = a.psi;
    p.theta = a.theta;
    p.phi = a.phi;
    p.standing = kStandingHeight > HeightAboveRest(g);
    NearestAirport(p.latitude, p.longitude, p.airport);
    SavePlace(number, p);
}

void GoThere(int number) {
    const Place& p = SavedPlace(number);
    if (!p.saved)
        return;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    XPLMWorldToLocal(p.latitude, p.longitude, p.elevation, &x, &y, &z);
    if (p.standing && p.groundKnown) {
        // Where the scenery is not loaded yet the probe answers sea level: then the stored
        // height, not the sea.
        const Ground g = GroundUnder(x, y, z, NAN);
        double ignored = 0.0;
        double ground = static_cast<double>(NAN);
        if (g.probed)
            XPLMLocalToWorld(x, static_cast<double>(g.surface), z, &ignored, &ignored, &ground);
        if (fabs(ground - p.ground) <= kSameGround)
            y = static_cast<double>(g.surface) + RestHeight();
    }
    PutAircraft(x, y, z, p.psi, p.theta, p.phi);
}
