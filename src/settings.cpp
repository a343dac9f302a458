#include "settings.h"

#include <math.h>
#include <stdio.h>
#include <string.h>

#include "host/xplm.h"
#include "settings_file.h"

namespace {

constexpr size_t kLargestFile = 64 * 1024;
constexpr char kFileName[] = "Trovik.prf";
constexpr int kSlowest = -3;  // the factor is 2 to this power: 1/8 ...
constexpr int kFastest = 4;   // ... to 16
const char* const kFactors[] = {"1/8", "1/4", "1/2", "1", "2", "4", "8", "16"};
const char* const kOffOn[] = {"0", "1"};
const char* const kStepWords[] = {"both", "press"};

template <size_t N>
constexpr int Count(const char* const (&)[N]) {
    return static_cast<int>(N);
}

// Each setting's line is its key and one of its words. The first two are written in every file;
// the later ones only where they are not at their default or the file already has them, so that
// a file from before them stays as it was.
struct Setting {
    const char* key;
    const char* const* words;
    int count;
    int initial;  // the default, as a word's index
    bool always;
};
constexpr Setting kSettings[] = {
    {"joystick_slew", kOffOn, Count(kOffOn), 1, true},
    {"speed_factor", kFactors, Count(kFactors), -kSlowest, true},
    {"key_steps", kStepWords, Count(kStepWords), 0, false},
    {"slew_keys", kOffOn, Count(kOffOn), 1, false},
    {"hot_key", kOffOn, Count(kOffOn), 1, false},
};
constexpr int kCount = sizeof kSettings / sizeof kSettings[0];
enum Key { kJoystickSlew, kSpeedFactor, kKeySteps, kSlewKeys, kHotKey };
// Where each choice is among the settings; on is the word at index 1.
constexpr int kChoiceKeys[] = {kJoystickSlew, kKeySteps, kSlewKeys, kHotKey};
static_assert(sizeof kChoiceKeys / sizeof kChoiceKeys[0] == static_cast<int>(Choice::kCount),
              "a setting for every choice");

// Each setting's word, by index.
int gValue[kCount];

// After the settings' keys come the places': place_1 to place_9, each a line of its own shape.
constexpr int kKeys = kCount + kPlaces;
Place gPlaces[kPlaces];

// Where the file lives; empty when the simulator gave no folder, and then nothing is read or
// written.
char gPath[kLongestPath];

// The file as it was read: its lines that are not settings are written back as they were.
char gFile[kLargestFile];
size_t gFileLength = 0;
// It was too large or could not be read: moved aside, never replaced, before the first new one
// is written.
bool gMoveAside = false;
// A save has failed and said so in the log; the next failures say nothing until one succeeds.
bool gSaveFailing = false;

char gOut[kLargestFile];

enum class Line { kComment, kSetting, kBad };

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// An airport id as the file holds it: letters and digits only, so that it stays one word.
bool AirportId(const char* text, char (&id)[16]) {
    if (strcmp(text, "-") == 0) {
        id[0] = '\0';
        return true;
    }
    const size_t n = strlen(text);
    if (n == 0 || n >= sizeof id)
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (!AirportIdChar(text[i]))
            return false;
    }
    memcpy(id, text, n + 1);
    return true;
}

// "LAT LON ELEV GROUND PSI THETA PHI STANDING AIRPORT", every field there and sane.
bool ParsePlace(const char* text, size_t length, Place& place) {
    char line[256];
    if (length >= sizeof line)
        return false;
    memcpy(line, text, length);
    line[length] = '\0';
    char ground[32];
    char airport[32];
    int standing = -1;
    int used = 0;
    if (sscanf(line, "%lf %lf %lf %31s %f %f %f %d %31s %n", &place.latitude, &place.longitude,
               &place.elevation, ground, &place.psi, &place.theta, &place.phi, &standing, airport,
               &used) != 9 ||
        static_cast<size_t>(used) != length) {
        return false;
    }
    char* end = nullptr;
    place.groundKnown = strcmp(ground, "-") != 0;
    place.ground = place.groundKnown ? strtod(ground, &end) : 0.0;
    place.standing = standing == 1;
    return fabs(place.latitude) <= 90.0 && fabs(place.longitude) <= 180.0 &&
           isfinite(place.elevation) &&
           (!place.groundKnown || (*end == '\0' && isfinite(place.ground))) &&
           isfinite(place.psi) && isfinite(place.theta) && isfinite(place.phi) &&
           (standing == 0 || standing == 1) && AirportId(airport, place.airport);
}

