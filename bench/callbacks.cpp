#include "callbacks.h"

#include <cstdio>
#include <cstdlib>

namespace trovik_bench {

Callbacks Prepare(hostsim::Plugin& plugin, const std::string& xpl) {
    hostsim::Host& host = hostsim::Host::get();
    host.reset();
    std::string error;
    if (!plugin.load(xpl, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(2);
    }
    const std::string p = "sim/flightmodel/position/";
    host.setDouble(p + "local_x", -1234.5678);
    host.setDouble(p + "local_y", 1500.25);
    host.setDouble(p + "local_z", 9876.125);
    host.setFloat(p + "y_agl", 1068.0f);
    host.setFloat(p + "psi", 123.4f);
    host.setDouble(p + "latitude", 47.464722);
    host.setDouble(p + "longitude", 8.549167);
    host.setDouble(p + "elevation", 1500.25);
    host.setFloat(p + "mag_psi", 120.4f);
    host.pressKey(XPLM_VK_Y);
    host.pressKey(XPLM_VK_S);
    host.recorder.enabled = false;

    Callbacks c;
    c.window = host.windows().at(0).id;
    c.draw = host.windows().at(0).draw;
    c.sniffer = host.keySniffers().at(0).callback;
    c.camera = host.camera().callback;
    c.forward = host.findCommand("trovik/forward");
    for (const hostsim::CommandHandler& h : host.commandHandlers()) {
        if (h.command == c.forward)
            c.command = h.callback;
    }
    if (c.command == nullptr || host.flightLoops().size() != 1) {
        std::fprintf(stderr, "no handler for trovik/forward, or not one flight loop\n");
        std::exit(2);
    }
    c.stick = host.flightLoops()[0].callback;
    // The first call after slew mode comes on measures no frame; the second gives held commands
    // the frame time they move by.
    c.stick(1.0f / 60, 1.0f / 60, 1, nullptr);
    c.stick(1.0f / 60, 1.0f / 60, 1, nullptr);
    return c;
}

void SetStick(float pitch, float roll, float rudder) {
    hostsim::Host& host = hostsim::Host::get();
    host.setFloat("sim/joystick/yoke_pitch_ratio", pitch);
    host.setFloat("sim/joystick/yoke_roll_ratio", roll);
    host.setFloat("sim/joystick/yoke_heading_ratio", rudder);
}

void Park(bool parked) {
    hostsim::Host& host = hostsim::Host::get();
    host.terrain = hostsim::Terrain{};
    host.terrain.loaded = parked;
    host.terrain.elevation = host.getDouble("sim/flightmodel/position/local_y");
}

}  // namespace trovik_bench
