// trovik-sim's flight: the plug-in loaded into the host, the aircraft at its start, and each
// step of the key script flown frame by frame.
#include "demo.h"

#include <cmath>

namespace trovik_sim {

namespace {

// The speed factor as the user sees it, on the overlay's label ("Slew Mode x4"; none shown is 1);
// empty while no overlay is drawn.
std::string ShownSpeedFactor() {
    const hostsim::Frame drawn = hostsim::Host::get().display.drawFrame();
    const char label[] = "Slew Mode";
    for (const hostsim::Text& t : drawn.texts) {
        if (t.text.rfind(label, 0) == 0)
            return t.text.size() > sizeof label + 1 ? t.text.substr(sizeof label + 1) : "1";
    }
    return "";
}

State Observe() {
    hostsim::Host& host = hostsim::Host::get();
    State s;
    s.factor = ShownSpeedFactor();
    const hostsim::MenuItem* joystick = host.commands.findMenuItem("Joystick slew");
    s.joystick = joystick != nullptr && joystick->check == xplm_Menu_Checked;
    s.x = host.datarefs.getDouble(Position("local_x"));
    s.y = host.datarefs.getDouble(Position("local_y"));
    s.z = host.datarefs.getDouble(Position("local_z"));
    InStartFrame(s.x, s.z);
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
        for (const hostsim::MenuItem& item : m.items) {
            if (!item.separator)
                names += (names.empty() ? "\"" : ", \"") + item.name + "\"";
        }
    }
    return names.empty() ? "none" : names;
}

}  // namespace

namespace {

// A flight in progress: the run so far and the step being flown.
struct Flight {
    const Options& options;
    hostsim::Plugin& plugin;
    RunResult& result;
    StepResult* step = nullptr;

    // A frame: held commands continue, the flight loops run around the simulator's own work
    // (which moves the derived values), then it draws and runs the camera. The track keeps
    // where each frame left the aircraft.
    void frame(int framesPerSecond = kFramesPerSecond) {
        hostsim::Host& host = hostsim::Host::get();
        host.commands.frame();
        host.loops.frame(1.0 / framesPerSecond, [this] { SyncDerived(result.start); });
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
        double startX = x, startZ = z;
        InStartFrame(startX, startZ);
        step->path.push_back({startX, host.datarefs.getDouble(Position("local_y")), startZ,
                              host.terrain.at(x, z).y});
    }
};

// Each kind of step, flown; false with `error` for a step that names what is not there.
using FlyStep = bool (*)(Flight& flight, const KeyStep& step, std::string& error);

// A tap: the press, a frame, the release, a frame. The plug-in sees the simulator's height above
// ground as of the last frame, so a quick tap's release reads the same height as its press.
bool FlyKey(Flight& flight, const KeyStep& step, std::string&) {
    hostsim::Display& display = hostsim::Host::get().display;
    StepResult& r = *flight.step;
    const char key = static_cast<char>(step.virtualKey);
    for (int n = 0; n < step.repeat; ++n) {
        r.consumed += display.keyEvent(step.character, step.modifiers | xplm_DownFlag, key);
        r.events += 1;
        if (!flight.options.downOnly) {
            if (!step.sameFrame)
                flight.frame();
            r.consumed += display.keyEvent(step.character, step.modifiers | xplm_UpFlag, key);
            r.events += 1;
        }
        flight.frame();
    }
    return true;
}

bool FlyView(Flight& flight, const KeyStep& step, std::string&) {
    for (int n = 0; n < step.repeat; ++n) {
        hostsim::Host::get().camera.changeView();
        flight.frame();
    }
    return true;
}

XPLMCommandRef FindCommand(const Flight& flight, const KeyStep& step, std::string& error) {
    XPLMCommandRef command = hostsim::Host::get().commands.find(step.target);
    if (command == nullptr) {
        error = "step " + std::to_string(flight.result.steps.size() + 1) +
                ": the plug-in made no command named " + Quote(step.target);
    }
    return command;
}

bool FlyCommand(Flight& flight, const KeyStep& step, std::string& error) {
    XPLMCommandRef command = FindCommand(flight, step, error);
    if (command == nullptr)
        return false;
    hostsim::Host::get().commands.once(command);
    flight.frame();
    return true;
}

bool FlyHold(Flight& flight, const KeyStep& step, std::string& error) {
    XPLMCommandRef command = FindCommand(flight, step, error);
    if (command == nullptr)
        return false;
    hostsim::Commands& commands = hostsim::Host::get().commands;
    commands.begin(command);
    for (int n = 0; n < step.repeat; ++n)
        flight.frame(step.framesPerSecond);
    commands.end(command);
    return true;
}

bool FlyMenu(Flight& flight, const KeyStep& step, std::string& error) {
    hostsim::Commands& commands = hostsim::Host::get().commands;
    if (commands.findMenuItem(step.target) == nullptr) {
        error = "step " + std::to_string(flight.result.steps.size() + 1) + ": no menu item named " +
                Quote(step.target) + " (there are " + MenuItemNames() + ")";
        return false;
    }
    if (!commands.pickMenuItem(step.target))
        flight.step->note = "greyed out";
    flight.frame();
    return true;
}

// Held for its frames, then let go: one frame more with the stick centred.
bool FlyStick(Flight& flight, const KeyStep& step, std::string&) {
    for (int n = 0; n <= step.repeat; ++n) {
        const bool held = n < step.repeat;
        for (int axis = 0; axis < 3; ++axis) {
            hostsim::Host::get().datarefs.setFloat(paths::kStick[axis],
                                                   held ? step.stick[axis] : 0.0f);
        }
        flight.frame(held ? step.framesPerSecond : kFramesPerSecond);
    }
    return true;
}

bool FlyMessage(Flight& flight, const KeyStep& step, std::string&) {
    flight.plugin.sendMessage(step.message);
    flight.frame();
    return true;
}

bool FlyWait(Flight& flight, const KeyStep& step, std::string&) {
    for (int n = 0; n < step.repeat; ++n)
        flight.frame();
    return true;
}

bool FlyReplay(Flight& flight, const KeyStep& step, std::string&) {
    hostsim::Host::get().datarefs.setInt(paths::kReplay, 0, step.on ? 1 : 0);
    flight.frame();
    return true;
}

// The simulator re-centres its local coordinates, as it does while the aircraft travels.
bool FlyOrigin(Flight& flight, const KeyStep& step, std::string&) {
    hostsim::Host::get().coordinates.moveOrigin(step.origin[0], step.origin[1]);
    flight.frame();
    return true;
}

// The simulator says so first, "right before" it switches; then the headset is on (or off).
bool FlyVR(Flight& flight, const KeyStep& step, std::string&) {
    SetVR(flight.plugin, step.on);
    flight.frame();
    return true;
}

const struct {
    StepKind kind;
    FlyStep fly;
} kStepKinds[] = {
    {StepKind::kVR, FlyVR},           {StepKind::kKey, FlyKey},         {StepKind::kView, FlyView},
    {StepKind::kCommand, FlyCommand}, {StepKind::kHold, FlyHold},       {StepKind::kMenu, FlyMenu},
    {StepKind::kStick, FlyStick},     {StepKind::kMessage, FlyMessage}, {StepKind::kWait, FlyWait},
    {StepKind::kReplay, FlyReplay},   {StepKind::kOrigin, FlyOrigin},
};

bool Fly(Flight& flight, const KeyStep& step, std::string& error) {
    for (const auto& kind : kStepKinds) {
        if (kind.kind == step.kind)
            return kind.fly(flight, step, error);
    }
    return true;
}

}  // namespace

