// Places: where slew mode began, to go back to, and the nine places a user saves and returns to.
// Kept in world coordinates too, because the simulator moves the local origin as the aircraft
// travels.
#ifndef TROVIK_PLACES_H
#define TROVIK_PLACES_H

#include "slew_actions.h"

// At slew mode on: where the aircraft is and how it stands.
void RememberStart();

// Back there, exactly: the same local coordinates while the origin has not moved, otherwise the
// world position converted anew. Nothing before slew mode has come on once.
void BackToStart(const Snapshot& a, bool fast);

// Where the aircraft is now, into place `number` (1 to 9), with the nearest airport's id.
void SaveHere(int number);

// The aircraft to place `number`, which must be saved: on the ground there at the current rest
// height if it stood and the probe finds the ground it stood on (within 1 m), otherwise where it
// was. Slew mode is the caller's.
void GoThere(int number);

#endif  // TROVIK_PLACES_H
