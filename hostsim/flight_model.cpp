// The simulator's own work on the user's aircraft once a frame, where a plug-in that holds the
// aircraft can get it wrong. First the stick: the hardware's axes become the yoke ratios where
// no plug-in overrides them. Paused, nothing more. Otherwise the flight time goes on, and with
// element 0 of the path override at 0 the flight model runs: the attitude follows the quaternion
// q (psi, theta and phi written meanwhile are overwritten), one set of rates the other, the
// velocity the acceleration and the position the velocity. At 1 it is held: q, the rates, the
// velocity and the acceleration stay as they are, and psi, theta and phi are what was written.
// Lift is what an aircraft at its stall speed or faster has: slower, and clear of the ground,
// gravity pulls it down until it stands on its wheels again. Then the height above ground and,
// while the flight model runs, whether the aircraft is on the ground.
#include <cmath>

#include "internal.h"
#include "paths.h"

namespace hostsim {

using namespace internal;

namespace {

const std::string kQ = paths::Position("q");
const std::string kFlightTime = "sim/time/total_flight_time_sec";
const std::string kP = paths::Position("");

constexpr double kDegrees = 180.0 / 3.14159265358979323846;
constexpr double kGravity = 9.80665;

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

namespace {

// While the flight model runs, q is the master attitude: psi, theta and phi follow it.
void AttitudeFromQuaternion(DataRefs& d) {
    if (!d.has(kQ) || !d.has(kP + "psi") || !d.has(kP + "theta") || !d.has(kP + "phi"))
        return;
    double q[4];
    for (int i = 0; i < 4; ++i)
        q[i] = d.getFloatAt(kQ, i);
    const double norm = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (!(norm > 0.0))
        return;
    for (double& c : q)
        c /= norm;
    const double phi =
        std::atan2(2 * (q[0] * q[1] + q[2] * q[3]), 1 - 2 * (q[1] * q[1] + q[2] * q[2]));
    const double theta =
        std::asin(std::fmax(-1.0, std::fmin(1.0, 2 * (q[0] * q[2] - q[3] * q[1]))));
    double psi = std::atan2(2 * (q[0] * q[3] + q[1] * q[2]), 1 - 2 * (q[2] * q[2] + q[3] * q[3]));
    psi = std::fmod(psi * kDegrees + 360.0, 360.0);
    d.setFloat(kP + "psi", static_cast<float>(psi));
    d.setFloat(kP + "theta", static_cast<float>(theta * kDegrees));
    d.setFloat(kP + "phi", static_cast<float>(phi * kDegrees));
}

// The rates it carries on from; the other set follows them.
void Rates(DataRefs& d, RateSource source) {
    const char* const axes[3][2] = {{"P", "Prad"}, {"Q", "Qrad"}, {"R", "Rrad"}};
    for (const auto& axis : axes) {
        const std::string degrees = kP + axis[0];
        const std::string radians = kP + axis[1];
        if (!d.has(degrees) || !d.has(radians))
            continue;
        if (source == RateSource::Degrees) {
            d.setFloat(radians, static_cast<float>(d.getFloat(degrees) / kDegrees));
        } else {
            d.setFloat(degrees, static_cast<float>(d.getFloat(radians) * kDegrees));
        }
    }
}

// The velocity by the acceleration, then the position by the velocity.
void Motion(DataRefs& d, double seconds) {
    const char* const axes[3][3] = {{"local_x", "local_vx", "local_ax"},
                                    {"local_y", "local_vy", "local_ay"},
                                    {"local_z", "local_vz", "local_az"}};
    for (const auto& axis : axes) {
        if (!d.has(kP + axis[0]) || !d.has(kP + axis[1]))
            continue;
        const double a = d.has(kP + axis[2]) ? d.getFloat(kP + axis[2]) : 0.0;
        if (a != 0.0)
            d.setFloat(kP + axis[1], static_cast<float>(d.getFloat(kP + axis[1]) + a * seconds));
        const double v = d.getFloat(kP + axis[1]);
        if (v != 0.0)
            d.setDouble(kP + axis[0], d.getDouble(kP + axis[0]) + v * seconds);
    }
}

// The stick: the simulator's processed hardware axes become the yoke ratios, on every axis that
// no plug-in overrides and whose hardware is there.
int IntOrNone(DataRefs& d, const std::string& path, int index) {
    return d.has(path) ? d.getInt(path, index) : 0;
}

void Stick(DataRefs& d) {
    const char* const overrides[3] = {"sim/operation/override/override_joystick_pitch",
                                      "sim/operation/override/override_joystick_roll",
                                      "sim/operation/override/override_joystick_heading"};
    const bool all = IntOrNone(d, "sim/operation/override/override_joystick", 0) != 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (all || IntOrNone(d, overrides[axis], 0) != 0 ||
            IntOrNone(d, "sim/joystick/joy_mapped_axis_avail", axis + 1) == 0 ||
            !d.has("sim/joystick/joy_mapped_axis_value") || !d.has(paths::kStick[axis])) {
            continue;
        }
        d.setFloat(paths::kStick[axis],
                   d.getFloatAt("sim/joystick/joy_mapped_axis_value", axis + 1));
    }
}

// The aircraft's true stall speed in m/s from its indicated one and the air's density; 0 where
// it gives none, and then any speed at all holds it up.
double StallSpeed(DataRefs& d) {
    const double vs =
        d.has("sim/aircraft/view/acf_Vs") ? d.getFloat("sim/aircraft/view/acf_Vs") : 0.0;
    double rho = d.has("sim/weather/rho") ? d.getFloat("sim/weather/rho") : 0.0;
    if (!(rho > 0.0))
        rho = 1.225;
    return vs > 0.0 ? vs * 0.514444 * std::sqrt(1.225 / rho) : 0.0;
}

double Speed(DataRefs& d) {
    double sum = 0.0;
    for (const char* v : {"local_vx", "local_vy", "local_vz"})
        sum += d.has(kP + v) ? std::pow(d.getFloat(kP + v), 2) : 0.0;
    return std::sqrt(sum);
}

}  // namespace

void FlightModel::fall(double seconds) {
    DataRefs& d = H().datarefs;
    for (const char* needed : {"local_x", "local_y", "local_z", "local_vy", "y_agl"}) {
        if (!d.has(kP + needed))
            return;
    }
    const double x = d.getDouble(kP + "local_x");
    const double y = d.getDouble(kP + "local_y");
    const double z = d.getDouble(kP + "local_z");
    // Where no scenery is loaded, the simulator still knows the height above ground.
    const double ground =
        H().terrain.loaded ? H().terrain.groundBelow(x, y, z) : y - d.getFloat(kP + "y_agl");
    const double speed = Speed(d);
    const bool standing = y - ground - restHeight <= kGroundContact;
    // Standing still on the ground, or fast enough to fly: gravity has nothing to do. Coming down
    // onto the ground it does: it stops the aircraft there rather than let it through.
    if ((standing && d.getFloat(kP + "local_vy") >= 0.0f) ||
        (!standing && speed > 0.0 && speed >= StallSpeed(d))) {
        return;
    }
    const double vy = d.getFloat(kP + "local_vy") - (standing ? 0.0 : kGravity * seconds);
    const double landed = ground + restHeight;
    const bool down = y + vy * seconds <= landed;
    // Down on its wheels (or its belly): stopped there. Motion moves it by the velocity next.
    if (down) {
        for (const char* v : {"local_vx", "local_vz"}) {
            if (d.has(kP + v))
                d.setFloat(kP + v, 0.0f);
        }
        d.setDouble(kP + "local_y", landed);
    }
    d.setFloat(kP + "local_vy", down ? 0.0f : static_cast<float>(vy));
    // Without scenery the height above ground is known only as it was: it goes down with the fall.
    if (!H().terrain.loaded)
        d.setFloat(kP + "y_agl", static_cast<float>(down ? restHeight : y + vy * seconds - ground));
}

void FlightModel::run(double seconds) {
    DataRefs& d = H().datarefs;
    Stick(d);
    if (d.has("sim/time/paused"))
        d.setInt("sim/time/paused", 0, paused ? 1 : 0);
    if (paused)
        return;
    if (d.has(kFlightTime))
        d.setFloat(kFlightTime, d.getFloat(kFlightTime) + static_cast<float>(seconds));
    const bool held = d.aircraftHeld();
    const bool aircraft = d.has(kP + "local_x") && d.has(kP + "local_y") && d.has(kP + "local_z");
    if (!held) {
        AttitudeFromQuaternion(d);
        Rates(d, rateSource);
        fall(seconds);
        Motion(d, seconds);
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
