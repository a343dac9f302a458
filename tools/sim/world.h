// The aircraft's world for the demo: a start point at a real airport and a flat earth around it,
// so that latitude, longitude, elevation and magnetic heading follow from the local position and
// heading the plug-in writes; and the ground there, flat or shaped, for the headless host's
// terrain.
#ifndef TROVIK_TOOLS_WORLD_H
#define TROVIK_TOOLS_WORLD_H

#include <string>

#include "hostsim.h"
#include "paths.h"

namespace trovik_sim {

namespace paths = hostsim::paths;
using hostsim::paths::Position;

struct StartPoint {
    // Zurich airport (LSZH), its reference point, where the ground is at 432 m.
    double latitude = 47.464722;
    double longitude = 8.549167;
    double groundElevation = 432.0;  // metres above sea level
    float heading = 156.0f;          // true degrees: along the main north-south runway
    // East variation: magnetic heading = true heading - variation.
    double magneticVariation = 3.0;
};

// The ground around the start point: flat, a slope rising `percent` % toward `heading`, or a
// round hill `height` m high whose top lies `distance` m ahead along the start heading (and as
// wide as it is far). Or none loaded: the terrain probe finds nothing, as where the simulator's
// scenery has not loaded, while its height above ground still counts from the flat ground.
struct GroundShape {
    enum class Kind { kNone, kFlat, kSlope, kHill } kind = Kind::kFlat;
    double percent = 0.0, heading = 0.0;
    double height = 0.0, distance = 0.0;
};

// "none", "flat", "slope:PERCENT@HEADING" or "hill:HEIGHT@DISTANCE"; false if `text` is none of
// them.
bool ParseGround(const std::string& text, GroundShape& shape);

// Where the aircraft begins: standing on the ground; flying level along the start heading
// `height` m above it at `knots`; floating on a lake; on the ground under a bridge deck; or a
// short way inside the edge of the loaded scenery.
struct StartPlace {
    enum class Kind { kGround, kAir, kWater, kBridge, kEdge } kind = Kind::kGround;
    double height = 0.0, knots = 0.0;
};

// The lake is 1.5 km across and 5 m deep at the start point; the deck 8 m over the ground and
// 30 m wide, across the start heading; the scenery's edge 60 m from the start point.
constexpr double kLakeRadius = 750.0;
constexpr double kLakeDepth = 5.0;
constexpr double kDeckHeight = 8.0;
constexpr double kDeckWidth = 30.0;
constexpr double kEdgeDistance = 60.0;

// "ground", "air:HEIGHT@KNOTS", "water", "bridge" or "edge"; false if `text` is none of them.
bool ParseStart(const std::string& text, StartPlace& place);

// The aircraft the demo flies: it stalls at this many knots, indicated.
constexpr float kStallKnots = 50.0f;

// The simulator's local frame: x east, y up, z south, in metres, origin at the start point with
// y = 0 at sea level. The earth is flat there (a sphere's radius sets the degree lengths): the
// host's coordinates turn it into latitude and longitude, and move its origin.
constexpr double kEarthRadius = 6371000.0;

// A local position as it was at the start, before any move of the origin: what the report and
// the picture show, so that a re-centring is no jump.
void InStartFrame(double& x, double& z);

// Loads the ground into the host and places the aircraft at the start point as `place` says,
// its reference point `restHeight` m above its wheels, level, and syncs every dataref.
void PlaceAtStart(const StartPoint& start, const GroundShape& ground, const StartPlace& place,
                  double restHeight);

// Recomputes latitude, longitude, elevation, magnetic heading and the air's density (the
// standard atmosphere's) from the local position and heading, as the simulator does every
// frame; and, with no terrain loaded into the host, the height above the flat ground.
void SyncDerived(const StartPoint& start);

}  // namespace trovik_sim

#endif  // TROVIK_TOOLS_WORLD_H
