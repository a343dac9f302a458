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

// A place the user saved: where the aircraft's reference point was, in world coordinates (the
// local ones move as the simulator re-centres them), how it stood, whether on its wheels, the
// ground under it where one was found, and the nearest airport's id then ("" for none).
struct Place {
    bool saved;
    double latitude, longitude;  // degrees
    double elevation;            // metres above sea level
    bool groundKnown;
    double ground;  // metres above sea level
    float psi, theta, phi;
    bool standing;
    char airport[16];
};
constexpr int kPlaces = 9;
// What an airport id may hold in the file, where it is one word: letters and digits.
bool AirportIdChar(char c);

// Places 1 to 9; an empty one is not `saved`.
const Place& SavedPlace(int number);
// Written to the file at once.
void SavePlace(int number, const Place& place);
int PlaceCount();

#endif  // TROVIK_SETTINGS_H
