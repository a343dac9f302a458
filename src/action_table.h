// Every action a user can take, one row each: the simulator command that publishes it, the key
// that performs it in slew mode, what it does when pressed and, held, every frame, and the menu
// item that runs it. The key sniffer, the command handler, the held-command clock and the menu
// all read this table and nothing else: a new action is a row here and its step functions.
#ifndef TROVIK_ACTION_TABLE_H
#define TROVIK_ACTION_TABLE_H

#include "host/xplm.h"
#include "menu.h"
#include "places.h"
#include "slew_mode.h"
#include "slew_motion.h"

// The settings' commands: each choice on or off (with the menu's check; the hot key registered or
// given back with its), the speed factor a step up or down.
void ToggleJoystickSlew();
void ToggleOneStepPerTap();
void ToggleSlewKeys();
void ToggleHotKey();
void Faster();
void Slower();

// Places' commands: where the aircraft is into a place (in either mode), or the aircraft to a
// saved place (slew mode on first, as Y turns it on). Going to an empty place does nothing.
void SavePlaceNumber(int number);
void GoToPlaceNumber(int number);
template <int N>
void SavePlaceN() {
    SavePlaceNumber(N);
}
template <int N>
void GoToPlaceN() {
    GoToPlaceNumber(N);
}

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

// A slew action acts in slew mode only, through its step; a mode or setting command acts at its
// press whatever the mode.
enum class Kind { kSlew, kCommand };

