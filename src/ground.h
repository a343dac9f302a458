// The ground under the aircraft: the terrain probe, the aircraft's rest height (where its
// reference point stands above the ground on its wheels), and the ground a parked aircraft
// follows as it moves.
#ifndef TROVIK_GROUND_H
#define TROVIK_GROUND_H

#include "host/xplm.h"

// At start, knowing no rest height yet; at stop.
void CreateGroundProbe();
void DestroyGroundProbe();

// At slew mode on: measured where the simulator says the aircraft is on the ground, if that is
// news (the flight model has run since slew mode last let go, and no other plug-in holds the
// path); otherwise kept from the last measurement, or taken from the gear geometry before any.
void UpdateRestHeight(bool heldByAnother);
// When slew mode lets go: what the on-ground flag's news is told against.
void RecordHoldEnded();
// A new user aircraft, or the plug-in started again: its gear is not the old one's, and no hold
// of ours is remembered.
void ForgetRestHeight();
double RestHeight();

// The ground under an aircraft whose reference point is at (x, y, z): the probe's surface when
// it finds one that is not a roof over the wheels; otherwise the simulator's `agl`.
struct Ground {
    bool probed;
    float surface;  // when probed
    double height;  // of the reference point above the ground
};
Ground GroundUnder(double x, double y, double z, float agl);

// The reference point's height above where it stands on its wheels: 0 for a parked aircraft.
double HeightAboveRest(const Ground& ground);
// The same where the aircraft now is; not finite where neither the probe nor `agl` knows.
double HeightAboveRestHere();

// Below this over its rest height, the aircraft stands on the ground: a move keeps it there, and
// letting go leaves it at rest.
constexpr double kStandingHeight = 0.07;

// The surface a parked aircraft stands on after a move from `here` to (x, z), `distance` metres
// away, its reference point at `y`: the ground there, unless the probe finds none, a roof, or a
// rise or fall too steep for a slope (a bridge's edge, the end of the loaded scenery); the
// surface it left otherwise.
float GroundAhead(const Ground& here, double x, double y, double z, double distance);

#endif  // TROVIK_GROUND_H
