// What the user sets and Trovik remembers: joystick slew on or off, and the speed factor. Kept in
// Trovik.prf in the simulator's preferences folder, one "key value" per line: read at start,
// written whenever a setting changes. A broken file never stops the plug-in: its bad lines are
// ignored (and kept), and the simulator's log gets one line about it.
#ifndef TROVIK_SETTINGS_H
#define TROVIK_SETTINGS_H

// At start: the defaults, then whatever the file holds.
void LoadSettings();

bool JoystickSlewSetting();
void SetJoystickSlewSetting(bool on);

// Scales linear speeds (the stick's, held moves and climbs): 1/8 to 16, doubled or halved a step.
double SpeedFactor();
// False, and nothing changed, at either end of the range.
bool FasterOrSlower(bool faster);

// The factor as the overlay shows it: "" at 1, otherwise "x4", "x1/2" and so on.
const char* SpeedFactorLabel();

#endif  // TROVIK_SETTINGS_H
