// What the user sets and Trovik remembers: the on/off choices and the speed factor. Kept in
// Trovik.prf in the simulator's preferences folder, one "key value" per line: read at start,
// written whenever a setting changes. A broken file never stops the plug-in: its bad lines are
// ignored (and kept), and the simulator's log gets one line about it.
#ifndef TROVIK_SETTINGS_H
#define TROVIK_SETTINGS_H

// At start: the defaults, then whatever the file holds.
void LoadSettings();

// The choices that are on or off, each a check mark in the menu: joystick slew (on by default);
// one step per tap, the key's release doing nothing (off: the press and the release each step);
// the keypad and F-keys (on: off leaves every key to the simulator); the Y hot key (on).
enum class Choice { kJoystickSlew, kOneStepPerTap, kSlewKeys, kHotKey, kCount };
bool Chosen(Choice choice);
// Written to the file at once when it changes.
void Choose(Choice choice, bool on);

// Scales linear speeds (the stick's, held moves and climbs): 1/8 to 16, doubled or halved a step;
// at either end of the range a further step changes nothing.
double SpeedFactor();
void FasterOrSlower(bool faster);

// The factor as the file and the overlay write it: "4", "1/2" and so on.
const char* SpeedFactorText();

#endif  // TROVIK_SETTINGS_H
