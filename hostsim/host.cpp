// The simulator's state as hostsim keeps it, and the recorder's rendering of calls.
#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "hostsim.h"

namespace hostsim {

// ---- Args and calls ----

Arg Arg::Int(long long v) {
    Arg a;
    a.kind = Kind::Int;
    a.i = v;
    return a;
}

Arg Arg::Float(float v) {
    Arg a;
    a.kind = Kind::Float;
    a.f = v;
    return a;
}

Arg Arg::Double(double v) {
    Arg a;
    a.kind = Kind::Double;
    a.d = v;
    return a;
}

Arg Arg::Pointer(const void* v) {
    Arg a;
    a.kind = Kind::Pointer;
    a.p = v;
    return a;
}

Arg Arg::Text(const char* v) {
    Arg a;
    a.kind = Kind::Text;
    a.p = v;
    if (v != nullptr)
        a.text = v;
    return a;
}

Arg Arg::Ints(const int* v, int count) {
    Arg a;
    a.kind = Kind::Ints;
    a.p = v;
    if (v != nullptr)
        a.ints.assign(v, v + count);
    return a;
}

std::string Arg::str() const {
    char buf[64];
    switch (kind) {
        case Kind::Int:
            std::snprintf(buf, sizeof buf, "%lld", i);
            return buf;
        case Kind::Float:
            std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(f));
            return buf;
        case Kind::Double:
            std::snprintf(buf, sizeof buf, "%.17g", d);
            return buf;
        case Kind::Pointer:
            if (p == nullptr)
                return "null";
            std::snprintf(buf, sizeof buf, "0x%" PRIxPTR, reinterpret_cast<uintptr_t>(p));
            return buf;
        case Kind::Text:
            return p == nullptr ? "null" : "\"" + text + "\"";
        case Kind::Bare:
            return text;
        case Kind::Ints: {
            if (p == nullptr)
                return "null";
            std::string out = "{";
            for (size_t k = 0; k < ints.size(); ++k) {
                if (k > 0)
                    out += ", ";
                out += std::to_string(ints[k]);
            }
            return out + "}";
        }
    }
    return "?";
}

std::string Call::str() const {
    std::string out = fn + "(";
    for (size_t k = 0; k < args.size(); ++k) {
        if (k > 0)
            out += ", ";
        out += args[k].str();
    }
    out += ")";
    if (hasResult)
        out += " = " + result.str();
    return out;
}

std::vector<std::string> Recorder::strings() const {
    std::vector<std::string> out;
    out.reserve(calls.size());
    for (const Call& c : calls)
        out.push_back(c.str());
    return out;
}

std::vector<std::string> Recorder::only(std::initializer_list<const char*> names) const {
    std::vector<std::string> out;
    for (const Call& c : calls) {
        for (const char* n : names) {
            if (c.fn == n) {
                out.push_back(c.str());
                break;
            }
        }
    }
    return out;
}

size_t Recorder::count(const char* fn) const {
    size_t n = 0;
    for (const Call& c : calls)
        n += c.fn == fn ? 1 : 0;
    return n;
}

// ---- Registrations with ids: hot keys, windows and menus ----

namespace {

// Ids are never reused, so a stale id never names a newer registration.
template <typename T>
void* Add(std::vector<T>& items, const T& item, uintptr_t& nextId) {
    T added = item;
    added.id = reinterpret_cast<void*>(nextId++);
    items.push_back(added);
    return added.id;
}

template <typename T>
bool Has(const std::vector<T>& items, const void* id) {
    return std::any_of(items.begin(), items.end(), [id](const T& t) { return t.id == id; });
}

template <typename T>
bool Erase(std::vector<T>& items, const void* id) {
    auto it = std::find_if(items.begin(), items.end(), [id](const T& t) { return t.id == id; });
    if (it == items.end())
        return false;
    items.erase(it);
    return true;
}

}  // namespace

// ---- Datarefs ----

