#include "world.h"

#include <cmath>

#include "hostsim.h"

namespace trovik_sim {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

}  // namespace

std::string PositionRef(const char* name) {
    return std::string("sim/flightmodel/position/") + name;
}

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
    host.setDouble(PositionRef("local_x"), 0.0);
    host.setDouble(PositionRef("local_y"), start.groundElevation);
    host.setDouble(PositionRef("local_z"), 0.0);
    host.setFloat(PositionRef("psi"), start.heading);
    host.setFloat(PositionRef("theta"), 0.0f);
    host.setFloat(PositionRef("phi"), 0.0f);
    SyncDerived(start);
}

void SyncDerived(const StartPoint& start) {
    hostsim::Host& host = hostsim::Host::get();
    const double x = host.getDouble(PositionRef("local_x"));
    const double y = host.getDouble(PositionRef("local_y"));
    const double z = host.getDouble(PositionRef("local_z"));
    const Geo g = LocalToGeo(start, x, y, z);
    host.setDouble(PositionRef("latitude"), g.latitude);
    host.setDouble(PositionRef("longitude"), g.longitude);
    host.setDouble(PositionRef("elevation"), g.elevation);
    host.setFloat(PositionRef("y_agl"), static_cast<float>(y - start.groundElevation));
    double magnetic = std::fmod(host.getFloat(PositionRef("psi")) - start.magneticVariation, 360.0);
    if (magnetic < 0.0)
        magnetic += 360.0;
    host.setFloat(PositionRef("mag_psi"), static_cast<float>(magnetic));
}

}  // namespace trovik_sim
