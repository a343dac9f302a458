// Continuous slewing: the stick's moves and a held command's share of each frame, at steady rates
// that do not depend on the frame rate.
#ifndef TROVIK_SLEW_MOTION_H
#define TROVIK_SLEW_MOTION_H

#include "slew_actions.h"

// A continuous move: `forward` and `right` metres along and across the heading, then a turn of
// `turn` degrees, the heading kept within [0, 360). A zero axis writes nothing.
void SlewBy(const Snapshot& aircraft, double forward, double right, double turn);

// How far a held command goes in one frame, in metres or degrees: at its fine rate and at its
// fast one, and which of the two it moves at.
struct FrameShare {
    double fine, fast;
    bool isFast;
    double amount() const { return isFast ? fast : fine; }
};

// A held command's frame. Descents stop at the floors the keys stop at, the fast one going on at
// the fine rate below F1's floor.
using FrameStep = void (*)(const Snapshot& aircraft, const FrameShare& share);

void HeldForward(const Snapshot& a, const FrameShare& share);
void HeldBackward(const Snapshot& a, const FrameShare& share);
void HeldLeft(const Snapshot& a, const FrameShare& share);
void HeldRight(const Snapshot& a, const FrameShare& share);
void HeldTurnLeft(const Snapshot& a, const FrameShare& share);
void HeldTurnRight(const Snapshot& a, const FrameShare& share);
void HeldRollLeft(const Snapshot& a, const FrameShare& share);
void HeldRollRight(const Snapshot& a, const FrameShare& share);
void HeldDown(const Snapshot& a, const FrameShare& share);
void HeldUp(const Snapshot& a, const FrameShare& share);
void HeldNoseUp(const Snapshot& a, const FrameShare& share);
void HeldNoseDown(const Snapshot& a, const FrameShare& share);

#endif  // TROVIK_SLEW_MOTION_H