const std::vector<KnownDataRef>& DefaultDataRefs() {
    // Types as the simulator publishes them. The override array has an entry per aircraft slot.
    static const std::vector<KnownDataRef> known = {
        {"sim/operation/override/override_planepath", DataType::IntArray, 20},
        {"sim/flightmodel/position/local_x", DataType::Double, 1},
        {"sim/flightmodel/position/local_y", DataType::Double, 1},
        {"sim/flightmodel/position/local_z", DataType::Double, 1},
        {"sim/flightmodel/position/y_agl", DataType::Float, 1},
        {"sim/flightmodel/position/psi", DataType::Float, 1},
        {"sim/flightmodel/position/theta", DataType::Float, 1},
        {"sim/flightmodel/position/phi", DataType::Float, 1},
        {"sim/flightmodel/position/latitude", DataType::Double, 1},
        {"sim/flightmodel/position/longitude", DataType::Double, 1},
        {"sim/flightmodel/position/elevation", DataType::Double, 1},
        {"sim/flightmodel/position/mag_psi", DataType::Float, 1},
        // The stick, -1 to 1, as the simulator reports it even while the flight path is held.
        {"sim/joystick/yoke_pitch_ratio", DataType::Float, 1},
        {"sim/joystick/yoke_roll_ratio", DataType::Float, 1},
        {"sim/joystick/yoke_heading_ratio", DataType::Float, 1},
    };
    return known;
}

Host::Host() {
    reset();
}

Host& Host::get() {
    // Never destroyed: a plug-in still loaded by some static object at exit stops into a live
    // host, whatever the order of static destruction.
    static Host* host = new Host;
    return *host;
}

void Host::reset() {
    for (auto& entry : datarefs_)
        retired_.push_back(std::move(entry.second));
    datarefs_.clear();
    for (const KnownDataRef& k : DefaultDataRefs())
        defineDataRef(k.path, k.type, k.size);
    screenWidth = 1920;
    screenHeight = 1080;
    windows_.clear();
    hotKeys_.clear();
    sniffers_.clear();
    frame_ = Frame{};
    camera_ = Camera{};
    cameraPosition = XPLMCameraPosition_t{0, 0, 0, 0, 0, 0, 1.0f};
    buttonsDown.clear();
    hotKeyCalls = 0;
    misuses.clear();
    cameraCalls_ = 0;
    commands_.clear();
    handlers_.clear();
    menus_.clear();
    loops_.clear();
    clock_ = 0.0;
    frameCount_ = 0;
    lastLoopsTime_ = 0.0;
    Menu plugins;
    plugins.name = "Plugins";
    pluginsMenu_ = Add(menus_, plugins, nextId_);
    recorder.enabled = true;
    recorder.clear();
}

void Host::defineDataRef(const std::string& path, DataType type, int size) {
    // A path defined again reuses its old storage, so that a stale handle still names it and a
    // long run of resets does not grow.
    std::unique_ptr<DataRefValue> value;
    auto it = datarefs_.find(path);
    if (it != datarefs_.end()) {
        value = std::move(it->second);
    } else {
        for (auto r = retired_.begin(); r != retired_.end(); ++r) {
            if ((*r)->path == path) {
                value = std::move(*r);
                retired_.erase(r);
                break;
            }
        }
    }
    if (!value)
        value = std::make_unique<DataRefValue>();
    *value = DataRefValue{};
    value->path = path;
    value->type = type;
    if (type == DataType::IntArray)
        value->ints.assign(size > 0 ? size : 0, 0);
    datarefs_[path] = std::move(value);
}

void Host::removeDataRef(const std::string& path) {
    auto it = datarefs_.find(path);
    if (it == datarefs_.end())
        return;
    retired_.push_back(std::move(it->second));
    datarefs_.erase(it);
}

bool Host::hasDataRef(const std::string& path) const {
    return datarefs_.count(path) != 0;
}

DataRefValue& Host::dataRef(const std::string& path) {
    auto it = datarefs_.find(path);
    if (it == datarefs_.end()) {
        std::fprintf(stderr, "hostsim: no dataref %s\n", path.c_str());
        std::abort();
    }
    return *it->second;
}

