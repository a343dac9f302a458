#include "demo.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "svg.h"

namespace trovik_sim {

namespace {

// The speed factor as the plug-in keeps it in its settings file ("1" until it writes one).
std::string SpeedFactorSetting() {
    std::ifstream file(std::filesystem::u8path(hostsim::Host::get().utilities.prefsFolder + "/" +
                                               paths::kSettingsFile));
    std::string factor = "1";
    for (std::string line; std::getline(file, line);) {
        if (line.rfind("speed_factor ", 0) == 0)
            factor = line.substr(13);
    }
    return factor;
}

State Observe() {
    hostsim::Host& host = hostsim::Host::get();
    State s;
    s.factor = SpeedFactorSetting();
    const hostsim::MenuItem* joystick = host.commands.findMenuItem("Joystick slew");
    s.joystick = joystick != nullptr && joystick->check == xplm_Menu_Checked;
    s.x = host.datarefs.getDouble(Position("local_x"));
    s.y = host.datarefs.getDouble(Position("local_y"));
    s.z = host.datarefs.getDouble(Position("local_z"));
    s.agl = host.datarefs.getFloat(Position("y_agl"));
    s.psi = host.datarefs.getFloat(Position("psi"));
    s.theta = host.datarefs.getFloat(Position("theta"));
    s.phi = host.datarefs.getFloat(Position("phi"));
    s.latitude = host.datarefs.getDouble(Position("latitude"));
    s.longitude = host.datarefs.getDouble(Position("longitude"));
    s.elevation = host.datarefs.getDouble(Position("elevation"));
    s.speed = std::sqrt(std::pow(host.datarefs.getFloat(Position("local_vx")), 2) +
                        std::pow(host.datarefs.getFloat(Position("local_vy")), 2) +
                        std::pow(host.datarefs.getFloat(Position("local_vz")), 2));
    s.pathOverride = host.datarefs.getInt(paths::kOverride, 0);
    s.overlay = !host.display.windows.empty();
    s.camera = host.camera.controlled();
    s.view = host.camera.position;
    return s;
}

bool ParseScreen(const std::string& text, int& width, int& height) {
    int w = 0;
    int h = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &extra) != 2)
        return false;
    if (w < 1 || h < 1 || w > 65536 || h > 65536)
        return false;
    width = w;
    height = h;
    return true;
}

// The plug-in's submenu of the Plugins menu as it stands now, and its title there.
void TrovikMenu(RunResult& result) {
    hostsim::Host& host = hostsim::Host::get();
    for (const hostsim::MenuItem& item : host.commands.menu(host.commands.pluginsMenu)->items) {
        if (const hostsim::Menu* sub = host.commands.menu(item.submenu)) {
            result.menuTitle = item.name;
            result.menu = sub->items;
            return;
        }
    }
}

// Every menu item the simulator shows, quoted, for an error that names none of them.
std::string MenuItemNames() {
    std::string names;
    for (const hostsim::Menu& m : hostsim::Host::get().commands.menus) {
        for (const hostsim::MenuItem& item : m.items)
            names += (names.empty() ? "\"" : ", \"") + item.name + "\"";
    }
    return names.empty() ? "none" : names;
}

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
    char buf[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

}  // namespace

