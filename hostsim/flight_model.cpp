// The simulator's own work on the user's aircraft once a frame, where a plug-in that holds the
// aircraft can get it wrong. With element 0 of the path override at 0 the flight model runs: the
// attitude follows the quaternion q (psi, theta and phi written meanwhile are overwritten) and
// the position follows the velocity. At 1 it is held: q and the velocity stay as they are, and
// psi, theta and phi are what was written. Then the height above ground and, while the flight
// model runs, whether the aircraft is on the ground.
#include <cmath>

#include "internal.h"
#include "paths.h"

namespace hostsim {

using namespace internal;

namespace {

const std::string kQ = paths::Position("q");
const std::string kP = paths::Position("");

constexpr double kDegrees = 180.0 / 3.14159265358979323846;

// Within this of its wheels' contact, either way, the aircraft counts as on the ground.
constexpr double kGroundContact = 0.05;

}  // namespace

void FlightModel::setAttitude(float psi, float theta, float phi) {
    DataRefs& d = H().datarefs;
    d.setFloat(kP + "psi", psi);
    d.setFloat(kP + "theta", theta);
    d.setFloat(kP + "phi", phi);
    const double ps = static_cast<double>(psi) / kDegrees / 2;
    const double th = static_cast<double>(theta) / kDegrees / 2;
    const double ph = static_cast<double>(phi) / kDegrees / 2;
    const double q[4] = {
        std::cos(ps) * std::cos(th) * std::cos(ph) + std::sin(ps) * std::sin(th) * std::sin(ph),
        std::cos(ps) * std::cos(th) * std::sin(ph) - std::sin(ps) * std::sin(th) * std::cos(ph),
        std::cos(ps) * std::sin(th) * std::cos(ph) + std::sin(ps) * std::cos(th) * std::sin(ph),
        -std::cos(ps) * std::sin(th) * std::sin(ph) + std::sin(ps) * std::cos(th) * std::cos(ph)};
    for (int i = 0; i < 4; ++i)
        d.setFloatAt(kQ, i, static_cast<float>(q[i]));
}

void FlightModel::run(double seconds) {
    DataRefs& d = H().datarefs;
    const bool held = d.aircraftHeld();
    const bool aircraft = d.has(kP + "local_x") && d.has(kP + "local_y") && d.has(kP + "local_z");
    if (!held && d.has(kQ) && d.has(kP + "psi") && d.has(kP + "theta") && d.has(kP + "phi")) {
        double q[4];
        for (int i = 0; i < 4; ++i)
            q[i] = d.getFloatAt(kQ, i);
        const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
        if (norm > 0.0) {
            for (double& c : q)
                c /= norm;
            const double phi =
                std::atan2(2 * (q[0] * q[1] + q[2] * q[3]), 1 - 2 * (q[1] * q[1] + q[2] * q[2]));
            const double theta =
                std::asin(std::fmax(-1.0, std::fmin(1.0, 2 * (q[0] * q[2] - q[3] * q[1]))));
            double psi =
                std::atan2(2 * (q[0] * q[3] + q[1] * q[2]), 1 - 2 * (q[2] * q[2] + q[3] * q[3]));
            psi = std::fmod(psi * kDegrees + 360.0, 360.0);
            d.setFloat(kP + "psi", static_cast<float>(psi));
            d.setFloat(kP + "theta", static_cast<float>(theta * kDegrees));
            d.setFloat(kP + "phi", static_cast<float>(phi * kDegrees));
        }
    }
    if (!held && aircraft) {
        const char* axes[3][2] = {
            {"local_x", "local_vx"}, {"local_y", "local_vy"}, {"local_z", "local_vz"}};
        for (const auto& axis : axes) {
            if (!d.has(kP + axis[1]))
                continue;
            const double v = d.getFloat(kP + axis[1]);
            if (v != 0.0)
                d.setDouble(kP + axis[0], d.getDouble(kP + axis[0]) + v * seconds);
        }
    }
    if (!H().terrain.loaded || !aircraft || !d.has(kP + "y_agl"))
        return;
    const double x = d.getDouble(kP + "local_x");
    const double y = d.getDouble(kP + "local_y");
    const double z = d.getDouble(kP + "local_z");
    const double above = y - H().terrain.groundBelow(x, y, z);
    if (!held || aglMode == AglMode::EveryFrame)
        d.setFloat(kP + "y_agl", static_cast<float>(above));
    // Documented for a running flight model only: while the path is held it keeps its value.
    if (!held && d.has(paths::kOnGround))
        d.setInt(paths::kOnGround, 0, std::fabs(above - restHeight) < kGroundContact ? 1 : 0);
}

}  // namespace hostsim
