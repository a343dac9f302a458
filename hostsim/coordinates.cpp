// Local and world coordinates, as XPLMGraphics.h describes them, over a flat chart of the
// scenery: the reference point moves, and every local coordinate shifts with it.
#include "internal.h"

namespace hostsim {

using namespace internal;

void Coordinates::toLocal(double lat, double lon, double alt, double& x, double& y,
                          double& z) const {
    x = (lon - longitude) * metresPerDegreeLongitude;
    y = alt;
    z = -(lat - latitude) * metresPerDegreeLatitude;  // z grows southward
}

void Coordinates::toWorld(double x, double y, double z, double& lat, double& lon,
                          double& alt) const {
    lat = latitude - z / metresPerDegreeLatitude;
    lon = longitude + x / metresPerDegreeLongitude;
    alt = y;
}

void Coordinates::moveOrigin(double x, double z) {
    double ignored = 0.0;
    toWorld(x, 0.0, z, latitude, longitude, ignored);
    DataRefs& d = H().datarefs;
    const std::string position = "sim/flightmodel/position/";
    for (const auto& [axis, by] : {std::pair{"local_x", x}, std::pair{"local_z", z}}) {
        if (d.has(position + axis))
            d.setDouble(position + axis, d.getDouble(position + axis) - by);
    }
    for (const auto& [ref, value] :
         {std::pair{"lat_ref", latitude}, std::pair{"lon_ref", longitude}}) {
        if (d.has(position + ref))
            d.setFloat(position + ref, static_cast<float>(value));
    }
    H().terrain.moveOrigin(x, z);
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

namespace {

// The three results into the caller's pointers and onto the call's record; a null pointer is
// misuse.
void GiveThree(const char* fn, Call* call, const double (&values)[3], double* a, double* b,
               double* c) {
    if (a == nullptr || b == nullptr || c == nullptr) {
        Misuse(std::string(fn) + " with a null out-pointer");
        return;
    }
    *a = values[0], *b = values[1], *c = values[2];
    for (double v : values) {
        if (call != nullptr)
            call->args.push_back(Arg::Double(v));
    }
}

}  // namespace

extern "C" {

XPLM_API void XPLMWorldToLocal(double inLatitude, double inLongitude, double inAltitude,
                               double* outX, double* outY, double* outZ) {
    Call* call = RECORD("XPLMWorldToLocal", {Arg::Double(inLatitude), Arg::Double(inLongitude),
                                             Arg::Double(inAltitude)});
    double local[3] = {};
    H().coordinates.toLocal(inLatitude, inLongitude, inAltitude, local[0], local[1], local[2]);
    GiveThree("XPLMWorldToLocal", call, local, outX, outY, outZ);
}

XPLM_API void XPLMLocalToWorld(double inX, double inY, double inZ, double* outLatitude,
                               double* outLongitude, double* outAltitude) {
    Call* call = RECORD("XPLMLocalToWorld", {Arg::Double(inX), Arg::Double(inY), Arg::Double(inZ)});
    double world[3] = {};
    H().coordinates.toWorld(inX, inY, inZ, world[0], world[1], world[2]);
    GiveThree("XPLMLocalToWorld", call, world, outLatitude, outLongitude, outAltitude);
}

}  // extern "C"