std::vector<hostsim::Box> Monitors(const Options& options) {
    // The main one first, the others to its right; all of the screen's size.
    const int w = static_cast<int>(options.screenWidth / options.uiScale);
    const int h = static_cast<int>(options.screenHeight / options.uiScale);
    std::vector<hostsim::Box> monitors;
    for (int i = 0; i < options.monitors; ++i)
        monitors.push_back({i * w, h, (i + 1) * w, 0});
    return monitors;
}

void SetVR(hostsim::Plugin& plugin, bool on) {
    plugin.sendMessage(on ? XPLM_MSG_ENTERED_VR : XPLM_MSG_EXITING_VR, 0,
                       hostsim::Plugin::kSimulator);
    hostsim::Host& host = hostsim::Host::get();
    host.display.vr = on;
    host.datarefs.setInt("sim/graphics/VR/enabled", 0, on ? 1 : 0);
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
    host.display.uiScale = options.uiScale;
    host.display.monitors = Monitors(options);
    PlaceAtStart(result.start, options.ground, options.place, options.restHeight);

    hostsim::Plugin plugin;
    if (!plugin.load(options.xpl, error))
        return false;
    result.pluginName = plugin.name;
    result.loadLog.swap(host.utilities.log);
    if (options.vr)
        SetVR(plugin, true);
    result.initial = Observe();
    result.initialGround = host.terrain.at(result.initial.x, result.initial.z).y;
    Flight flight{options, plugin, result};
    for (const KeyStep& step : steps) {
        StepResult r;
        flight.step = &r;
        r.step = step;
        r.before = Observe();
        const unsigned hotKeysBefore = host.display.hotKeyCalls;
        if (!Fly(flight, step, error))
            return false;
        r.hotKeys = static_cast<int>(host.display.hotKeyCalls - hotKeysBefore);
        r.after = Observe();
        r.log.swap(host.utilities.log);
        result.steps.push_back(r);
    }
    // Nothing drawn: the menu as the user would find it after the last step.
    if (result.screenStep == 0)
        TrovikMenu(result);
    plugin.unload();
    return true;
}

}  // namespace trovik_sim