// A line as a setting: its key and value (for a place, the place), or a comment (blank, or
// starting with #), or neither.
Line Classify(const char* text, size_t length, int& key, int& value, Place* place = nullptr) {
    while (length > 0 && Blank(text[length - 1]))
        --length;
    size_t i = 0;
    while (i < length && Blank(text[i]))
        ++i;
    if (i == length || text[i] == '#')
        return Line::kComment;
    const size_t keyStart = i;
    while (i < length && !Blank(text[i]))
        ++i;
    const size_t keyLength = i - keyStart;
    while (i < length && Blank(text[i]))
        ++i;
    const char* word = text + i;
    const size_t wordLength = length - i;
    auto is = [](const char* s, size_t n, const char* literal) {
        return n == strlen(literal) && memcmp(s, literal, n) == 0;
    };
    if (keyLength == 7 && memcmp(text + keyStart, "place_", 6) == 0 && text[keyStart + 6] >= '1' &&
        text[keyStart + 6] <= '9') {
        key = kCount + (text[keyStart + 6] - '1');
        Place parsed = {};
        if (!ParsePlace(word, wordLength, parsed))
            return Line::kBad;
        parsed.saved = true;
        if (place != nullptr)
            *place = parsed;
        return Line::kSetting;
    }
    for (key = 0; key < kCount; ++key) {
        if (!is(text + keyStart, keyLength, kSettings[key].key))
            continue;
        for (value = 0; value < kSettings[key].count; ++value) {
            if (is(word, wordLength, kSettings[key].words[value]))
                return Line::kSetting;
        }
        break;
    }
    return Line::kBad;
}

// Calls `each` with every line of the file as read, and its number.
template <typename F>
void ForEachLine(F each) {
    size_t start = 0;
    for (int number = 1; start < gFileLength; ++number) {
        const char* end =
            static_cast<const char*>(memchr(gFile + start, '\n', gFileLength - start));
        const size_t length =
            end != nullptr ? static_cast<size_t>(end - (gFile + start)) : gFileLength - start;
        each(gFile + start, length, number);
        start += length + 1;
    }
}

// The folder of the simulator's preferences, and our file in it.
bool FindPaths() {
    char prefs[kLongestPath] = {};
    XPLMGetPrefsPath(prefs);
    prefs[sizeof prefs - 1] = '\0';
    char* cut = strrchr(prefs, '/');
#if defined(_WIN32)
    char* backslash = strrchr(prefs, '\\');
    if (cut == nullptr || (backslash != nullptr && backslash > cut))
        cut = backslash;
#endif
    if (cut == nullptr)
        return false;
    cut[1] = '\0';
    const int n = snprintf(gPath, sizeof gPath, "%s%s", prefs, kFileName);
    return n > 0 && static_cast<size_t>(n) < sizeof gPath;
}

void Append(size_t& used, const char* text, size_t length) {
    if (used + length > sizeof gOut)
        return;
    memcpy(gOut + used, text, length);
    used += length;
}

// The setting's line as it now stands.
void AppendSetting(size_t& used, int key) {
    char line[200];
    int n = 0;
    if (key >= kCount) {
        const Place& p = gPlaces[key - kCount];
        char ground[32] = "-";
        if (p.groundKnown)
            snprintf(ground, sizeof ground, "%.3f", p.ground);
        n = snprintf(line, sizeof line, "place_%d %.9f %.9f %.3f %s %.3f %.3f %.3f %d %s\n",
                     key - kCount + 1, p.latitude, p.longitude, p.elevation, ground,
                     static_cast<double>(p.psi), static_cast<double>(p.theta),
                     static_cast<double>(p.phi), p.standing ? 1 : 0,
                     p.airport[0] != '\0' ? p.airport : "-");
    } else {
        n = snprintf(line, sizeof line, "%s %s\n", kSettings[key].key,
                     kSettings[key].words[gValue[key]]);
    }
    if (n > 0 && static_cast<size_t>(n) < sizeof line)
        Append(used, line, static_cast<size_t>(n));
}

// Whether a file without the setting gets its line.
bool Wanted(int key) {
    if (key >= kCount)
        return gPlaces[key - kCount].saved;
    return kSettings[key].always || gValue[key] != kSettings[key].initial;
}

// Every line of the old file in its place, each setting as it now stands, and the settings it
// lacked at the end; or, `fresh`, our lines alone. False when a line of the old file would not
// fit.
bool Compose(bool fresh, size_t& used) {
    constexpr size_t kOurs = 2000;  // every setting's line and nine places'
    used = 0;
    bool written[kKeys] = {};
    bool whole = true;
    if (fresh || gFileLength == 0) {
        const char header[] =
            "# Trovik's settings, written when they change in the simulator.\n"
            "# joystick_slew 0 or 1; speed_factor 1/8, 1/4, 1/2, 1, 2, 4, 8 or 16.\n";
        Append(used, header, sizeof header - 1);
    }
    if (!fresh) {
        ForEachLine([&](const char* text, size_t length, int) {
            int key = 0;
            int value = 0;
            if (Classify(text, length, key, value) == Line::kSetting) {
                if (!written[key])
                    AppendSetting(used, key);
                written[key] = true;
            } else if (used + length + 1 + kOurs <= sizeof gOut) {
                Append(used, text, length);
                Append(used, "\n", 1);
            } else {
                whole = false;
            }
        });
    }
    for (int key = 0; key < kKeys; ++key) {
        if (!written[key] && Wanted(key))
            AppendSetting(used, key);
    }
    return whole;
}