std::string Usage(const std::string& program, const std::string& buildFolder,
                  const std::string& defaultXpl) {
    const std::string smallest =
        std::to_string(kSmallestPictureWidth) + "x" + std::to_string(kSmallestPictureHeight);
    return "usage: trovik-sim [options] [KEY ...]\n"
           "\n"
           "Loads a slew plug-in into a headless stand-in for X-Plane, exactly as the simulator\n"
           "loads it, places an aircraft on the ground at Zurich airport (LSZH) and replays a key\n"
           "script through the plug-in. Prints one line a step and, at the end, the overlay text\n"
           "as the plug-in drew it.\n"
           "\n"
           "Keys (case does not matter):\n"
           "  Y, S, any letter    that key           0-9 or num0-num9   the numeric keypad\n"
           "  F1 ... F12          function keys      view               change the view (ends the\n"
           "                                                            top-down camera)\n"
           "  shift+KEY           with Shift held    KEYxN              N times (1 to 10000)\n"
           "  quick+KEY           a tap so quick that its press and release land in one frame\n"
           "  cmd:NAME            run the simulator command NAME once, as a key bound to it\n"
           "                      e.g. cmd:trovik/toggle\n"
           "  hold:NAME:N[@FPS]   hold the command NAME down for N frames, as a joystick button,\n"
           "                      at FPS frames a second (60 if not given)\n"
           "                      e.g. hold:trovik/forward_fast:30, hold:trovik/turn_right:60@30\n"
           "  menu:\"ITEM\"         pick the menu item named ITEM (as the menu shows it, case\n"
           "                      does not matter), e.g. menu:\"Top-down view\"\n"
           "  stick:P/R/H:N[@FPS] hold the stick at pitch P, roll R and rudder H (-1 to 1; pitch\n"
           "                      -1 is stick forward) for N frames at FPS frames a second (60\n"
           "                      if not given), then let go, e.g. stick:-1/0/0.5:90@30\n"
           "  message:NAME        a message from the simulator: plane_loaded, plane_unloaded,\n"
           "                      airport_loaded, crashed or scenery_loaded\n"
           "  wait:N              N frames with nothing pressed: after slew mode, the flight\n"
           "                      model flies the aircraft from where it was left\n"
           "  # ...               a comment, to the end of the line (in script files)\n"
           "Every frame but a stick step's lasts 1/60 s. A key is tapped as a hand taps it:\n"
           "the press, a frame, the release, a frame; the plug-in sees both. With quick+ both\n"
           "land in one frame: where the terrain probe finds no ground (--terrain none), both\n"
           "read the simulator's height above ground of the frame before, as a very quick tap at\n"
           "a low frame rate does.\n"
           "\n"
           "Each step prints a line: its number; the key as written; the key events sent; what\n"
           "became of them (consumed: the plug-in's key sniffer took them; passed on: the\n"
           "simulator got them; hot key: passed on, then taken by the plug-in's hot key; -: the\n"
           "step sends no key); and what changed: the position, pos (x, y, z), in the\n"
           "simulator's local metres (x east, y up, z south, from the start point; y is the\n"
           "height above sea level); the height above ground, heading, pitch, roll, speed, slew\n"
           "mode, overlay, camera, joystick slew and speed factor.\n"
           "\n"
           "Options:\n"
           "  -f, --script FILE   read the keys from FILE, after any given on the command line;\n"
           "                      given more than once, the files are read in order\n"
           "                      e.g. trovik-sim -f tools/demo.keys\n"
           "  --xpl PATH          the plug-in to load (default: " +
           defaultXpl +
           ")\n"
           "                      e.g. trovik-sim --xpl " +
           defaultXpl +
           " Y 8 Y\n"
           "  --down-only         send only key-down events, no key-ups\n"
           "                      e.g. trovik-sim --down-only Y 8x10\n"
           "  --svg FILE          draw the screen as the plug-in drew it and the aircraft's\n"
           "                      track seen from above into an SVG picture\n"
           "                      e.g. trovik-sim --svg slew.svg Y shift+8x5 shift+3x9 S\n"
           "  --screen WxH        the simulator's screen size in pixels (default 1920x1080; with\n"
           "                      --svg, " +
           smallest +
           " at least)\n"
           "                      e.g. trovik-sim --screen 1366x768 Y\n"
           "  --prefs DIR         the simulator's preferences folder: the plug-in's settings are\n"
           "                      read from and written to DIR/Trovik.prf (default: a fresh\n"
           "                      temporary folder, so a run never touches your files)\n"
           "                      e.g. trovik-sim --prefs /tmp/prefs cmd:trovik/faster\n"
           "  --terrain SHAPE     the ground around the airport: flat (default, 432 m),\n"
           "                      slope:PERCENT@HEADING rising toward a true heading, or\n"
           "                      hill:HEIGHT@DISTANCE, its top DISTANCE m ahead on the runway\n"
           "                      e.g. trovik-sim --terrain slope:10@156 Y shift+8x20; or none:\n"
           "                      no scenery for the terrain probe to find (the simulator's\n"
           "                      height above ground still counts from 432 m)\n"
           "  --rest-height M     the aircraft's reference point stands M m above the ground on\n"
           "                      its wheels (default 0), as a real aircraft's does\n"
           "                      e.g. trovik-sim --rest-height 1.6 Y shift+8x20\n"
           "  -h, --help          this text\n"
           "Every option but -f is given once at most.\n"
           "\n"
           "Exit status: 0 when the script ran, 1 when it could not (the plug-in did not load, a\n"
           "step names a command or menu item that does not exist, the picture cannot be\n"
           "written), 2 for a bad command line or key script.\n"
           "\n"
           "Example, from the repository root:\n"
           "  " +
           program + " -f tools/demo.keys --svg " + buildFolder + "/demo.svg\n";
}

