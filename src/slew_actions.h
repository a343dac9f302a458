// The slew actions every input shares: the aircraft read once, the steps the keys and commands
// make, the continuous moves the stick makes, the write guards and the ground snap. They place
// the aircraft and nothing else: whether slew mode is on is the inputs' question.
#ifndef TROVIK_SLEW_ACTIONS_H
#define TROVIK_SLEW_ACTIONS_H

#include "host/xplm.h"

// Each step has a fine and a fast form: Shift on the keypad, or the second key of a pair of
// function keys. Fast north also levels the wings and the nose.
enum SlewAction {
    kSlewForward,
    kSlewBackward,
    kSlewLeft,
    kSlewRight,
    kTurnLeft,
    kTurnRight,
    kRollLeft,
    kRollRight,
    kFaceNorth,
    kSlewDown,
    kSlewUp,
    kNoseUp,
    kNoseDown,
    kTopDownView,
    kSlewActionCount
};

// The aircraft as an input reads it at the start of an event; everything it does computes from
// these values.
struct Snapshot {
    double x, y, z;
    float agl;  // the host stores height above ground, heading and attitude as floats
    float psi, theta, phi;
    float s, c;  // sine and cosine of the heading
};

Snapshot ReadSnapshot();

void PerformSlewAction(SlewAction action, bool fast, const Snapshot& aircraft);

// A continuous move: `forward` and `right` metres along and across the heading, then a turn of
// `turn` degrees, the heading kept within [0, 360). A zero axis writes nothing.
void SlewBy(const Snapshot& aircraft, double forward, double right, double turn);

// A held command's share of one frame: `seconds` of the action at its steady rate, the linear
// ones (moves and climbs) scaled by `factor`. Descents stop at the floors the keys stop at.
void SlewForFrame(SlewAction action, bool fast, const Snapshot& aircraft, double seconds,
                  double factor);

// The ground snap, exported by name for other plug-ins.
extern "C" void check_AGL(float y, float agl);

#endif  // TROVIK_SLEW_ACTIONS_H
