// The paths that the host, the tests and the tools share: the simulator's datarefs they set and
// read most, and the name of the file the plug-in keeps its settings in, in the simulator's
// preferences folder.
#ifndef HOSTSIM_PATHS_H
#define HOSTSIM_PATHS_H

#include <string>

namespace hostsim {
namespace paths {

inline constexpr char kOverride[] = "sim/operation/override/override_planepath";
inline constexpr char kOnGround[] = "sim/flightmodel/failures/onground_any";
inline constexpr char kTires[] = "sim/flightmodel/parts/tire_y_no_deflection";
inline constexpr char kReplay[] = "sim/time/is_in_replay";
inline constexpr char kStick[3][40] = {"sim/joystick/yoke_pitch_ratio",
                                       "sim/joystick/yoke_roll_ratio",
                                       "sim/joystick/yoke_heading_ratio"};

// One of the aircraft's position datarefs by its last part: "local_x", "psi", "q".
inline std::string Position(const char* name) {
    return std::string("sim/flightmodel/position/") + name;
}

inline constexpr char kSettingsFile[] = "Trovik.prf";

}  // namespace paths
}  // namespace hostsim

#endif  // HOSTSIM_PATHS_H