// Rows are made by Slew() and Command() below, which take their functions by reference: no row
// can lack the function its kind calls.
struct Action {
    const char* command;
    const char* description;  // shown in the simulator's keyboard and joystick settings
    Kind kind;
    Key key;
    Step step;  // a slew action's: what a key event or the press does
    bool fast;  // the form of the step this row performs
    Held held;
    void (*act)();  // a command's: what the press does
    MenuRole menu;
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

using FrameFunction = void(const Snapshot&, const FrameShare&);
constexpr Held kOnce = {nullptr, 0.0, 0.0, false};
constexpr Held Moving(FrameFunction& frame) {
    return {frame, 1.0, 50.0, true};
}
constexpr Held Turning(FrameFunction& frame) {
    return {frame, 3.0, 30.0, false};
}
constexpr Held Climbing(FrameFunction& frame) {
    return {frame, 1.0, 30.0, true};
}
constexpr Held Pitching(FrameFunction& frame) {
    return {frame, 2.0, 20.0, false};
}

constexpr Action Slew(const char* command, const char* description, Key key,
                      void (&step)(const Snapshot&, bool), bool fast, Held held,
                      MenuRole menu = MenuRole::kNone) {
    return {command, description, Kind::kSlew, key, step, fast, held, nullptr, menu};
}

constexpr Action Command(const char* command, const char* description, void (&act)(),
                         MenuRole menu) {
    return {command, description, Kind::kCommand, kNoKey, nullptr, false, kOnce, act, menu};
}

// In the order the commands are made, which is the order the simulator lists them in.
inline constexpr Action kActions[] = {
    // clang-format off
    Command("trovik/toggle", "Toggle slew mode", ToggleSlewMode, MenuRole::kSlewMode),
    Slew("trovik/forward", "Slew forward", Plain(XPLM_VK_NUMPAD8), Forward, false,
         Moving(HeldForward)),
    Slew("trovik/forward_fast", "Slew forward fast", Shifted(XPLM_VK_NUMPAD8), Forward, true,
         Moving(HeldForward)),
    Slew("trovik/backward", "Slew backward", Plain(XPLM_VK_NUMPAD2), Backward, false,
         Moving(HeldBackward)),
    Slew("trovik/backward_fast", "Slew backward fast", Shifted(XPLM_VK_NUMPAD2), Backward, true,
         Moving(HeldBackward)),
    Slew("trovik/left", "Slew left", Plain(XPLM_VK_NUMPAD4), Left, false, Moving(HeldLeft)),
    Slew("trovik/left_fast", "Slew left fast", Shifted(XPLM_VK_NUMPAD4), Left, true,
         Moving(HeldLeft)),
    Slew("trovik/right", "Slew right", Plain(XPLM_VK_NUMPAD6), Right, false, Moving(HeldRight)),
    Slew("trovik/right_fast", "Slew right fast", Shifted(XPLM_VK_NUMPAD6), Right, true,
         Moving(HeldRight)),
    Slew("trovik/turn_left", "Turn left", Plain(XPLM_VK_NUMPAD1), TurnLeft, false,
         Turning(HeldTurnLeft)),
    Slew("trovik/turn_left_fast", "Turn left fast", Shifted(XPLM_VK_NUMPAD1), TurnLeft, true,
         Turning(HeldTurnLeft)),
    Slew("trovik/turn_right", "Turn right", Plain(XPLM_VK_NUMPAD3), TurnRight, false,
         Turning(HeldTurnRight)),
    Slew("trovik/turn_right_fast", "Turn right fast", Shifted(XPLM_VK_NUMPAD3), TurnRight, true,
         Turning(HeldTurnRight)),
    Slew("trovik/roll_left", "Roll left", Plain(XPLM_VK_NUMPAD7), RollLeft, false,
         Turning(HeldRollLeft)),
    Slew("trovik/roll_left_fast", "Roll left fast", Shifted(XPLM_VK_NUMPAD7), RollLeft, true,
         Turning(HeldRollLeft)),
    Slew("trovik/roll_right", "Roll right", Plain(XPLM_VK_NUMPAD9), RollRight, false,
         Turning(HeldRollRight)),
    Slew("trovik/roll_right_fast", "Roll right fast", Shifted(XPLM_VK_NUMPAD9), RollRight, true,
         Turning(HeldRollRight)),
    Slew("trovik/face_north", "Face north", Plain(XPLM_VK_NUMPAD5), FaceNorth, false, kOnce),
    Slew("trovik/level", "Face north and level the wings and nose", Shifted(XPLM_VK_NUMPAD5),
         FaceNorth, true, kOnce),
    // The function keys come in pairs, the outer key of each pair the fast one; Shift changes
    // nothing.
    Slew("trovik/down", "Slew down", Either(XPLM_VK_F2), Down, false, Climbing(HeldDown)),
    Slew("trovik/down_fast", "Slew down fast", Either(XPLM_VK_F1), Down, true, Climbing(HeldDown)),
    Slew("trovik/up", "Slew up", Either(XPLM_VK_F3), Up, false, Climbing(HeldUp)),
    Slew("trovik/up_fast", "Slew up fast", Either(XPLM_VK_F4), Up, true, Climbing(HeldUp)),
    Slew("trovik/nose_up", "Pitch nose up", Either(XPLM_VK_F6), NoseUp, false,
         Pitching(HeldNoseUp)),
    Slew("trovik/nose_up_fast", "Pitch nose up fast", Either(XPLM_VK_F5), NoseUp, true,
         Pitching(HeldNoseUp)),
    Slew("trovik/nose_down", "Pitch nose down", Either(XPLM_VK_F7), NoseDown, false,
         Pitching(HeldNoseDown)),
    Slew("trovik/nose_down_fast", "Pitch nose down fast", Either(XPLM_VK_F8), NoseDown, true,
         Pitching(HeldNoseDown)),
    // Once: holding it must not retake the camera every frame. The simulator still sees S.
    Slew("trovik/top_down_view", "Top-down view", {XPLM_VK_S, Shift::kEither, true}, TopDownView,
         false, kOnce, MenuRole::kTopDownView),
    Command("trovik/joystick", "Toggle joystick slew", ToggleJoystickSlew, MenuRole::kJoystickSlew),
    Command("trovik/faster", "Slew faster", Faster, MenuRole::kFaster),
    Command("trovik/slower", "Slew slower", Slower, MenuRole::kSlower),
    Command("trovik/one_step_per_tap", "Toggle one step per tap", ToggleOneStepPerTap,
            MenuRole::kOneStepPerTap),
    Command("trovik/slew_keys", "Toggle the keypad and F-keys", ToggleSlewKeys,
            MenuRole::kSlewKeys),
    Command("trovik/hot_key", "Toggle the Y hot key", ToggleHotKey, MenuRole::kHotKey),
    Slew("trovik/back_to_start", "Back to where slew mode began", kNoKey, BackToStart, false,
         kOnce, MenuRole::kBackToStart),
    Command("trovik/save_place_1", "Save place 1", SavePlaceN<1>, SaveRole(1)),
    Command("trovik/save_place_2", "Save place 2", SavePlaceN<2>, SaveRole(2)),
    Command("trovik/save_place_3", "Save place 3", SavePlaceN<3>, SaveRole(3)),
    Command("trovik/save_place_4", "Save place 4", SavePlaceN<4>, SaveRole(4)),
    Command("trovik/save_place_5", "Save place 5", SavePlaceN<5>, SaveRole(5)),
    Command("trovik/save_place_6", "Save place 6", SavePlaceN<6>, SaveRole(6)),
    Command("trovik/save_place_7", "Save place 7", SavePlaceN<7>, SaveRole(7)),
    Command("trovik/save_place_8", "Save place 8", SavePlaceN<8>, SaveRole(8)),
    Command("trovik/save_place_9", "Save place 9", SavePlaceN<9>, SaveRole(9)),
    Command("trovik/go_to_place_1", "Go to place 1", GoToPlaceN<1>, GoToRole(1)),
    Command("trovik/go_to_place_2", "Go to place 2", GoToPlaceN<2>, GoToRole(2)),
    Command("trovik/go_to_place_3", "Go to place 3", GoToPlaceN<3>, GoToRole(3)),
    Command("trovik/go_to_place_4", "Go to place 4", GoToPlaceN<4>, GoToRole(4)),
    Command("trovik/go_to_place_5", "Go to place 5", GoToPlaceN<5>, GoToRole(5)),
    Command("trovik/go_to_place_6", "Go to place 6", GoToPlaceN<6>, GoToRole(6)),
    Command("trovik/go_to_place_7", "Go to place 7", GoToPlaceN<7>, GoToRole(7)),
    Command("trovik/go_to_place_8", "Go to place 8", GoToPlaceN<8>, GoToRole(8)),
    Command("trovik/go_to_place_9", "Go to place 9", GoToPlaceN<9>, GoToRole(9)),
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