namespace {

// Whether two paths name the same file, existing or not.
bool SamePath(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    const auto canonical = [](const std::string& p) {
        std::error_code ignored;
        return std::filesystem::weakly_canonical(std::filesystem::absolute(p, ignored), ignored);
    };
    return canonical(a) == canonical(b);
}

// What the run would read or write besides the picture: a picture over any of them is refused.
bool PictureOverAnInput(const Options& options, std::string& error) {
    for (const std::string& script : options.scripts) {
        if (SamePath(options.svgPath, script)) {
            error = "--svg " + Quote(options.svgPath) +
                    " is the key script given with -f: it would be overwritten";
            return true;
        }
    }
    if (SamePath(options.svgPath, options.xpl)) {
        error =
            "--svg " + Quote(options.svgPath) + " is the plug-in to load: it would be overwritten";
        return true;
    }
    if (!options.prefsFolder.empty() &&
        SamePath(options.svgPath, options.prefsFolder + "/" + paths::kSettingsFile)) {
        error = "--svg " + Quote(options.svgPath) +
                " is the plug-in's settings file in --prefs: it would be overwritten";
        return true;
    }
    return false;
}

}  // namespace

bool ParseArgs(const std::vector<std::string>& args, const std::string& defaultXpl,
               Options& options, std::string& error) {
    options = Options{};
    options.xpl = defaultXpl;
    if (args.empty()) {
        options.help = true;
        options.usageError = true;
        return true;
    }
    std::string keys;
    std::vector<std::string> given;  // the options that take one value, as seen
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = a + " needs a value";
                return false;
            }
            if (a != "-f" && a != "--script") {
                if (std::find(given.begin(), given.end(), a) != given.end()) {
                    error = a + " given twice: each option but -f is given once at most";
                    return false;
                }
                given.push_back(a);
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (a == "-h" || a == "--help") {
            options.help = true;
        } else if (a == "--down-only") {
            options.downOnly = true;
        } else if (a == "--xpl") {
            if (!value(options.xpl))
                return false;
        } else if (a == "--svg") {
            if (!value(options.svgPath))
                return false;
        } else if (a == "-f" || a == "--script") {
            if (!value(text))
                return false;
            options.scripts.push_back(text);
        } else if (a == "--prefs") {
            if (!value(options.prefsFolder))
                return false;
        } else if (a == "--terrain") {
            if (!value(text))
                return false;
            if (!ParseGround(text, options.ground)) {
                error =
                    "bad terrain " + Quote(text) +
                    ": want none, flat, slope:PERCENT@HEADING (-100 to 100 %, 0 to 360 degrees) or "
                    "hill:HEIGHT@DISTANCE (-1000 to 1000 m, 1 to 100000 m)";
                return false;
            }
        } else if (a == "--rest-height") {
            if (!value(text))
                return false;
            char extra = 0;
            if (std::sscanf(text.c_str(), "%lf%c", &options.restHeight, &extra) != 1 ||
                !(options.restHeight >= 0.0 && options.restHeight <= 20.0)) {
                error = "bad rest height " + Quote(text) + ": want metres, 0 to 20";
                return false;
            }
        } else if (a == "--screen") {
            if (!value(text))
                return false;
            if (!ParseScreen(text, options.screenWidth, options.screenHeight)) {
                error = "bad screen size " + Quote(text) + ": want WIDTHxHEIGHT, 1 to 65536 each";
                return false;
            }
        } else if (a.size() > 1 && a[0] == '-' && a.rfind("--", 0) == 0) {
            error = "unknown option " + Quote(a) + " (see --help)";
            return false;
        } else if (a.find_first_of(" \t") != std::string::npos &&
                   a.find('"') == std::string::npos && a.find(':') != std::string::npos) {
            // The shell took the quotes off menu:"Top-down view": put them back.
            const size_t colon = a.find(':');
            keys += a.substr(0, colon + 1) + "\"" + a.substr(colon + 1) + "\" ";
        } else {
            keys += a + " ";
        }
    }
    if (options.help)
        return true;
    // Before anything is read or written.
    if (!options.svgPath.empty()) {
        if (PictureOverAnInput(options, error))
            return false;
        if (options.screenWidth < kSmallestPictureWidth ||
            options.screenHeight < kSmallestPictureHeight) {
            error = "a screen of " + std::to_string(options.screenWidth) + "x" +
                    std::to_string(options.screenHeight) + " is too small to draw: --svg needs " +
                    std::to_string(kSmallestPictureWidth) + "x" +
                    std::to_string(kSmallestPictureHeight) + " at least";
            return false;
        }
    }
    for (const std::string& file : options.scripts) {
        std::error_code ignored;
        if (std::filesystem::is_directory(file, ignored)) {
            error = "cannot read key script " + Quote(file) + ": it is a directory";
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            error = "cannot read key script " + Quote(file) + ": " + std::strerror(errno);
            return false;
        }
        std::stringstream read;
        read << in.rdbuf();
        std::string text = read.str();
        // Editors on Windows start a UTF-8 file with a byte-order mark.
        if (text.rfind("\xEF\xBB\xBF", 0) == 0)
            text.erase(0, 3);
        keys += "\n" + text;
    }
    options.script = keys;
    return true;
}

