// What the plug-in publishes: its commands, the text the simulator shows for each, and the key
// that performs the same action; and the datarefs it binds. Shared by the tests and the fuzzer,
// which check against it.
#ifndef TROVIK_TESTS_PUBLISHED_H
#define TROVIK_TESTS_PUBLISHED_H

#include "host/xplm.h"

namespace trovik_published {

// What a command does: a slew action once at its press, or at its press and then every frame
// it is held, in slew mode only; or a mode or setting command, at its press in any mode.
enum class Acts { kOnce, kHeld, kAnyMode };

struct Published {
    const char* name;
    const char* description;
    int key;  // the key with the same action (0 for the toggles and the speed: Y is a hot key)
    int flags;
    Acts acts;
};

inline const Published kPublished[] = {
    {"trovik/toggle", "Toggle slew mode", 0, 0, Acts::kAnyMode},
    {"trovik/forward", "Slew forward", XPLM_VK_NUMPAD8, 0, Acts::kHeld},
    {"trovik/forward_fast", "Slew forward fast", XPLM_VK_NUMPAD8, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/backward", "Slew backward", XPLM_VK_NUMPAD2, 0, Acts::kHeld},
    {"trovik/backward_fast", "Slew backward fast", XPLM_VK_NUMPAD2, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/left", "Slew left", XPLM_VK_NUMPAD4, 0, Acts::kHeld},
    {"trovik/left_fast", "Slew left fast", XPLM_VK_NUMPAD4, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/right", "Slew right", XPLM_VK_NUMPAD6, 0, Acts::kHeld},
    {"trovik/right_fast", "Slew right fast", XPLM_VK_NUMPAD6, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/turn_left", "Turn left", XPLM_VK_NUMPAD1, 0, Acts::kHeld},
    {"trovik/turn_left_fast", "Turn left fast", XPLM_VK_NUMPAD1, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/turn_right", "Turn right", XPLM_VK_NUMPAD3, 0, Acts::kHeld},
    {"trovik/turn_right_fast", "Turn right fast", XPLM_VK_NUMPAD3, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/roll_left", "Roll left", XPLM_VK_NUMPAD7, 0, Acts::kHeld},
    {"trovik/roll_left_fast", "Roll left fast", XPLM_VK_NUMPAD7, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/roll_right", "Roll right", XPLM_VK_NUMPAD9, 0, Acts::kHeld},
    {"trovik/roll_right_fast", "Roll right fast", XPLM_VK_NUMPAD9, xplm_ShiftFlag, Acts::kHeld},
    {"trovik/face_north", "Face north", XPLM_VK_NUMPAD5, 0, Acts::kOnce},
    {"trovik/level", "Face north and level the wings and nose", XPLM_VK_NUMPAD5, xplm_ShiftFlag,
     Acts::kOnce},
    {"trovik/down", "Slew down", XPLM_VK_F2, 0, Acts::kHeld},
    {"trovik/down_fast", "Slew down fast", XPLM_VK_F1, 0, Acts::kHeld},
    {"trovik/up", "Slew up", XPLM_VK_F3, 0, Acts::kHeld},
    {"trovik/up_fast", "Slew up fast", XPLM_VK_F4, 0, Acts::kHeld},
    {"trovik/nose_up", "Pitch nose up", XPLM_VK_F6, 0, Acts::kHeld},
    {"trovik/nose_up_fast", "Pitch nose up fast", XPLM_VK_F5, 0, Acts::kHeld},
    {"trovik/nose_down", "Pitch nose down", XPLM_VK_F7, 0, Acts::kHeld},
    {"trovik/nose_down_fast", "Pitch nose down fast", XPLM_VK_F8, 0, Acts::kHeld},
    {"trovik/top_down_view", "Top-down view", XPLM_VK_S, 0, Acts::kOnce},
    {"trovik/joystick", "Toggle joystick slew", 0, 0, Acts::kAnyMode},
    {"trovik/faster", "Slew faster", 0, 0, Acts::kAnyMode},
    {"trovik/slower", "Slew slower", 0, 0, Acts::kAnyMode},
    {"trovik/one_step_per_tap", "Toggle one step per tap", 0, 0, Acts::kAnyMode},
    {"trovik/slew_keys", "Toggle the keypad and F-keys", 0, 0, Acts::kAnyMode},
    {"trovik/hot_key", "Toggle the Y hot key", 0, 0, Acts::kAnyMode},
    {"trovik/back_to_start", "Back to where slew mode began", 0, 0, Acts::kOnce},
    {"trovik/save_place_1", "Save place 1", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_2", "Save place 2", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_3", "Save place 3", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_4", "Save place 4", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_5", "Save place 5", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_6", "Save place 6", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_7", "Save place 7", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_8", "Save place 8", 0, 0, Acts::kAnyMode},
    {"trovik/save_place_9", "Save place 9", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_1", "Go to place 1", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_2", "Go to place 2", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_3", "Go to place 3", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_4", "Go to place 4", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_5", "Go to place 5", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_6", "Go to place 6", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_7", "Go to place 7", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_8", "Go to place 8", 0, 0, Acts::kAnyMode},
    {"trovik/go_to_place_9", "Go to place 9", 0, 0, Acts::kAnyMode},
};

// The datarefs the plug-in looks up at start, in its order.
inline const char* const kBindings[] = {
    "sim/operation/override/override_planepath",
    "sim/flightmodel/position/local_x",
    "sim/flightmodel/position/local_y",
    "sim/flightmodel/position/local_z",
    "sim/flightmodel/position/y_agl",
    "sim/flightmodel/position/psi",
    "sim/flightmodel/position/theta",
    "sim/flightmodel/position/phi",
    "sim/flightmodel/position/latitude",
    "sim/flightmodel/position/longitude",
    "sim/flightmodel/position/elevation",
    "sim/flightmodel/position/mag_psi",
    "sim/joystick/yoke_pitch_ratio",
    "sim/joystick/yoke_roll_ratio",
    "sim/joystick/yoke_heading_ratio",
    "sim/flightmodel/failures/onground_any",
    "sim/flightmodel/parts/tire_y_no_deflection",
    "sim/flightmodel/position/q",
    "sim/flightmodel/position/local_vx",
    "sim/flightmodel/position/local_vy",
    "sim/flightmodel/position/local_vz",
    "sim/flightmodel/position/P",
    "sim/flightmodel/position/Q",
    "sim/flightmodel/position/R",
    "sim/time/is_in_replay",
    "sim/time/total_flight_time_sec",
    "sim/flightmodel/position/Prad",
    "sim/flightmodel/position/Qrad",
    "sim/flightmodel/position/Rrad",
    "sim/flightmodel/position/local_ax",
    "sim/flightmodel/position/local_ay",
    "sim/flightmodel/position/local_az",
    "sim/operation/override/override_joystick",
    "sim/operation/override/override_joystick_pitch",
    "sim/operation/override/override_joystick_roll",
    "sim/operation/override/override_joystick_heading",
    "sim/joystick/joy_mapped_axis_value",
    "sim/joystick/joy_mapped_axis_avail",
    "sim/aircraft/view/acf_Vs",
    "sim/weather/rho",
    "sim/graphics/VR/enabled",
    "sim/flightmodel/position/lat_ref",
    "sim/flightmodel/position/lon_ref",
};

// A key that acts in slew mode; every other key passes through untouched.
inline bool Listed(int key) {
    for (const Published& p : kPublished)
        if (p.key != 0 && p.key == key)
            return true;
    return false;
}

}  // namespace trovik_published

#endif  // TROVIK_TESTS_PUBLISHED_H
