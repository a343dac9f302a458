// Every action a user can take, one row each: the simulator command that publishes it, the key
// that performs it in slew mode, what it does when pressed and, held, every frame, and the menu
// item that runs it. The key sniffer, the command handler, the held-command clock and the menu
// all read this table and nothing else: a new action is a row here and its step functions.
#ifndef TROVIK_ACTION_TABLE_H
#define TROVIK_ACTION_TABLE_H

#include "host/xplm.h"
#include "menu.h"
#include "slew_mode.h"
#include "slew_motion.h"

// The settings' commands: joystick slew on or off (with the menu's check), the speed factor a
// step up or down.
void ToggleJoystickSlew();
void Faster();
void Slower();

// Which Shift state a key performs the row in: a key that Shift does not change takes either.
enum class Shift { kEither, kWithout, kWith };

struct Key {
    int virtualKey;  // 0: the command alone
    Shift shift;
    bool passesOn;  // the simulator still sees the key after we act on it
};

// A held command: the key's step at the press, then every frame its share of a steady rate per
// second (metres for moves and climbs, degrees for turns, rolls and pitch).
struct Held {
    FrameStep frame;  // null: the command acts once, when pressed
    double fine, fast;
    bool scaled;  // by the speed factor
};

struct Action {
    const char* command;
    const char* description;  // shown in the simulator's keyboard and joystick settings
    Key key;
    Step step;  // a slew action: what a key event or the press does, in slew mode only
    bool fast;  // the form of the step this row performs
    Held held;
    void (*act)() = nullptr;  // or a mode or setting command: what the press does, in any mode
    MenuRole menu = MenuRole::kNone;
};