bool Simulate(const Options& options, const std::vector<KeyStep>& steps, RunResult& result,
              std::string& error) {
    hostsim::Host& host = hostsim::Host::get();
    host.reset();
    host.recorder.enabled = false;  // a long script would otherwise keep every call
    if (!options.prefsFolder.empty())
        host.utilities.prefsFolder = options.prefsFolder;
    host.display.screenWidth = options.screenWidth;
    host.display.screenHeight = options.screenHeight;
    PlaceAtStart(result.start, options.ground, options.restHeight);

    hostsim::Plugin plugin;
    if (!plugin.load(options.xpl, error))
        return false;
    result.pluginName = plugin.name;
    result.initial = Observe();
    result.initialGround = host.terrain.at(result.initial.x, result.initial.z).y;

    // A frame: held commands continue, the flight loops run around the simulator's own work
    // (which moves the derived values), then it draws and runs the camera. The track keeps
    // where each frame left the aircraft.
    StepResult* current = nullptr;
    auto frame = [&](int framesPerSecond = kFramesPerSecond) {
        host.commands.frame();
        host.loops.frame(1.0 / framesPerSecond, [&result] { SyncDerived(result.start); });
        const hostsim::Frame drawn = host.display.drawFrame();
        if (!drawn.boxes.empty() || !drawn.texts.empty()) {
            result.screen = drawn;
            result.screenStep = static_cast<int>(result.steps.size()) + 1;
            result.screenCamera = host.camera.controlled();
            TrovikMenu(result);
        }
        host.camera.frame();
        const double x = host.datarefs.getDouble(Position("local_x"));
        const double z = host.datarefs.getDouble(Position("local_z"));
        current->path.push_back(
            {x, host.datarefs.getDouble(Position("local_y")), z, host.terrain.at(x, z).y});
    };
    for (const KeyStep& step : steps) {
        StepResult r;
        current = &r;
        r.step = step;
        r.before = Observe();
        const unsigned hotKeysBefore = host.display.hotKeyCalls;
        const std::string where = "step " + std::to_string(result.steps.size() + 1) + ": ";
        XPLMCommandRef command = nullptr;
        if (step.kind == StepKind::kCommand || step.kind == StepKind::kHold) {
            command = host.commands.find(step.target);
            if (command == nullptr) {
                error = where + "the plug-in made no command named " + Quote(step.target);
                return false;
            }
        }
        if (step.kind == StepKind::kCommand) {
            host.commands.once(command);
            frame();
        } else if (step.kind == StepKind::kHold) {
            host.commands.begin(command);
            for (int n = 0; n < step.repeat; ++n)
                frame(step.framesPerSecond);
            host.commands.end(command);
        } else if (step.kind == StepKind::kMenu) {
            if (host.commands.findMenuItem(step.target) == nullptr) {
                error = where + "no menu item named " + Quote(step.target) + " (there are " +
                        MenuItemNames() + ")";
                return false;
            }
            if (!host.commands.pickMenuItem(step.target))
                r.note = "greyed out";
            frame();
        }
        // A tap: the press, a frame, the release, a frame. The plug-in sees the simulator's
        // height above ground as of the last frame, so a quick tap's release reads the same
        // height as its press.
        for (int n = 0; step.virtualKey >= 0 && n < step.repeat; ++n) {
            const char key = static_cast<char>(step.virtualKey);
            r.consumed +=
                host.display.keyEvent(step.character, step.modifiers | xplm_DownFlag, key);
            r.events += 1;
            if (!options.downOnly) {
                if (!step.sameFrame)
                    frame();
                r.consumed +=
                    host.display.keyEvent(step.character, step.modifiers | xplm_UpFlag, key);
                r.events += 1;
            }
            frame();
        }
        for (int n = 0; step.kind == StepKind::kView && n < step.repeat; ++n) {
            host.camera.changeView();
            frame();
        }
        if (step.kind == StepKind::kMessage) {
            plugin.sendMessage(step.message);
            frame();
        }
        for (int n = 0; step.kind == StepKind::kWait && n < step.repeat; ++n)
            frame();
        if (step.kind == StepKind::kStick) {
            // Held for its frames, then let go: one frame more with the stick centred.
            for (int n = 0; n <= step.repeat; ++n) {
                const bool held = n < step.repeat;
                for (int axis = 0; axis < 3; ++axis)
                    host.datarefs.setFloat(paths::kStick[axis], held ? step.stick[axis] : 0.0f);
                frame(held ? step.framesPerSecond : kFramesPerSecond);
            }
        }
        r.hotKeys = static_cast<int>(host.display.hotKeyCalls - hotKeysBefore);
        r.after = Observe();
        result.steps.push_back(r);
    }
    // Nothing drawn: the menu as the user would find it after the last step.
    if (result.screenStep == 0)
        TrovikMenu(result);
    plugin.unload();
    return true;
}