void Log(const char* format, const char* a, const char* b) {
    char line[3 * kLongestPath];
    snprintf(line, sizeof line, format, a, b);
    XPLMDebugString(line);
}

// A file that would outgrow the limit is not cut: it is moved aside whole and a fresh one
// written. A failure is logged once, until a save succeeds.
void Save() {
    if (gPath[0] == '\0')
        return;
    size_t used = 0;
    const bool fresh = !Compose(false, used);
    if (fresh)
        Compose(true, used);
    Replaced replaced;
    if (!ReplaceSettingsFile(gPath, gMoveAside || fresh, gOut, used, replaced)) {
        if (!gSaveFailing)
            Log("Trovik: cannot save settings to %s: %s\n", gPath, replaced.reason);
        gSaveFailing = true;
        return;
    }
    gSaveFailing = false;
    gMoveAside = false;
    // The old lines are in the file aside now, not ours to write again.
    if (fresh)
        gFileLength = 0;
    if (fresh && replaced.movedTo[0] != '\0') {
        Log("Trovik: %s would grow past 64 KiB; it was moved to %s and written afresh\n", gPath,
            replaced.movedTo);
    }
}

}  // namespace

void LoadSettings() {
    for (int key = 0; key < kCount; ++key)
        gValue[key] = kSettings[key].initial;
    for (Place& p : gPlaces)
        p = Place{};
    gFileLength = 0;
    gMoveAside = false;
    gSaveFailing = false;
    // Native paths on every platform: Unix style on macOS too, not the old colon-separated one.
    XPLMEnableFeature("XPLM_USE_NATIVE_PATHS", 1);
    if (!FindPaths()) {
        gPath[0] = '\0';
        return;
    }
    const ReadResult read = ReadSettingsFile(gPath, gFile, sizeof gFile, gFileLength);
    // One line in the simulator's log at most, whatever is wrong with the file.
    char log[kLongestPath + 200];
    log[0] = '\0';
    if (read == ReadResult::kFailed) {
        gFileLength = 0;
        gMoveAside = true;
        snprintf(log, sizeof log,
                 "Trovik: cannot read %s; using the default settings, and moving it aside when "
                 "they change\n",
                 gPath);
    } else if (read == ReadResult::kTooLarge) {
        gFileLength = 0;
        gMoveAside = true;
        snprintf(log, sizeof log,
                 "Trovik: %s is larger than 64 KiB; using the default settings, and moving it "
                 "aside when they change\n",
                 gPath);
    }
    int bad = 0;
    int first = 0;
    ForEachLine([&](const char* text, size_t length, int number) {
        int key = 0;
        int value = 0;
        Place place = {};
        const Line line = Classify(text, length, key, value, &place);
        if (line == Line::kBad && bad++ == 0)
            first = number;
        if (line == Line::kSetting && key >= kCount)
            gPlaces[key - kCount] = place;
        else if (line == Line::kSetting)
            gValue[key] = value;
    });
    if (bad == 1) {
        snprintf(log, sizeof log, "Trovik: %s: line %d is not a setting; it is ignored\n", gPath,
                 first);
    } else if (bad > 1) {
        snprintf(log, sizeof log,
                 "Trovik: %s: line %d and %d more are not settings; they are ignored\n", gPath,
                 first, bad - 1);
    }
    if (log[0] != '\0')
        XPLMDebugString(log);
}

bool Chosen(Choice choice) {
    return gValue[kChoiceKeys[static_cast<int>(choice)]] == 1;
}

void Choose(Choice choice, bool on) {
    int& value = gValue[kChoiceKeys[static_cast<int>(choice)]];
    if (value == (on ? 1 : 0))
        return;
    value = on ? 1 : 0;
    Save();
}

double SpeedFactor() {
    const int power = gValue[kSpeedFactor] + kSlowest;
    return power >= 0 ? static_cast<double>(1 << power) : 1.0 / static_cast<double>(1 << -power);
}

void FasterOrSlower(bool faster) {
    const int power = gValue[kSpeedFactor] + kSlowest + (faster ? 1 : -1);
    if (power < kSlowest || power > kFastest)
        return;
    gValue[kSpeedFactor] = power - kSlowest;
    Save();
}

const char* SpeedFactorText() {
    return kFactors[gValue[kSpeedFactor]];
}

bool AirportIdChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

const Place& SavedPlace(int number) {
    static const Place kNone = {};
    return number >= 1 && number <= kPlaces ? gPlaces[number - 1] : kNone;
}

void SavePlace(int number, const Place& place) {
    if (number < 1 || number > kPlaces)
        return;
    gPlaces[number - 1] = place;
    gPlaces[number - 1].saved = true;
    Save();
}

int PlaceCount() {
    int count = 0;
    for (const Place& p : gPlaces)
        count += p.saved ? 1 : 0;
    return count;
}
