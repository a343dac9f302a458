// Slew mode: the flag the inputs test, the path override it holds, the overlay window and the
// menu's picture of it.
#ifndef TROVIK_SLEW_MODE_H
#define TROVIK_SLEW_MODE_H

#include "host/xplm.h"

// Exported by name: other plug-ins read (and may write) it to learn whether slew mode is on.
extern "C" PLUGIN_EXPORT int HotKey_Master;

// What the hot key, the toggle command and the menu item do.
void ToggleSlewMode();

// A disabled plug-in gets no keys and no commands, so nobody could release an aircraft it left
// frozen: disabling ends slew mode and gives back a camera we still hold. With slew mode off it
// does nothing.
void EndSlewModeForDisable();

// Leaves the simulator as if slew mode had been switched off: used when the plug-in stops, so
// the user's aircraft is never left frozen with no plug-in to release it.
void EndSlewModeForStop();

#endif  // TROVIK_SLEW_MODE_H