namespace action_rows {

constexpr Key kNoKey = {0, Shift::kEither, false};
constexpr Key Plain(int key) {
    return {key, Shift::kWithout, false};
}
constexpr Key Shifted(int key) {
    return {key, Shift::kWith, false};
}
constexpr Key Either(int key) {
    return {key, Shift::kEither, false};
}

constexpr Held kOnce = {nullptr, 0.0, 0.0, false};
constexpr Held Moving(FrameStep frame) {
    return {frame, 1.0, 50.0, true};
}
constexpr Held Turning(FrameStep frame) {
    return {frame, 3.0, 30.0, false};
}
constexpr Held Climbing(FrameStep frame) {
    return {frame, 1.0, 30.0, true};
}
constexpr Held Pitching(FrameStep frame) {
    return {frame, 2.0, 20.0, false};
}

// A command that is no slew action: it acts at its press whether slew mode is on or not.
constexpr Action Command(const char* command, const char* description, void (*act)(),
                         MenuRole menu) {
    return {command, description, kNoKey, nullptr, false, kOnce, act, menu};
}

// In the order the commands are made, which is the order the simulator lists them in.
inline constexpr Action kActions[] = {
    // clang-format off
    Command("trovik/toggle", "Toggle slew mode", ToggleSlewMode, MenuRole::kSlewMode),
    {"trovik/forward", "Slew forward", Plain(XPLM_VK_NUMPAD8), Forward, false, Moving(HeldForward)},
    {"trovik/forward_fast", "Slew forward fast", Shifted(XPLM_VK_NUMPAD8), Forward, true,
     Moving(HeldForward)},
    {"trovik/backward", "Slew backward", Plain(XPLM_VK_NUMPAD2), Backward, false,
     Moving(HeldBackward)},
    {"trovik/backward_fast", "Slew backward fast", Shifted(XPLM_VK_NUMPAD2), Backward, true,
     Moving(HeldBackward)},
    {"trovik/left", "Slew left", Plain(XPLM_VK_NUMPAD4), Left, false, Moving(HeldLeft)},
    {"trovik/left_fast", "Slew left fast", Shifted(XPLM_VK_NUMPAD4), Left, true, Moving(HeldLeft)},
    {"trovik/right", "Slew right", Plain(XPLM_VK_NUMPAD6), Right, false, Moving(HeldRight)},
    {"trovik/right_fast", "Slew right fast", Shifted(XPLM_VK_NUMPAD6), Right, true,
     Moving(HeldRight)},
    {"trovik/turn_left", "Turn left", Plain(XPLM_VK_NUMPAD1), TurnLeft, false,
     Turning(HeldTurnLeft)},
    {"trovik/turn_left_fast", "Turn left fast", Shifted(XPLM_VK_NUMPAD1), TurnLeft, true,
     Turning(HeldTurnLeft)},
    {"trovik/turn_right", "Turn right", Plain(XPLM_VK_NUMPAD3), TurnRight, false,
     Turning(HeldTurnRight)},
    {"trovik/turn_right_fast", "Turn right fast", Shifted(XPLM_VK_NUMPAD3), TurnRight, true,
     Turning(HeldTurnRight)},
    {"trovik/roll_left", "Roll left", Plain(XPLM_VK_NUMPAD7), RollLeft, false,
     Turning(HeldRollLeft)},
    {"trovik/roll_left_fast", "Roll left fast", Shifted(XPLM_VK_NUMPAD7), RollLeft, true,
     Turning(HeldRollLeft)},
    {"trovik/roll_right", "Roll right", Plain(XPLM_VK_NUMPAD9), RollRight, false,
     Turning(HeldRollRight)},
    {"trovik/roll_right_fast", "Roll right fast", Shifted(XPLM_VK_NUMPAD9), RollRight, true,
     Turning(HeldRollRight)},
    {"trovik/face_north", "Face north", Plain(XPLM_VK_NUMPAD5), FaceNorth, false, kOnce},
    {"trovik/level", "Face north and level the wings and nose", Shifted(XPLM_VK_NUMPAD5), FaceNorth,
     true, kOnce},
    // The function keys come in pairs, the outer key of each pair the fast one; Shift changes
    // nothing.
    {"trovik/down", "Slew down", Either(XPLM_VK_F2), Down, false, Climbing(HeldDown)},
    {"trovik/down_fast", "Slew down fast", Either(XPLM_VK_F1), Down, true, Climbing(HeldDown)},
    {"trovik/up", "Slew up", Either(XPLM_VK_F3), Up, false, Climbing(HeldUp)},
    {"trovik/up_fast", "Slew up fast", Either(XPLM_VK_F4), Up, true, Climbing(HeldUp)},
    {"trovik/nose_up", "Pitch nose up", Either(XPLM_VK_F6), NoseUp, false, Pitching(HeldNoseUp)},
    {"trovik/nose_up_fast", "Pitch nose up fast", Either(XPLM_VK_F5), NoseUp, true,
     Pitching(HeldNoseUp)},
    {"trovik/nose_down", "Pitch nose down", Either(XPLM_VK_F7), NoseDown, false,
     Pitching(HeldNoseDown)},
    {"trovik/nose_down_fast", "Pitch nose down fast", Either(XPLM_VK_F8), NoseDown, true,
     Pitching(HeldNoseDown)},
    // Once: holding it must not retake the camera every frame. The simulator still sees S.
    {"trovik/top_down_view", "Top-down view", {XPLM_VK_S, Shift::kEither, true}, TopDownView, false,
     kOnce, nullptr, MenuRole::kTopDownView},
    Command("trovik/joystick", "Toggle joystick slew", ToggleJoystickSlew, MenuRole::kJoystickSlew),
    Command("trovik/faster", "Slew faster", Faster, MenuRole::kFaster),
    Command("trovik/slower", "Slew slower", Slower, MenuRole::kSlower),
    // clang-format on
};

}  // namespace action_rows

using action_rows::kActions;
constexpr int kActionCount = sizeof kActions / sizeof kActions[0];

// The row a key event performs, or null for a key that is none of ours.
const Action* ActionForKey(int virtualKey, bool shift);

// A held command's share of a frame of `seconds`, its moves and climbs scaled by `factor`.
FrameShare ShareOf(const Action& action, double seconds, double factor);

#endif  // TROVIK_ACTION_TABLE_H
