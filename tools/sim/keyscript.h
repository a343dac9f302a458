// Key scripts: the keys a person would type, as words ("Y 8x20 shift+6 F4 S"), turned into the
// virtual keys, flags and characters the simulator would deliver; and the simulator commands a
// joystick button or a menu item would run.
#ifndef TROVIK_TOOLS_KEYSCRIPT_H
#define TROVIK_TOOLS_KEYSCRIPT_H

#include <string>
#include <vector>

namespace trovik_sim {

// The frame rate of every step but a stick step that names its own.
constexpr int kFramesPerSecond = 60;

enum class StepKind {
    kKey,
    kView,     // the user changes the view
    kCommand,  // a command run once, as a key binding tapped
    kHold,     // a command held down for some frames, as a joystick button
    kMenu,     // a menu item picked
    kStick,    // the stick held at a deflection for some frames, then let go
    kMessage,  // a message from the simulator to the plug-in
    kWait,     // frames with nothing pressed: the flight model flies whatever it has
    kReplay,   // a replay starts or ends: the simulator places the aircraft itself meanwhile
    kVR,       // the user puts the headset on or takes it off
    kOrigin,   // the simulator moves the local origin
};

// The simulator's messages a script can send, by name: "plane_loaded" (the user's aircraft),
// "plane_unloaded", "airport_loaded", "crashed", "scenery_loaded"; 0 for any other name.
int MessageNumber(const std::string& name);

struct KeyStep {
    std::string word;  // as written, for the report
    std::string name;  // canonical: "Y", "numpad 8", "F4", "view", "hold trovik/up"
    StepKind kind = StepKind::kKey;
    int virtualKey = 0;  // -1 for a step that is no key
    int modifiers = 0;   // xplm_ShiftFlag and friends
    char character = 0;  // what the keyboard would type, 0 for none
    // A tap so quick that its press and release reach the plug-in in one frame; otherwise a
    // frame passes between them, as it does under a finger.
    bool sameFrame = false;
    int repeat = 1;  // of a key or view; the frames of a hold or a wait
    int message = 0;
    bool on = false;                      // of a replay or VR step: it starts (or ends)
    std::string target;                   // the command's or the menu item's name
    float stick[3] = {0.0f, 0.0f, 0.0f};  // pitch, roll and rudder ratios, -1 to 1
    int framesPerSecond = kFramesPerSecond;
    double origin[2] = {0.0, 0.0};  // the origin's move east and south, metres
};

// Parses a whole script. Words are separated by white space; '#' starts a comment to the end of
// the line. On a bad word returns false with `error` naming it.
bool ParseKeyScript(const std::string& script, std::vector<KeyStep>& steps, std::string& error);

// One word: [shift+][quick+]KEY[xN]. KEY is a letter, a digit or num0..num9 (the numeric keypad),
// F1..F12, or "view" (the user changes the view, which takes the camera back). Or a command:
// cmd:NAME runs it once, hold:NAME:N holds it down for N frames, menu:"ITEM" picks a menu item
// (quotes keep the spaces of a name in a script). Or the stick: stick:PITCH/ROLL/RUDDER:N[@FPS]
// holds it at those ratios for N frames at FPS frames a second (60 unless given), then lets go.
// Or message:NAME, a message from the simulator; or wait:N, N frames with nothing pressed; or
// replay:on and replay:off, a replay starting and ending; or vr:on and vr:off, the simulator
// entering and leaving VR; or origin:EAST/SOUTH, the simulator moving its local origin by those
// metres.
bool ParseKeyWord(const std::string& word, KeyStep& step, std::string& error);

constexpr int kMaxRepeat = 10000;
constexpr int kMaxFramesPerSecond = 1000;

// Text safe to show in a terminal: printable ASCII as it stands, every other byte as \xHH
// (nothing invisible, nothing the terminal would act on); "..." after `shown` bytes.
std::string Printable(const std::string& text, size_t shown = std::string::npos);

// Input quoted for an error message: printable, cut short after 60 bytes with the length said.
std::string Quote(const std::string& text);

}  // namespace trovik_sim

#endif  // TROVIK_TOOLS_KEYSCRIPT_H
