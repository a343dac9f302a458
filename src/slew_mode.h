// Slew mode: the flag the inputs test, the path override it holds, the overlay window, the
// menu's picture of it, and the flight loop that watches it every frame and lets the stick slew.
#ifndef TROVIK_SLEW_MODE_H
#define TROVIK_SLEW_MODE_H

#include "host/xplm.h"

// Exported by name: other plug-ins read it to learn whether slew mode is on, and may write it to
// switch slew mode off (0) or on (1). We keep our own record of holding the aircraft.
extern "C" PLUGIN_EXPORT int HotKey_Master;

// What the hot key, the toggle command and the menu item do.
void ToggleSlewMode();

// Whether slew mode is on, by our own record.
bool SlewModeOn();

// Before every key, command or stick action: follows a change another plug-in made to
// HotKey_Master (taking the aircraft, or letting it go), and ends slew mode without a write if
// the path override was cleared behind our back. True while the aircraft is ours to move.
bool SlewModeHeld();

// A message from the simulator. When it has placed the aircraft itself (the user's aircraft
// loaded or unloaded, an airport, a crash), slew mode ends without handing back a velocity or
// attitude, and the camera goes back; a new user aircraft's rest height is not the old one's.
void HearMessage(int message, bool usersAircraft);

// A disabled plug-in gets no keys and no commands, so nobody could release an aircraft it left
// frozen: disabling ends slew mode and gives back a camera we still hold.
void EndSlewModeForDisable();

// Leaves the simulator as if slew mode had been switched off: used when the plug-in stops, so
// the user's aircraft is never left frozen with no plug-in to release it.
void EndSlewModeForStop();

// The flight loop, handed over at start and created suspended, runs every frame while slew mode
// is on and is suspended otherwise: out of slew mode nothing of ours runs per frame.
void CreateSlewFlightLoop(XPLMFlightLoop_f callback);
void DestroySlewFlightLoop();

// Each call of the loop gives the frame's duration, which held commands and the stick move by:
// clamped to 0.1 s, and 0 for the first call after the loop was set running, whose time covers
// the pause. Returns it.
double RecordFrame(float elapsedSinceLastCall);
double FrameSeconds();

// Joystick slew on or off, the setting and the menu's check.
void ToggleJoystickSlew();

#endif  // TROVIK_SLEW_MODE_H