XPLMDataRef Host::find(const char* path) {
    if (path == nullptr)
        return nullptr;
    auto it = datarefs_.find(path);
    return it == datarefs_.end() ? nullptr : it->second.get();
}

// Test-side access goes through the same typed rules as the plug-in's.
void Host::setDouble(const std::string& path, double v) {
    DataRefValue& r = dataRef(path);
    if (r.type == DataType::Double)
        r.d = v;
    if (r.type == DataType::Float)
        r.f = static_cast<float>(v);
}

void Host::setFloat(const std::string& path, float v) {
    DataRefValue& r = dataRef(path);
    if (r.type == DataType::Double)
        r.d = v;
    if (r.type == DataType::Float)
        r.f = v;
}

void Host::setInt(const std::string& path, int index, int v) {
    DataRefValue& r = dataRef(path);
    if (index >= 0 && static_cast<size_t>(index) < r.ints.size())
        r.ints[index] = v;
}

double Host::getDouble(const std::string& path) {
    const DataRefValue& r = dataRef(path);
    return r.type == DataType::Double ? r.d : r.type == DataType::Float ? r.f : 0.0;
}

float Host::getFloat(const std::string& path) {
    const DataRefValue& r = dataRef(path);
    return r.type == DataType::Double  ? static_cast<float>(r.d)
           : r.type == DataType::Float ? r.f
                                       : 0.0f;
}

int Host::getInt(const std::string& path, int index) {
    const DataRefValue& r = dataRef(path);
    if (index < 0 || static_cast<size_t>(index) >= r.ints.size())
        return 0;
    return r.ints[index];
}

// ---- Keys ----

XPLMHotKeyID Host::addHotKey(const HotKey& key) {
    return Add(hotKeys_, key, nextId_);
}

void Host::removeHotKey(XPLMHotKeyID id) {
    if (!Erase(hotKeys_, id))
        misuse("XPLMUnregisterHotKey of a hot key that is not registered");
}

int Host::addSniffer(const KeySniffer& sniffer) {
    sniffers_.push_back(sniffer);
    return 1;
}

static bool Same(const KeySniffer& a, const KeySniffer& b) {
    return a.callback == b.callback && (a.beforeWindows != 0) == (b.beforeWindows != 0) &&
           a.refcon == b.refcon;
}

int Host::removeSniffer(const KeySniffer& sniffer) {
    for (auto it = sniffers_.begin(); it != sniffers_.end(); ++it) {
        if (Same(*it, sniffer)) {
            sniffers_.erase(it);
            return 1;
        }
    }
    misuse(
        "XPLMUnregisterKeySniffer that matches no registration in callback, before flag and "
        "refcon");
    return 0;
}

bool Host::keyEvent(char character, XPLMKeyFlags flags, char virtualKey) {
    // Registrations may change inside a callback: walk a copy, skipping any that went away.
    const std::vector<KeySniffer> sniffers = sniffers_;
    for (int pass = 0; pass < 2; ++pass) {
        const bool before = pass == 0;
        for (const KeySniffer& s : sniffers) {
            if ((s.beforeWindows != 0) != before)
                continue;
            const bool live = std::any_of(sniffers_.begin(), sniffers_.end(),
                                          [&s](const KeySniffer& c) { return Same(c, s); });
            if (!live)
                continue;
            if (s.callback(character, flags, virtualKey, s.refcon) == 0)
                return true;
        }
    }
    const std::vector<HotKey> keys = hotKeys_;
    for (const HotKey& k : keys) {
        if (k.virtualKey != virtualKey || k.flags != flags)
            continue;
        if (Has(hotKeys_, k.id)) {
            ++hotKeyCalls;
            k.callback(k.refcon);
        }
    }
    return false;
}

void Host::pressKey(char virtualKey, XPLMKeyFlags modifiers, char character) {
    keyEvent(character, modifiers | xplm_DownFlag, virtualKey);
    keyEvent(character, modifiers | xplm_UpFlag, virtualKey);
}

std::vector<HotKey> Host::hotKeys() const {
    return hotKeys_;
}
std::vector<KeySniffer> Host::keySniffers() const {
    return sniffers_;
}

