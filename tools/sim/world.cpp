#include "world.h"

#include <cmath>

#include "hostsim.h"

namespace trovik_sim {

namespace {

const char* const kX = "sim/flightmodel/position/local_x";
const char* const kY = "sim/flightmodel/position/local_y";
const char* const kZ = "sim/flightmodel/position/local_z";
constexpr double kDegrees = 180.0 / 3.14159265358979323846;

}  // namespace

Geo LocalToGeo(const StartPoint& start, double x, double y, double z) {
    Geo g;
    g.latitude = start.latitude - z / kEarthRadius * kDegrees;  // z grows southward
    g.longitude =
        start.longitude + x / (kEarthRadius * std::cos(start.latitude / kDegrees)) * kDegrees;
    g.elevation = y;
    return g;
}

void PlaceAtStart(const StartPoint& start) {
    hostsim::Host& host = hostsim::Host::get();
    host.setDouble(kX, 0.0);
    host.setDouble(kY, start.groundElevation);
    host.setDouble(kZ, 0.0);
    host.setFloat("sim/flightmodel/position/psi", start.heading);
    host.setFloat("sim/flightmodel/position/theta", 0.0f);
    host.setFloat("sim/flightmodel/position/phi", 0.0f);
    SyncDerived(start);
}

void SyncDerived(const StartPoint& start) {
    hostsim::Host& host = hostsim::Host::get();
    const double x = host.getDouble(kX);
    const double y = host.getDouble(kY);
    const double z = host.getDouble(kZ);
    const Geo g = LocalToGeo(start, x, y, z);
    host.setDouble("sim/flightmodel/position/latitude", g.latitude);
    host.setDouble("sim/flightmodel/position/longitude", g.longitude);
    host.setDouble("sim/flightmodel/position/elevation", g.elevation);
    host.setFloat("sim/flightmodel/position/y_agl", static_cast<float>(y - start.groundElevation));
    double magnetic =
        std::fmod(host.getFloat("sim/flightmodel/position/psi") - start.magneticVariation, 360.0);
    if (magnetic < 0.0)
        magnetic += 360.0;
    host.setFloat("sim/flightmodel/position/mag_psi", static_cast<float>(magnetic));
}

}  // namespace trovik_sim