std::string DescribeStep(int number, const StepResult& r, int width) {
    const State& a = r.before;
    const State& b = r.after;
    std::vector<std::string> changes;
    if (a.x != b.x || a.y != b.y || a.z != b.z) {
        const double moved = std::hypot(b.x - a.x, b.z - a.z);
        std::string c =
            Format("pos (%.3f, %.3f, %.3f) -> (%.3f, %.3f, %.3f)", a.x, a.y, a.z, b.x, b.y, b.z);
        if (moved > 0)
            c += Format(" moved %.3f m", moved);
        changes.push_back(c);
    }
    if (a.agl != b.agl)
        changes.push_back(Format("agl %.3f -> %.3f", double{a.agl}, double{b.agl}));
    if (a.psi != b.psi)
        changes.push_back(Format("hdg %.2f -> %.2f", double{a.psi}, double{b.psi}));
    if (a.theta != b.theta)
        changes.push_back(Format("pitch %.2f -> %.2f", double{a.theta}, double{b.theta}));
    if (a.phi != b.phi)
        changes.push_back(Format("roll %.2f -> %.2f", double{a.phi}, double{b.phi}));
    if (std::fabs(a.speed - b.speed) >= 0.05)
        changes.push_back(Format("speed %.1f -> %.1f m/s", a.speed, b.speed));
    if (a.joystick != b.joystick)
        changes.push_back(b.joystick ? "joystick slew on" : "joystick slew off");
    if (a.factor != b.factor)
        changes.push_back("speed factor " + a.factor + " -> " + b.factor);
    if (a.pathOverride != b.pathOverride) {
        changes.push_back(Format("slew mode %s (override %d -> %d)", b.pathOverride ? "on" : "off",
                                 a.pathOverride, b.pathOverride));
    }
    if (a.overlay != b.overlay)
        changes.push_back(b.overlay ? "overlay on" : "overlay off");
    if (b.camera &&
        (!a.camera || a.view.x != b.view.x || a.view.y != b.view.y || a.view.z != b.view.z)) {
        changes.push_back(Format("camera top-down from (%.1f, %.1f, %.1f)", double{b.view.x},
                                 double{b.view.y}, double{b.view.z}));
    }
    if (a.camera && !b.camera)
        changes.push_back("camera released");
    if (!r.note.empty())
        changes.push_back(r.note);
    if (changes.empty())
        changes.push_back("no change");

    // What became of the step's key events: the sniffer consumed them, or passed them on to the
    // simulator, where a hot key may have taken one.
    const char* verdict = r.events == 0            ? "-"
                          : r.consumed == r.events ? "consumed"
                          : r.hotKeys > 0          ? "hot key"
                          : r.consumed == 0        ? "passed on"
                                                   : "partly consumed";
    const std::string head =
        Format("%4d  %-*s %6d  %-15s ", number, width, r.step.word.c_str(), r.events, verdict);
    std::string line = head;
    for (size_t i = 0; i < changes.size(); ++i)
        line += (i > 0 ? ", " : "") + changes[i];
    return line;
}

