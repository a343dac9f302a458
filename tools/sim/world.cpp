#include "world.h"

#include <cmath>
#include <cstdio>

namespace trovik_sim {

namespace {

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

}  // namespace

bool ParseGround(const std::string& text, GroundShape& shape) {
    shape = GroundShape{};
    double a = 0.0;
    double b = 0.0;
    char extra = 0;
    if (text == "none") {
        shape.kind = GroundShape::Kind::kNone;
        return true;
    }
    if (text == "flat")
        return true;
    if (std::sscanf(text.c_str(), "slope:%lf@%lf%c", &a, &b, &extra) == 2 && a >= -100 &&
        a <= 100 && b >= 0 && b <= 360) {
        shape.kind = GroundShape::Kind::kSlope;
        shape.percent = a;
        shape.heading = b;
        return true;
    }
    if (std::sscanf(text.c_str(), "hill:%lf@%lf%c", &a, &b, &extra) == 2 && a >= -1000 &&
        a <= 1000 && b >= 1 && b <= 100000) {
        shape.kind = GroundShape::Kind::kHill;
        shape.height = a;
        shape.distance = b;
        return true;
    }
    return false;
}

Geo LocalToGeo(const StartPoint& start, double x, double y, double z) {
    Geo g;
    g.latitude = start.latitude - z / kEarthRadius * kDegrees;  // z grows southward
    g.longitude =
        start.longitude + x / (kEarthRadius * std::cos(start.latitude / kDegrees)) * kDegrees;
    g.elevation = y;
    return g;
}

void PlaceAtStart(const StartPoint& start, const GroundShape& ground, double restHeight) {
    hostsim::Host& host = hostsim::Host::get();
    hostsim::Terrain& terrain = host.terrain;
    terrain = hostsim::Terrain{};
    terrain.loaded = ground.kind != GroundShape::Kind::kNone;
    terrain.elevation = start.groundElevation;
    if (ground.kind == GroundShape::Kind::kSlope) {
        terrain.grade = ground.percent / 100.0;
        terrain.uphill = ground.heading;
    } else if (ground.kind == GroundShape::Kind::kHill) {
        const double heading = static_cast<double>(start.heading) / kDegrees;
        terrain.hillHeight = ground.height;
        terrain.hillRadius = ground.distance;
        terrain.hillX = ground.distance * std::sin(heading);
        terrain.hillZ = -ground.distance * std::cos(heading);
    }
    host.flightModel.restHeight = restHeight;
    host.datarefs.setDouble(Position("local_x"), 0.0);
    host.datarefs.setDouble(Position("local_y"), start.groundElevation + restHeight);
    host.datarefs.setDouble(Position("local_z"), 0.0);
    host.datarefs.setFloat(Position("y_agl"), static_cast<float>(restHeight));
    host.datarefs.setInt(paths::kOnGround, 0, 1);
    host.datarefs.setFloat(Position("psi"), start.heading);
    host.datarefs.setFloat(Position("theta"), 0.0f);
    host.datarefs.setFloat(Position("phi"), 0.0f);
    SyncDerived(start);
}

void SyncDerived(const StartPoint& start) {
    hostsim::Host& host = hostsim::Host::get();
    const double x = host.datarefs.getDouble(Position("local_x"));
    const double y = host.datarefs.getDouble(Position("local_y"));
    const double z = host.datarefs.getDouble(Position("local_z"));
    const Geo g = LocalToGeo(start, x, y, z);
    host.datarefs.setDouble(Position("latitude"), g.latitude);
    host.datarefs.setDouble(Position("longitude"), g.longitude);
    host.datarefs.setDouble(Position("elevation"), g.elevation);
    if (!host.terrain.loaded)
        host.datarefs.setFloat(Position("y_agl"), static_cast<float>(y - start.groundElevation));
    double magnetic =
        std::fmod(host.datarefs.getFloat(Position("psi")) - start.magneticVariation, 360.0);
    if (magnetic < 0.0)
        magnetic += 360.0;
    host.datarefs.setFloat(Position("mag_psi"), static_cast<float>(magnetic));
}

}  // namespace trovik_sim
