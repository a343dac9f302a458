// Slew mode: the flag the inputs test, the path override it holds, and what follows it: the
// overlay, the menu's check and the loop that runs every frame.
#ifndef TROVIK_SLEW_MODE_H
#define TROVIK_SLEW_MODE_H

#include "host/xplm.h"

// Exported by name: other plug-ins read it to learn whether slew mode is on, and may write it to
// switch slew mode off (0) or on (1). We keep our own record of holding the aircraft.
extern "C" PLUGIN_EXPORT int HotKey_Master;

// What the hot key, the toggle command and the menu item do.
void ToggleSlewMode();

// The Y hot key, on key-down with no modifier: registered (true), or left to the simulator. At
// stop, false.
void UseHotKey(bool on);

// Whether slew mode is on, by our own record.
bool SlewModeOn();

// Before every key, command or stick action, and every frame: brings our record in line with
// the simulator's. If another plug-in set HotKey_Master, slew mode takes the aircraft; if it
// cleared it, slew mode lets the aircraft go; if the path override was cleared behind our back,
// slew mode ends without a write. Returns whether slew mode now holds the aircraft.
bool ReconcileSlewMode();

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

#endif  // TROVIK_SLEW_MODE_H