// ---- Windows and drawing ----

XPLMWindowID Host::addWindow(const Window& window) {
    return Add(windows_, window, nextId_);
}

void Host::removeWindow(XPLMWindowID id) {
    if (!Erase(windows_, id))
        misuse("XPLMDestroyWindow of a window that does not exist");
}

std::vector<Window> Host::windows() const {
    return windows_;
}

Frame Host::drawFrame() {
    frame_ = Frame{};
    drawing_ = true;
    const std::vector<Window> windows = windows_;
    for (const Window& w : windows) {
        if (Has(windows_, w.id) && w.visible != 0 && w.draw != nullptr)
            w.draw(w.id, w.refcon);
    }
    drawing_ = false;
    return frame_;
}

void Host::addBox(const Box& box) {
    if (drawing_)
        frame_.boxes.push_back(box);
}

void Host::addText(const Text& text) {
    if (drawing_)
        frame_.texts.push_back(text);
}

// ---- Commands ----

XPLMCommandRef Host::createCommand(const char* name, const char* description) {
    if (name == nullptr || *name == '\0') {
        misuse("XPLMCreateCommand without a name");
        return nullptr;
    }
    if (XPLMCommandRef existing = findCommand(name))
        return existing;
    auto command = std::make_unique<Command>();
    command->name = name;
    command->description = description == nullptr ? "" : description;
    commands_.push_back(std::move(command));
    return commands_.back().get();
}

XPLMCommandRef Host::findCommand(const std::string& name) const {
    for (const auto& c : commands_) {
        if (c->name == name)
            return c.get();
    }
    return nullptr;
}

const Command* Host::command(XPLMCommandRef ref) const {
    for (const auto& c : commands_) {
        if (c.get() == ref)
            return c.get();
    }
    return nullptr;
}

static bool Same(const CommandHandler& a, const CommandHandler& b) {
    return a.command == b.command && a.callback == b.callback &&
           (a.before != 0) == (b.before != 0) && a.refcon == b.refcon;
}

void Host::addCommandHandler(const CommandHandler& handler) {
    if (command(handler.command) == nullptr || handler.callback == nullptr) {
        misuse("XPLMRegisterCommandHandler for an unknown command or without a callback");
        return;
    }
    handlers_.push_back(handler);
}

void Host::removeCommandHandler(const CommandHandler& handler) {
    for (auto it = handlers_.begin(); it != handlers_.end(); ++it) {
        if (Same(*it, handler)) {
            handlers_.erase(it);
            return;
        }
    }
    misuse(
        "XPLMUnregisterCommandHandler that matches no registration in command, callback, "
        "before flag and refcon");
}

void Host::runCommand(XPLMCommandRef ref, XPLMCommandPhase phase) {
    // Handlers may come and go inside a callback: walk a copy, skipping any that went away.
    const std::vector<CommandHandler> handlers = handlers_;
    for (int pass = 0; pass < 2; ++pass) {
        const bool before = pass == 0;
        for (const CommandHandler& h : handlers) {
            if (h.command != ref || (h.before != 0) != before)
                continue;
            const bool live = std::any_of(handlers_.begin(), handlers_.end(),
                                          [&h](const CommandHandler& c) { return Same(c, h); });
            if (live && h.callback(ref, phase, h.refcon) == 0 && before)
                return;  // the simulator's own handling and the after-handlers are skipped
        }
    }
}

void Host::commandBegin(XPLMCommandRef ref) {
    Command* c = const_cast<Command*>(command(ref));
    if (c == nullptr) {
        misuse("XPLMCommandBegin of an unknown command");
        return;
    }
    ++c->held;
    runCommand(ref, xplm_CommandBegin);
}

void Host::commandEnd(XPLMCommandRef ref) {
    Command* c = const_cast<Command*>(command(ref));
    if (c == nullptr || c->held == 0) {
        misuse("XPLMCommandEnd of a command that was not begun");
        return;
    }
    --c->held;
    runCommand(ref, xplm_CommandEnd);
}

