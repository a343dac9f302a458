// Instructions per callback, for valgrind's callgrind: runs one callback N times with
// instrumentation on only around the loop, so callgrind's total divided by N is the cost of one
// call. Stable on a noisy machine, unlike time.
//   valgrind --tool=callgrind --instr-atstart=no trovik_callcount draw 10000
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "callbacks.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: trovik_callcount "
                     "draw|vrdraw|move|parked|turn|vertical|passed|command|camera|centred|"
                     "stick|stickparked N\n");
        return 2;
    }
    hostsim::Plugin plugin;
    const trovik_bench::Callbacks c = trovik_bench::Prepare(plugin, TROVIK_XPL);
    const char* what = argv[1];
    const long n = std::atol(argv[2]);
    int* master = static_cast<int*>(plugin.symbol("HotKey_Master"));
    XPLMCameraPosition_t position{};
    char key = 0;
    const bool parked = std::strcmp(what, "parked") == 0 || std::strcmp(what, "stickparked") == 0;
    trovik_bench::Park(parked);
    if (std::strcmp(what, "move") == 0 || std::strcmp(what, "parked") == 0)
        key = XPLM_VK_NUMPAD8;
    if (std::strcmp(what, "turn") == 0)
        key = XPLM_VK_NUMPAD3;
    if (std::strcmp(what, "vertical") == 0)
        key = XPLM_VK_F3;
    if (std::strcmp(what, "passed") == 0) {
        key = 0x41;
        *master = 0;
    }
    // The headset's panel: the same window, moved there by the simulator's message.
    const bool vr = std::strcmp(what, "vrdraw") == 0;
    if (vr) {
        plugin.sendMessage(XPLM_MSG_ENTERED_VR, 0, hostsim::Plugin::kSimulator);
        hostsim::Host::get().display.vr = true;
    }
    const bool draw = vr || std::strcmp(what, "draw") == 0;
    const bool camera = std::strcmp(what, "camera") == 0;
    const bool command = std::strcmp(what, "command") == 0;
    const bool centred = std::strcmp(what, "centred") == 0;
    const bool stick = std::strcmp(what, "stick") == 0 || std::strcmp(what, "stickparked") == 0;
    if (stick)
        trovik_bench::SetStick(-0.5f, 0.3f, 0.2f);
    if (!draw && !camera && !command && !centred && !stick && key == 0) {
        std::fprintf(stderr, "trovik_callcount: unknown callback %s\n", what);
        return 2;
    }
    int sink = 0;
    CALLGRIND_START_INSTRUMENTATION;
    for (long i = 0; i < n; ++i) {
        if (draw) {
            c.draw(c.window, nullptr);
        } else if (camera) {
            sink += c.camera(&position, 0, nullptr);
        } else if (command) {
            sink += c.command(c.forward, xplm_CommandContinue, nullptr);
        } else if (centred || stick) {
            sink += static_cast<int>(c.stick(1.0f / 60, 1.0f / 60, 1, nullptr));
        } else {
            sink += c.sniffer(0, xplm_DownFlag, key, nullptr);
        }
    }
    CALLGRIND_STOP_INSTRUMENTATION;
    *master = 1;
    std::printf("%s x %ld (%d)\n", what, n, sink);
    return 0;
}