int Run(const Options& options, std::ostream& out, std::ostream& err) {
    std::vector<KeyStep> steps;
    std::string error;
    if (!ParseKeyScript(options.script, steps, error)) {
        err << "trovik-sim: " << error << "\n";
        return 2;
    }
    // A picture that cannot be written is found before the run, not after it.
    if (!options.svgPath.empty()) {
        const bool existed = std::filesystem::exists(options.svgPath);
        std::FILE* probe = std::fopen(options.svgPath.c_str(), existed ? "r+b" : "wb");
        if (probe == nullptr) {
            err << "trovik-sim: cannot write " << Quote(options.svgPath) << ": "
                << std::strerror(errno) << "\n";
            return 1;
        }
        std::fclose(probe);
        if (!existed)
            std::remove(options.svgPath.c_str());
    }
    RunResult result;
    if (!Simulate(options, steps, result, error)) {
        // The loader's messages quote a path the user gave.
        err << "trovik-sim: " << Printable(error) << "\n";
        return 1;
    }
    const State& s = result.initial;
    out << "plug-in: " << options.xpl << " (\"" << result.pluginName << "\")\n";
    out << Format(
        "start: LSZH, lat %.6f lon %.6f, ground %.1f m, heading %.1f true, on the "
        "ground\n",
        s.latitude, s.longitude, result.start.groundElevation, double{s.psi});
    int width = 14;
    for (const StepResult& r : result.steps)
        width = std::max(width, static_cast<int>(r.step.word.size()));
    out << Format("step  %-*s events  plug-in         changes\n", width, "key");
    for (size_t i = 0; i < result.steps.size(); ++i) {
        out << DescribeStep(static_cast<int>(i) + 1, result.steps[i], width) << "\n";
    }
    if (result.screen.texts.empty()) {
        out << "overlay: never drawn (slew mode was not switched on)\n";
    } else {
        out << "overlay, as drawn after step " << result.screenStep << ":\n";
        for (const hostsim::Text& t : result.screen.texts)
            out << "  " << t.text << "\n";
    }
    if (!options.svgPath.empty()) {
        const std::string svg = RenderSvg(result, options);
        std::ofstream file(options.svgPath, std::ios::binary);
        file << svg;
        file.close();
        if (!file) {
            err << "trovik-sim: cannot write " << Quote(options.svgPath) << ": "
                << std::strerror(errno) << "\n";
            return 1;
        }
        out << "picture: " << options.svgPath << "\n";
    }
    return 0;
}

}  // namespace trovik_sim
