// The aircraft's world for the demo: a start point at a real airport and a flat earth around it,
// so that latitude, longitude, elevation, height above ground and magnetic heading follow from
// the local position and heading the plug-in writes.
#ifndef TROVIK_TOOLS_WORLD_H
#define TROVIK_TOOLS_WORLD_H

#include <string>

namespace trovik_sim {

struct StartPoint {
    // Zurich airport (LSZH), its reference point; the ground there is taken as flat at 432 m.
    double latitude = 47.464722;
    double longitude = 8.549167;
    double groundElevation = 432.0;  // metres above sea level
    float heading = 156.0f;          // true degrees: along the main north-south runway
    // East variation: magnetic heading = true heading - variation.
    double magneticVariation = 3.0;
};

// The simulator's local frame: x east, y up, z south, in metres, origin at the start point with
// y = 0 at sea level. The earth is flat there (a sphere's radius sets the degree lengths).
struct Geo {
    double latitude, longitude, elevation;
};

constexpr double kEarthRadius = 6371000.0;

// The full path of one of the simulator's aircraft position datarefs ("psi", "local_x", ...).
std::string PositionRef(const char* name);

Geo LocalToGeo(const StartPoint& start, double x, double y, double z);

// Places the aircraft at the start point, on the ground, level, and syncs every dataref.
void PlaceAtStart(const StartPoint& start);

// Recomputes latitude, longitude, elevation, height above ground and magnetic heading from the
// local position and heading, as the simulator does every frame.
void SyncDerived(const StartPoint& start);

}  // namespace trovik_sim

#endif  // TROVIK_TOOLS_WORLD_H