void Host::commandOnce(XPLMCommandRef ref) {
    commandBegin(ref);
    if (command(ref) != nullptr)
        commandEnd(ref);
}

void Host::commandFrame() {
    std::vector<XPLMCommandRef> held;
    for (const auto& c : commands_) {
        if (c->held > 0)
            held.push_back(c.get());
    }
    for (XPLMCommandRef ref : held)
        runCommand(ref, xplm_CommandContinue);
}

// ---- Menus ----

const Menu* Host::menu(XPLMMenuID id) const {
    for (const Menu& m : menus_) {
        if (m.id == id)
            return &m;
    }
    return nullptr;
}

Menu* Host::editMenu(XPLMMenuID id, const char* fn) {
    Menu* m = const_cast<Menu*>(menu(id));
    if (m == nullptr)
        misuse(std::string(fn) + " on a menu that does not exist");
    return m;
}

MenuItem* Host::editItem(XPLMMenuID id, int index, const char* fn) {
    Menu* m = editMenu(id, fn);
    if (m == nullptr)
        return nullptr;
    if (index < 0 || static_cast<size_t>(index) >= m->items.size()) {
        misuse(std::string(fn) + " with item index " + std::to_string(index) + " out of range");
        return nullptr;
    }
    return &m->items[static_cast<size_t>(index)];
}

XPLMMenuID Host::addMenu(const Menu& m) {
    if (m.name.empty()) {
        misuse("XPLMCreateMenu without a name");
        return nullptr;
    }
    if (m.parent != nullptr && editItem(m.parent, m.parentItem, "XPLMCreateMenu") == nullptr)
        return nullptr;
    XPLMMenuID id = Add(menus_, m, nextId_);
    // Looked up again: adding the menu may have moved its parent.
    if (m.parent != nullptr)
        editItem(m.parent, m.parentItem, "XPLMCreateMenu")->submenu = id;
    return id;
}

void Host::removeMenu(XPLMMenuID id) {
    if (id == pluginsMenu_ || menu(id) == nullptr) {
        misuse("XPLMDestroyMenu of a menu that does not exist or is the simulator's");
        return;
    }
    for (Menu& m : menus_) {
        for (MenuItem& item : m.items) {
            if (item.submenu == id)
                item.submenu = nullptr;
        }
    }
    Erase(menus_, id);
}

const MenuItem* Host::findMenuItem(const std::string& name, const Menu** holder) const {
    for (const Menu& m : menus_) {
        for (const MenuItem& item : m.items) {
            const bool same =
                item.name.size() == name.size() &&
                std::equal(name.begin(), name.end(), item.name.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) ==
                           std::tolower(static_cast<unsigned char>(b));
                });
            if (!same)
                continue;
            if (holder != nullptr)
                *holder = &m;
            return &item;
        }
    }
    return nullptr;
}

bool Host::pickMenuItem(const std::string& name) {
    const Menu* m = nullptr;
    const MenuItem* item = findMenuItem(name, &m);
    if (item == nullptr || !item->enabled)
        return false;
    if (item->command != nullptr) {
        commandOnce(item->command);
    } else if (m->handler != nullptr) {
        m->handler(m->ref, item->ref);
    }
    return true;
}

// ---- Flight loops ----

namespace {

// When a loop asking for `interval` (frames if negative, seconds if positive) is next due,
// counted from frame `frame` at time `time`.
void Due(FlightLoop& loop, float interval, long long frame, double time) {
    loop.scheduled = interval != 0.0f;
    loop.byFrames = interval < 0.0f;
    // A fraction of a frame is the next frame: the simulator runs nothing between frames.
    loop.dueFrame = frame + std::max(1LL, static_cast<long long>(std::ceil(-interval)));
    loop.dueTime = time + static_cast<double>(interval);
}

}  // namespace

XPLMFlightLoopID Host::createFlightLoop(const FlightLoop& loop) {
    FlightLoop created = loop;
    created.scheduled = false;
    created.lastFrame = frameCount_;
    created.lastTime = clock_;
    return Add(loops_, created, nextId_);
}

