// The simulator's own work on the user's aircraft once a frame, where a plug-in that holds the
// aircraft can get it wrong: the height above ground and whether it is on the ground.
#include <cmath>

#include "internal.h"

namespace hostsim {

using namespace internal;

namespace {

const char* const kOverride = "sim/operation/override/override_planepath";
const char* const kOnGround = "sim/flightmodel/failures/onground_any";

// Within this of its wheels' contact, either way, the aircraft counts as on the ground.
constexpr double kGroundContact = 0.05;

}  // namespace

void Host::runFlightModel(double /*seconds*/) {
    const bool held = hasDataRef(kOverride) && getInt(kOverride, 0) != 0;
    const std::string p = "sim/flightmodel/position/";
    if (!terrain.loaded || !hasDataRef(p + "local_x") || !hasDataRef(p + "local_y") ||
        !hasDataRef(p + "local_z") || !hasDataRef(p + "y_agl"))
        return;
    const double x = getDouble(p + "local_x");
    const double y = getDouble(p + "local_y");
    const double z = getDouble(p + "local_z");
    const double above = y - groundBelow(x, y, z);
    if (!held || aglMode == AglMode::EveryFrame)
        setFloat(p + "y_agl", static_cast<float>(above));
    // Documented for a running flight model only: while the path is held it keeps its value.
    if (!held && hasDataRef(kOnGround))
        setInt(kOnGround, 0, std::fabs(above - restHeight) < kGroundContact ? 1 : 0);
}

}  // namespace hostsim
