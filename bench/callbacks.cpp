#include "callbacks.h"

#include <cstdio>
#include <cstdlib>

#include "paths.h"

namespace trovik_bench {

Callbacks Prepare(hostsim::Plugin& plugin, const std::string& xpl) {
    hostsim::Host& host = hostsim::Host::get();
    host.reset();
    std::string error;
    if (!plugin.load(xpl, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(2);
    }
    const std::string p = hostsim::paths::Position("");
    host.datarefs.setDouble(p + "local_x", -1234.5678);
    host.datarefs.setDouble(p + "local_y", 1500.25);
    host.datarefs.setDouble(p + "local_z", 9876.125);
    host.datarefs.setFloat(p + "y_agl", 1068.0f);
    host.datarefs.setFloat(p + "psi", 123.4f);
    host.datarefs.setDouble(p + "latitude", 47.464722);
    host.datarefs.setDouble(p + "longitude", 8.549167);
    host.datarefs.setDouble(p + "elevation", 1500.25);
    host.datarefs.setFloat(p + "mag_psi", 120.4f);
    host.display.pressKey(XPLM_VK_Y);
    host.display.pressKey(XPLM_VK_S);
    host.recorder.enabled = false;

    Callbacks c;
    c.window = host.display.windows.at(0).id;
    c.draw = host.display.windows.at(0).draw;
    c.sniffer = host.display.sniffers.at(0).callback;
    c.camera = host.camera.callback;
    c.forward = host.commands.find("trovik/forward");
    for (const hostsim::CommandHandler& h : host.commands.handlers) {
        if (h.command == c.forward)
            c.command = h.callback;
    }
    // The first loop is slew mode's; the second tells the dataref browsers once.
    if (c.command == nullptr || host.loops.loops.empty()) {
        std::fprintf(stderr, "no handler for trovik/forward, or no flight loop\n");
        std::exit(2);
    }
    c.stick = host.loops.loops[0].callback;
    // The first call after slew mode comes on measures no frame; the second gives held commands
    // the frame time they move by.
    c.stick(1.0f / 60, 1.0f / 60, 1, nullptr);
    c.stick(1.0f / 60, 1.0f / 60, 1, nullptr);
    return c;
}

void SetStick(float pitch, float roll, float rudder) {
    hostsim::Host& host = hostsim::Host::get();
    host.datarefs.setFloat(hostsim::paths::kStick[0], pitch);
    host.datarefs.setFloat(hostsim::paths::kStick[1], roll);
    host.datarefs.setFloat(hostsim::paths::kStick[2], rudder);
}

void Park(bool parked) {
    hostsim::Host& host = hostsim::Host::get();
    host.terrain.loaded = parked;
    host.terrain.elevation = host.datarefs.getDouble("sim/flightmodel/position/local_y");
}

}  // namespace trovik_bench
