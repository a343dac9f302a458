// Slew mode: the flag the inputs test, the path override it holds, the overlay window, the
// menu's picture of it, and the flight loop that lets the stick slew while it is on.
#ifndef TROVIK_SLEW_MODE_H
#define TROVIK_SLEW_MODE_H

#include "host/xplm.h"

// Exported by name: other plug-ins read (and may write) it to learn whether slew mode is on.
extern "C" PLUGIN_EXPORT int HotKey_Master;

// What the hot key, the toggle command and the menu item do.
void ToggleSlewMode();

// Joystick slew: the stick's flight loop, handed over at start and created suspended, runs every
// frame while slew mode is on and joystick slew is enabled, and is suspended otherwise. Joystick
// slew is enabled at every start: the plug-in keeps no settings. Created before the menu, which
// shows it.
void CreateSlewFlightLoop(XPLMFlightLoop_f callback);
void DestroySlewFlightLoop();
void ToggleJoystickSlew();
bool JoystickSlewEnabled();

// How often the flight loop has been set running: a call that finds a new count is the first
// since it was suspended, and its elapsed time covers the pause.
unsigned SlewFlightLoopRuns();

// A disabled plug-in gets no keys and no commands, so nobody could release an aircraft it left
// frozen: disabling ends slew mode and gives back a camera we still hold. With slew mode off it
// does nothing.
void EndSlewModeForDisable();

// Leaves the simulator as if slew mode had been switched off: used when the plug-in stops, so
// the user's aircraft is never left frozen with no plug-in to release it.
void EndSlewModeForStop();

#endif  // TROVIK_SLEW_MODE_H