const FlightLoop* Host::flightLoop(XPLMFlightLoopID id) const {
    for (const FlightLoop& loop : loops_) {
        if (loop.id == id)
            return &loop;
    }
    return nullptr;
}

void Host::scheduleFlightLoop(XPLMFlightLoopID id, float interval, int relativeToNow) {
    FlightLoop* loop = const_cast<FlightLoop*>(flightLoop(id));
    if (loop == nullptr) {
        misuse("XPLMScheduleFlightLoop of a flight loop that does not exist (destroyed?)");
        return;
    }
    if (relativeToNow != 0) {
        Due(*loop, interval, frameCount_, clock_);
    } else {
        Due(*loop, interval, loop->lastFrame, loop->lastTime);
    }
}

void Host::destroyFlightLoop(XPLMFlightLoopID id) {
    if (!Erase(loops_, id))
        misuse("XPLMDestroyFlightLoop of a flight loop that does not exist (destroyed twice?)");
}

void Host::flightLoopFrame(double seconds, const std::function<void()>& flightModel) {
    clock_ += seconds;
    ++frameCount_;
    const double sinceLastLoops = clock_ - lastLoopsTime_;
    lastLoopsTime_ = clock_;
    for (XPLMFlightLoopPhaseType phase :
         {xplm_FlightLoop_Phase_BeforeFlightModel, xplm_FlightLoop_Phase_AfterFlightModel}) {
        if (phase == xplm_FlightLoop_Phase_AfterFlightModel && flightModel)
            flightModel();
        // Loops may come, go or be rescheduled inside a callback: walk the ids as they stood.
        std::vector<XPLMFlightLoopID> ids;
        for (const FlightLoop& loop : loops_) {
            if (loop.phase == phase)
                ids.push_back(loop.id);
        }
        for (XPLMFlightLoopID id : ids) {
            const FlightLoop* loop = flightLoop(id);
            if (loop == nullptr || !loop->scheduled ||
                (loop->byFrames ? frameCount_ < loop->dueFrame : clock_ < loop->dueTime)) {
                continue;
            }
            const float sinceLastCall = static_cast<float>(clock_ - loop->lastTime);
            const float next = loop->callback(sinceLastCall, static_cast<float>(sinceLastLoops),
                                              static_cast<int>(frameCount_), loop->refcon);
            FlightLoop* called = const_cast<FlightLoop*>(flightLoop(id));
            if (called == nullptr)
                continue;  // it destroyed itself
            called->lastFrame = frameCount_;
            called->lastTime = clock_;
            Due(*called, next, frameCount_, clock_);
        }
    }
}

void Host::pluginStopped() {
    if (!loops_.empty()) {
        misuse(std::to_string(loops_.size()) +
               " flight loop(s) left behind at stop: XPLMDestroyFlightLoop missing");
    }
    loops_.clear();
}

// ---- Camera ----

int Host::cameraFrame(bool passNullPosition) {
    if (camera_.callback == nullptr)
        return -1;
    const Camera held = camera_;
    // NaN in every other field, and a pattern that is a plain number (0xDEADBEEF) in the rest;
    // the next call swaps them.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    float pattern;
    const uint32_t bits = 0xDEADBEEFu;
    std::memcpy(&pattern, &bits, sizeof pattern);
    float garbage[7];
    for (unsigned i = 0; i < 7; ++i)
        garbage[i] = (i + cameraCalls_) % 2 == 0 ? nan : pattern;
    ++cameraCalls_;
    XPLMCameraPosition_t position;
    std::memcpy(&position, garbage, sizeof position);
    const int keep = held.callback(passNullPosition ? nullptr : &position, 0, held.refcon);
    if (keep != 0 && !passNullPosition)
        cameraPosition = position;
    if (keep == 0 && camera_.callback == held.callback)
        releaseCamera();
    return keep;
}

void Host::changeView() {
    if (camera_.callback == nullptr || camera_.duration != xplm_ControlCameraUntilViewChanges) {
        return;
    }
    const Camera held = camera_;
    releaseCamera();
    held.callback(nullptr, 1, held.refcon);
}

}  // namespace hostsim
