// The demo: load a plug-in into the headless host, place an aircraft at an airport, replay a key
// script through the plug-in, and report what changed, step by step.
#ifndef TROVIK_TOOLS_DEMO_H
#define TROVIK_TOOLS_DEMO_H

#include <ostream>
#include <string>
#include <vector>

#include "hostsim.h"
#include "keyscript.h"
#include "world.h"

namespace trovik_sim {

// A picture needs a screen at least this large to hold its texts.
constexpr int kSmallestPictureWidth = 320;
constexpr int kSmallestPictureHeight = 200;

struct Options {
    std::string xpl;
    std::vector<std::string> scripts;  // -f, in order
    std::string script;                // every key: the command line's, then the scripts
    bool downOnly = false;
    std::string svgPath;
    int screenWidth = 1920;
    int screenHeight = 1080;
    std::string prefsFolder;  // empty: the host's fresh one
    GroundShape ground;
    double restHeight = 0.0;  // of the aircraft's reference point above its wheels' contact
    StartPlace place;
    double uiScale = 1.0;  // pixels a boxel
    int monitors = 1;      // full screen, side by side, the main one leftmost
    bool vr = false;       // in the headset from the start
    bool help = false;
    bool usageError = false;  // no arguments at all: the usage, as an error
};

// Parses the command line and reads the -f scripts, after refusing an output that is one of the
// inputs. `defaultXpl` is the plug-in this build made.
bool ParseArgs(const std::vector<std::string>& args, const std::string& defaultXpl,
               Options& options, std::string& error);
// `program` is how to run this program from the repository root, `buildFolder` its build tree
// from there; `defaultXpl` as the user would type it from where they are.
std::string Usage(const std::string& program, const std::string& buildFolder,
                  const std::string& defaultXpl);

// What the simulator shows of the aircraft at one moment.
struct State {
    double x = 0, y = 0, z = 0;
    float agl = 0, psi = 0, theta = 0, phi = 0;
    double latitude = 0, longitude = 0, elevation = 0;
    double speed = 0;       // m/s, what the flight model goes on with
    std::string factor;     // the speed factor the overlay shows, "1", "4", "1/2"...; "": none
    bool joystick = false;  // joystick slew, as its menu item shows it
    int pathOverride = 0;
    bool overlay = false;
    bool camera = false;
    XPLMCameraPosition_t view{};
};

// Where a frame left the aircraft, and the ground under it.
struct TrackPoint {
    double x, y, z, ground;
};

struct StepResult {
    KeyStep step;
    int events = 0;    // key events sent
    int consumed = 0;  // of them, consumed by a sniffer
    int hotKeys = 0;   // hot-key callbacks they called
    std::string note;  // what the step could not do
    State before, after;
    std::vector<TrackPoint> path;  // after each of its frames
    std::vector<std::string> log;  // the lines the plug-in wrote to the simulator's log
};

struct RunResult {
    StartPoint start;
    std::string pluginName;
    std::vector<std::string> loadLog;  // what the plug-in logged as it loaded
    State initial;
    double initialGround = 0.0;  // the terrain under the start point
    std::vector<StepResult> steps;
    // The last frame in which the plug-in drew anything, and after which step (0: none drawn).
    hostsim::Frame screen;
    int screenStep = 0;
    bool screenCamera = false;  // whether a plug-in held the camera in that frame
    // The plug-in's submenu of the Plugins menu at the same moment as the screen (after the last
    // step if nothing was drawn), and its title there.
    std::string menuTitle;
    std::vector<hostsim::MenuItem> menu;
};

// The monitors X-Plane runs full screen on, in boxels: `monitors` of the screen's size.
std::vector<hostsim::Box> Monitors(const Options& options);
// The simulator enters (or leaves) VR: its message to the plug-in, then the headset.
void SetVR(hostsim::Plugin& plugin, bool on);

// Loads the plug-in, runs the steps and unloads it. False with `error` if it cannot load.
bool Simulate(const Options& options, const std::vector<KeyStep>& steps, RunResult& result,
              std::string& error);

// One line a step, as the program prints it, the key column `width` wide.
std::string DescribeStep(int number, const StepResult& step, int width = 14);

// The whole program: returns its exit code.
int Run(const Options& options, std::ostream& out, std::ostream& err);

}  // namespace trovik_sim

#endif  // TROVIK_TOOLS_DEMO_H
