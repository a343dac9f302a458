// The slew steps every input shares: the aircraft read once, the steps the keys and commands
// make, the write guards and the ground snap. They place the aircraft and nothing else: whether
// slew mode is on is the inputs' question.
#ifndef TROVIK_SLEW_ACTIONS_H
#define TROVIK_SLEW_ACTIONS_H

#include "host/xplm.h"

// The aircraft as an input reads it at the start of an event; everything it does computes from
// these values.
struct Snapshot {
    double x, y, z;
    float agl;  // the host stores height above ground, heading and attitude as floats
    float psi, theta, phi;
    float s, c;  // sine and cosine of the heading
};

Snapshot ReadSnapshot();

// One step of a key or a command's press. Each has a fine and a fast form: Shift on the keypad,
// or the outer key of a pair of function keys. Fast north also levels the wings and the nose.
using Step = void (*)(const Snapshot& aircraft, bool fast);

void Forward(const Snapshot& a, bool fast);
void Backward(const Snapshot& a, bool fast);
void Left(const Snapshot& a, bool fast);
void Right(const Snapshot& a, bool fast);
void TurnLeft(const Snapshot& a, bool fast);
void TurnRight(const Snapshot& a, bool fast);
void RollLeft(const Snapshot& a, bool fast);
void RollRight(const Snapshot& a, bool fast);
void FaceNorth(const Snapshot& a, bool fast);
void Down(const Snapshot& a, bool fast);
void Up(const Snapshot& a, bool fast);
void NoseUp(const Snapshot& a, bool fast);
void NoseDown(const Snapshot& a, bool fast);
void TopDownView(const Snapshot& a, bool fast);

// A broken value in the simulator must not spread: a write that would store NaN or infinity is
// dropped, and the action's other writes still happen.
void WriteFloat(XPLMDataRef ref, float value);
void WriteDouble(XPLMDataRef ref, double value);

// A horizontal move by dz and dx metres: z, then x. A parked aircraft follows the ground; one in
// the air keeps its height.
void Move(const Snapshot& a, double dz, double dx);

// How far a descent goes from `height` over the rest height, for the key, the command and the held
// command alike: `coarse` when fast and above F1's floor, otherwise `fine` when above F2's, and
// nothing below that. A held command's share of a frame stops at the floor it would pass; a
// key's step goes its whole length.
double Descent(double height, bool fast, double coarse, double fine, bool stopAtFloor);

// The ground snap, exported by name for other plug-ins.
extern "C" void check_AGL(float y, float agl);

#endif  // TROVIK_SLEW_ACTIONS_H
