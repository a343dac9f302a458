// The plug-in's per-frame and per-key callbacks, fetched from the headless host once, so that a
// measurement calls exactly what the simulator would call and nothing of the host's event loop.
#ifndef TROVIK_BENCH_CALLBACKS_H
#define TROVIK_BENCH_CALLBACKS_H

#include <string>

#include "hostsim.h"

namespace trovik_bench {

struct Callbacks {
    XPLMDrawWindow_f draw = nullptr;
    XPLMWindowID window = nullptr;
    XPLMKeySniffer_f sniffer = nullptr;
    XPLMCameraControl_f camera = nullptr;
    // The handler of a held slew command, and that command.
    XPLMCommandCallback_f command = nullptr;
    XPLMCommandRef forward = nullptr;
    // The stick's flight loop, running (slew mode is on), its first call made.
    XPLMFlightLoop_f stick = nullptr;
};

// Puts the stick at these ratios.
void SetStick(float pitch, float roll, float rudder);

// Loads flat ground right under the aircraft, so that every move probes twice and follows it; or
// unloads it again.
void Park(bool parked);

// Loads the plug-in, places an aircraft in flight, switches slew mode on and takes the camera;
// the recorder is off. Exits with a message if the plug-in cannot be loaded.
Callbacks Prepare(hostsim::Plugin& plugin, const std::string& xpl);

}  // namespace trovik_bench

#endif  // TROVIK_BENCH_CALLBACKS_H
