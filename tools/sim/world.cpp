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

bool ParseStart(const std::string& text, StartPlace& place) {
    place = StartPlace{};
    double a = 0.0;
    double b = 0.0;
    char extra = 0;
    const struct {
        const char* name;
        StartPlace::Kind kind;
    } names[] = {{"ground", StartPlace::Kind::kGround},
                 {"water", StartPlace::Kind::kWater},
                 {"bridge", StartPlace::Kind::kBridge},
                 {"edge", StartPlace::Kind::kEdge}};
    for (const auto& n : names) {
        if (text == n.name) {
            place.kind = n.kind;
            return true;
        }
    }
    if (std::sscanf(text.c_str(), "air:%lf@%lf%c", &a, &b, &extra) == 2 && a >= 0 && a <= 20000 &&
        b >= 0 && b <= 1000) {
        place.kind = StartPlace::Kind::kAir;
        place.height = a;
        place.knots = b;
        return true;
    }
    return false;
}

namespace {

// The lake, the deck or the edge the start place asks for, around the start point.
void Surroundings(const StartPoint& start, const StartPlace& place, hostsim::Terrain& terrain) {
    const double heading = static_cast<double>(start.heading) / kDegrees;
    if (place.kind == StartPlace::Kind::kWater) {
        // A round basin under the water, so that the shore meets the land around it.
        terrain.hillHeight = -kLakeDepth;
        terrain.hillRadius = kLakeRadius;
        terrain.hillX = terrain.hillZ = 0.0;
        hostsim::Surface lake;
        lake.radius = kLakeRadius;
        lake.top = start.groundElevation;
        lake.wet = true;
        terrain.surfaces.push_back(lake);
    } else if (place.kind == StartPlace::Kind::kBridge) {
        // A deck running across the start heading, the aircraft under its middle.
        hostsim::Surface deck;
        const bool across = std::fabs(std::cos(heading)) > std::fabs(std::sin(heading));
        deck.minX = across ? -500.0 : -kDeckWidth / 2;
        deck.maxX = across ? 500.0 : kDeckWidth / 2;
        deck.minZ = across ? -kDeckWidth / 2 : -500.0;
        deck.maxZ = across ? kDeckWidth / 2 : 500.0;
        deck.top = start.groundElevation + kDeckHeight;
        terrain.surfaces.push_back(deck);
    } else if (place.kind == StartPlace::Kind::kEdge) {
        terrain.loadedRadius = kEdgeDistance;
    }
}

}  // namespace

namespace {
hostsim::Coordinates gStartFrame;
}  // namespace

void InStartFrame(double& x, double& z) {
    const hostsim::Coordinates& now = hostsim::Host::get().coordinates;
    // Unmoved, the very same numbers: a round trip through degrees would change their last bits.
    if (now.latitude == gStartFrame.latitude && now.longitude == gStartFrame.longitude)
        return;
    double latitude = 0.0, longitude = 0.0, elevation = 0.0, y = 0.0;
    now.toWorld(x, 0.0, z, latitude, longitude, elevation);
    gStartFrame.toLocal(latitude, longitude, elevation, x, y, z);
}

void PlaceAtStart(const StartPoint& start, const GroundShape& ground, const StartPlace& place,
                  double restHeight) {
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
    Surroundings(start, place, terrain);
    const bool air = place.kind == StartPlace::Kind::kAir;
    const double up = air ? place.height : 0.0;
    const double speed = air ? place.knots * 0.514444 : 0.0;
    const double heading = static_cast<double>(start.heading) / kDegrees;
    host.flightModel.restHeight = restHeight;
    // The local origin at the start, on a sphere of the Earth's mean radius.
    const double metresPerDegree = kEarthRadius / kDegrees;
    host.coordinates = {start.latitude, start.longitude, metresPerDegree,
                        metresPerDegree * std::cos(start.latitude / kDegrees)};
    gStartFrame = host.coordinates;
    host.datarefs.setFloat("sim/aircraft/view/acf_Vs", kStallKnots);
    host.datarefs.setDouble(Position("local_x"), 0.0);
    host.datarefs.setDouble(Position("local_y"), start.groundElevation + restHeight + up);
    host.datarefs.setDouble(Position("local_z"), 0.0);
    host.datarefs.setFloat(Position("local_vx"), static_cast<float>(speed * std::sin(heading)));
    host.datarefs.setFloat(Position("local_vz"), static_cast<float>(-speed * std::cos(heading)));
    host.datarefs.setFloat(Position("y_agl"), static_cast<float>(restHeight + up));
    host.datarefs.setInt(paths::kOnGround, 0, air && up > 0.0 ? 0 : 1);
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
    double latitude = 0.0, longitude = 0.0, elevation = 0.0;
    host.coordinates.toWorld(x, y, z, latitude, longitude, elevation);
    host.datarefs.setDouble(Position("latitude"), latitude);
    host.datarefs.setDouble(Position("longitude"), longitude);
    host.datarefs.setDouble(Position("elevation"), elevation);
    if (!host.terrain.loaded)
        host.datarefs.setFloat(Position("y_agl"), static_cast<float>(y - start.groundElevation));
    double magnetic =
        std::fmod(host.datarefs.getFloat(Position("psi")) - start.magneticVariation, 360.0);
    if (magnetic < 0.0)
        magnetic += 360.0;
    host.datarefs.setFloat(Position("mag_psi"), static_cast<float>(magnetic));
    // The standard atmosphere's density, up to its tropopause.
    const double ratio = std::fmax(1.0 - 2.25577e-5 * std::fmin(y, 11000.0), 0.0);
    host.datarefs.setFloat("sim/weather/rho", static_cast<float>(1.225 * std::pow(ratio, 4.2559)));
}

}  // namespace trovik_sim
