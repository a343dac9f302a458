// Slew mode: the flag behind the Y hot key, the path override it holds, and the overlay window.
#ifndef TROVIK_SLEW_TOGGLE_H
#define TROVIK_SLEW_TOGGLE_H

#include "host/xplm.h"

// Exported by name: other plug-ins read (and may write) it to learn whether slew mode is on.
extern "C" PLUGIN_EXPORT int HotKey_Master;

void MyHotKeyCallback(void* inRefcon);

// What the hot key does, for the toggle command.
void ToggleSlewMode();

// A disabled plug-in gets no keys and no commands, so nobody could release an aircraft it left
// frozen: disabling ends slew mode and gives back a camera we still hold. With slew mode off it
// does nothing.
void EndSlewModeForDisable();

// Leaves the simulator as if slew mode had been switched off: used when the plug-in stops, so
// the user's aircraft is never left frozen with no plug-in to release it.
void EndSlewModeForStop();

#endif  // TROVIK_SLEW_TOGGLE_H
