// The stick: in slew mode it flies the aircraft, at speeds that grow with its deflection and do
// not depend on the frame rate. Pitch moves it along the heading, roll across it, the rudder
// turns it; a centred stick stops it.
#ifndef TROVIK_JOYSTICK_H
#define TROVIK_JOYSTICK_H

#include "host/xplm.h"

// The flight loop: called every frame while slew mode is on; it reads the stick while joystick
// slew is on.
float MyJoystickFlightLoop(float inElapsedSinceLastCall, float inElapsedTimeSinceLastFlightLoop,
                           int inCounter, void* inRefcon);

#endif  // TROVIK_JOYSTICK_H
