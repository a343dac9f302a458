// A headless stand-in for the simulator: it implements the XPLM functions a plug-in calls over
// in-memory state, records every call in order, and lets a program drive what the simulator
// would drive (keys, frames, the camera). It knows nothing of the plug-in it hosts.
//
// Its state is a set of parts, one per part of the simulator, each in the file of the same name
// and each with its defaults in its own struct: a reset is a fresh set of parts.
#ifndef HOSTSIM_HOSTSIM_H
#define HOSTSIM_HOSTSIM_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/xplm.h"

#if defined(_WIN32)
#if defined(HOSTSIM_BUILDING)
#define HOSTSIM_API __declspec(dllexport)
#else
#define HOSTSIM_API __declspec(dllimport)
#endif
#else
#define HOSTSIM_API __attribute__((visibility("default")))
#endif

namespace hostsim {

// ---- The record of every call (calls.cpp) ----

struct HOSTSIM_API Arg {
    enum class Kind { Int, Float, Double, Pointer, Text, Bare, Ints, Floats };
    Kind kind = Kind::Int;
    long long i = 0;
    float f = 0.0f;
    double d = 0.0;
    const void* p = nullptr;
    std::string text;           // Text, quoted; Bare, as it stands (a dataref path, a colour)
    std::vector<int> ints;      // Ints
    std::vector<float> floats;  // Floats

    static Arg Int(long long v);
    static Arg Float(float v);
    static Arg Double(double v);
    static Arg Pointer(const void* v);
    static Arg Text(const char* v);
    // The elements of an array, as many as `count`.
    static Arg Array(const int* v, int count);
    static Arg Array(const float* v, int count);
    std::string str() const;
};

struct HOSTSIM_API Call {
    std::string fn;
    std::vector<Arg> args;
    bool hasResult = false;
    Arg result;

    // "XPLMSetDatad(sim/flightmodel/position/local_z, -50.100000000000001)": floats with 9 and
    // doubles with 17 significant digits, so equal strings mean equal bits.
    std::string str() const;
};

struct HOSTSIM_API Recorder {
    bool enabled = true;
    std::vector<Call> calls;
    // Calls the simulator would reject or that would harm it: an unregistration that matches no
    // registration in every argument, a window destroyed twice, a camera released by a plug-in
    // that does not hold it. One line each; tests fail on any.
    std::vector<std::string> misuses;

    void clear() { calls.clear(); }
    std::vector<std::string> strings() const;
    // Only the calls whose function name is one of `names`, as strings.
    std::vector<std::string> only(std::initializer_list<const char*> names) const;
    size_t count(const char* fn) const;
    void misuse(const std::string& what) { misuses.push_back(what); }
};

// ---- Datarefs (datarefs.cpp) ----

enum class DataType { Float, Double, Int, IntArray, FloatArray };

struct DataRefValue {
    std::string path;
    DataType type = DataType::Float;
    float f = 0.0f;
    double d = 0.0;
    std::vector<int> ints;  // an Int is an array of one
    std::vector<float> floats;
    // A dataref a plug-in registered: read through its functions (a type it has no function for
    // reads 0), never written by the host.
    bool registered = false;
    XPLMGetDatai_f readInt = nullptr;
    XPLMGetDataf_f readFloat = nullptr;
    XPLMGetDatad_f readDouble = nullptr;
    void* refcon = nullptr;
};

// A dataref of the simulator's, with its real type.
struct KnownDataRef {
    const char* path;
    DataType type;
    int size;  // elements of an array
};
// The simulator's datarefs that hostsim has, in its own order: far fewer than the simulator's
// thousands, but every one a plug-in under test may read.
HOSTSIM_API const std::vector<KnownDataRef>& KnownDataRefs();

// Typed values under the simulator's paths. A path the host does not define resolves to a null
// handle. Reads and writes from a test go through the same typed rules as the plug-in's.
class HOSTSIM_API DataRefs {
  public:
    DataRefs();  // every known dataref, at 0
    void define(const std::string& path, DataType type, int size = 1);
    void remove(const std::string& path);
    bool has(const std::string& path) const;
    DataRefValue& at(const std::string& path);  // aborts on an unknown path
    XPLMDataRef find(const char* path) const;
    // The datarefs plug-ins registered and have not unregistered, by path.
    std::vector<std::string> registered() const;
    // Whether element 0 of the path override is set: the user's aircraft held, its flight model
    // off. True where the simulator has no such array.
    bool aircraftHeld() const;

    void setDouble(const std::string& path, double v);
    void setFloat(const std::string& path, float v);
    void setInt(const std::string& path, int index, int v);  // an Int is element 0
    void setFloatAt(const std::string& path, int index, float v);
    double getDouble(const std::string& path);
    float getFloat(const std::string& path);
    float getFloatAt(const std::string& path, int index);
    int getInt(const std::string& path, int index);

  private:
    // Looked up by a plain C string without building a std::string: no allocation per call.
    std::map<std::string, std::unique_ptr<DataRefValue>, std::less<>> values_;
    // Removed datarefs stay allocated so that a stale handle never points at freed memory.
    std::vector<std::unique_ptr<DataRefValue>> retired_;
    // The path override, looked up once: every write asks whether the aircraft is held.
    const DataRefValue* pathOverride_ = nullptr;
};

// ---- Keys, windows and drawing (display.cpp) ----

// A window: legacy (XPLMCreateWindow: pixels, origin at the main window's lower left, always
// free-floating) or modern (XPLMCreateWindowEx: boxels on the global desktop, with a layer, a
// decoration and a positioning mode).
struct Window {
    XPLMWindowID id = nullptr;
    int left = 0, top = 0, right = 0, bottom = 0;
    int visible = 0;
    XPLMDrawWindow_f draw = nullptr;
    void* refcon = nullptr;
    bool modern = false;
    XPLMHandleMouseClick_f click = nullptr, rightClick = nullptr;
    XPLMHandleKey_f key = nullptr;
    XPLMHandleCursor_f cursor = nullptr;
    XPLMHandleMouseWheel_f wheel = nullptr;
    int layer = 0, decoration = 0;
    int positioning = 0;  // xplm_WindowPositionFree
    int vrWidth = 0, vrHeight = 0;
};

struct HotKey {
    XPLMHotKeyID id = nullptr;
    char virtualKey = 0;
    XPLMKeyFlags flags = 0;
    std::string description;
    XPLMHotKey_f callback = nullptr;
    void* refcon = nullptr;
};

struct KeySniffer {
    XPLMKeySniffer_f callback = nullptr;
    int beforeWindows = 0;
    void* refcon = nullptr;
};

struct Box {
    int left, top, right, bottom;
    bool vr = false;  // drawn by a window in the headset
};

struct Text {
    float rgb[3];
    int x, y;
    std::string text;
    bool vr = false;
};

// What the draw callbacks drew during one frame, in order, in the numbers they drew with: boxels
// for a modern window, pixels for a legacy one.
struct Frame {
    std::vector<Box> boxes;
    std::vector<Text> texts;
};

struct HOSTSIM_API Display {
    // The main X-Plane window, in pixels: what XPLMGetScreenSize tells a legacy window.
    int screenWidth = 1920;
    int screenHeight = 1080;
    // Pixels a boxel: 1, 1.5 or 2, as the user's UI scale.
    double uiScale = 1.0;
    // The monitors X-Plane runs full screen on, in global boxels, the main one (with the menu
    // bar) first; none given: one, the main window's size at the UI scale, its origin at (0, 0).
    std::vector<Box> monitors;
    // X-Plane in a window rather than full screen: no full-screen monitor, and the desktop is
    // that window.
    bool windowed = false;
    Box windowBounds{100, 900, 1300, 100};
    // In the headset: only windows in VR positioning are seen.
    bool vr = false;
    // Whether a click over an undecorated window reaches its callbacks (the header says such a
    // window "will not stop click from passing through its bounds", not whether it is asked).
    bool undecoratedClicks = false;
    // A window (a text field being typed into) has the keyboard.
    bool windowHasKeyboard = false;
    std::vector<Window> windows;
    std::vector<HotKey> hotKeys;
    std::vector<KeySniffer> sniffers;
    unsigned hotKeyCalls = 0;  // hot-key callbacks that key events have called
    bool drawing = false;      // inside drawFrame
    Frame frame;               // what drawFrame is collecting

    // Keys, as the simulator delivers them: every event goes first to the key sniffers
    // registered before windows, then, unless a window has the keyboard, to those registered
    // after them, then to every hot key whose key and flags match exactly. A sniffer that returns
    // 0 consumes the event and nothing after it sees it. Returns true when a sniffer consumed it.
    bool keyEvent(char character, XPLMKeyFlags flags, char virtualKey);
    // A key-down event and then a key-up event; modifiers are the Shift/Alt/Control bits.
    void pressKey(char virtualKey, XPLMKeyFlags modifiers = 0, char character = 0);
    // Calls every visible window's draw callback, in creation order; returns what they drew.
    // In VR only windows in VR positioning are visible; out of it, only the others.
    Frame drawFrame();

    // The full-screen monitors as the host stands (none when windowed), and the global desktop:
    // the bounding box of every X-Plane window, wasted space included.
    std::vector<Box> fullScreenMonitors() const;
    Box desktop() const;
    // A left click at (x, y) in global boxels, down then up: to the windows under it from the
    // top layer down, the newest first within a layer, until one returns 1. Returns that
    // window, or nullptr when the simulator gets the click.
    XPLMWindowID click(int x, int y);
    // Where a window in VR is: the host puts it at an origin that is not (0, 0).
    static constexpr int kVrLeft = 5000, kVrBottom = 3000;
};

// ---- Commands, command buttons and menus (commands.cpp) ----

// A command: made by name, never destroyed (it outlives the plug-in that made it).
struct Command {
    std::string name;
    std::string description;
    int held = 0;  // begun and not yet ended
};

struct CommandHandler {
    XPLMCommandRef command = nullptr;
    XPLMCommandCallback_f callback = nullptr;
    int before = 0;
    void* refcon = nullptr;
};

struct MenuItem {
    std::string name;
    void* ref = nullptr;
    XPLMMenuCheck check = xplm_Menu_NoCheck;
    bool enabled = true;               // items start enabled
    XPLMCommandRef command = nullptr;  // run when picked, instead of the menu's handler
    XPLMMenuID submenu = nullptr;
    bool separator = false;  // a line between items, which does nothing when picked
};

struct Menu {
    XPLMMenuID id = nullptr;
    std::string name;
    XPLMMenuHandler_f handler = nullptr;
    void* ref = nullptr;
    std::vector<MenuItem> items;
};

// Commands, as the simulator runs them: every handler registered before the simulator, in
// registration order, until one returns 0, then every handler registered after it. A command run
// once is Begin then End; a held one is Begin, one Continue per frame, End. Menus: the Plugins
// menu exists from the start; plug-ins add items and submenus to it.
struct HOSTSIM_API Commands {
    Commands();
    std::vector<std::unique_ptr<Command>> commands;  // never moved: a ref is its address
    std::vector<CommandHandler> handlers;
    std::vector<Menu> menus;
    XPLMMenuID pluginsMenu = nullptr;
    // Whether a separator takes an item index, so that the items after it move up one: the SDK
    // does not say. A plug-in that uses the indices it is given is right either way.
    bool separatorsIndexed = true;

    XPLMCommandRef find(const std::string& name) const;
    Command* command(XPLMCommandRef ref) const;  // null for a ref that is no command
    void run(XPLMCommandRef ref, XPLMCommandPhase phase);
    void once(XPLMCommandRef ref);
    void begin(XPLMCommandRef ref);
    void end(XPLMCommandRef ref);
    // One frame's Continue for every command held down.
    void frame();

    const Menu* menu(XPLMMenuID id) const;  // null for a menu that does not exist
    // The first item of that name in any menu, and the menu that holds it; null if none. Case
    // does not matter: a user reads a name off the menu, and its capitals are not the point.
    const MenuItem* findMenuItem(const std::string& name, const Menu** holder = nullptr) const;
    // The user picks the first item of that name in any menu: its command runs once, or its
    // menu's handler is called. A disabled item does nothing. False if none is found or it is
    // disabled.
    bool pickMenuItem(const std::string& name);
};

// ---- Flight loops (flight_loops.cpp) ----

// A flight loop callback, created unscheduled; `scheduled` while the simulator is to call it.
struct FlightLoop {
    XPLMFlightLoopID id = nullptr;
    XPLMFlightLoopPhaseType phase = xplm_FlightLoop_Phase_BeforeFlightModel;
    XPLMFlightLoop_f callback = nullptr;
    void* refcon = nullptr;
    bool scheduled = false;
    bool byFrames = false;  // due at frame `dueFrame`, otherwise at time `dueTime`
    long long dueFrame = 0;
    double dueTime = 0.0;
    long long lastFrame = 0;  // when it was last called, or created if never
    double lastTime = 0.0;
};

// The simulator's frames: each advances the clock by `seconds`, calls the loops due before the
// flight model in creation order, then runs the flight model and `simulatorWork` (more of the
// simulator's own work, if given), then the loops due after it. A loop is due when the frames or
// seconds it asked for have passed; it is told the time since its last call (or its creation),
// the time since the last frame's loops, and the frame count.
struct HOSTSIM_API FlightLoops {
    std::vector<FlightLoop> loops;
    unsigned long long calls = 0;  // loop callbacks made
    double clock = 0.0;
    long long frames = 0;  // the cycle number, too
    double lastLoopsTime = 0.0;
    // Whether the simulator calls flight loops while it is paused: not documented.
    bool whilePaused = true;

    void frame(double seconds, const std::function<void()>& simulatorWork = {});
    FlightLoop* find(XPLMFlightLoopID id);  // null once destroyed
};

// ---- Terrain (terrain.cpp) ----

// A surface over part of the ground: a bridge deck, a raised step, a lake. A rectangle, or a disc
// where `radius` is above 0.
struct Surface {
    double minX = 0, maxX = 0, minZ = 0, maxZ = 0;
    double centreX = 0, centreZ = 0, radius = 0;
    double top = 0;  // metres above sea level
    bool wet = false;
    bool covers(double x, double z) const;
};

// What a probe down through (x, z) finds: the tallest surface.
struct TerrainHit {
    bool hit = false;
    double y = 0.0;
    bool wet = false;
    double normal[3] = {0.0, 1.0, 0.0};
};

struct Probe {
    XPLMProbeRef id = nullptr;
};

// The scenery around the aircraft, in local metres (x east, z south), and the probes that find
// it. The ground is a plane (flat when `grade` is 0) with an optional round hill on it; surfaces
// lie over it. Beyond `loadedRadius` from the origin nothing is loaded, and a probe hits the 0 m
// sea-level sphere. The defaults load nothing.
struct HOSTSIM_API Terrain {
    bool loaded = false;      // nothing loaded: every probe misses
    double elevation = 0.0;   // of the plane at the origin
    double grade = 0.0;       // rise per metre, toward `uphill`
    double uphill = 0.0;      // degrees true
    double hillHeight = 0.0;  // a round hill, its top at (hillX, hillZ)
    double hillRadius = 0.0;
    double hillX = 0.0, hillZ = 0.0;
    std::vector<Surface> surfaces;
    double loadedRadius = 1e12;
    double loadedX = 0.0, loadedZ = 0.0;  // the loaded area's centre
    std::vector<Probe> probes;

    TerrainHit at(double x, double z) const;
    // The tallest surface at or below `y` under (x, z): what the height above ground counts from.
    double groundBelow(double x, double y, double z) const;
    // The same scenery described from a local origin moved to (x, z).
    void moveOrigin(double x, double z);
};

// ---- The flight model (flight_model.cpp) ----

// When the simulator recomputes y_agl: every frame, or (it is not documented which) not while a
// plug-in holds the flight path.
enum class AglMode { EveryFrame, FrozenWhileHeld };

// Which of its two sets of rotation rates the flight model carries on from when it runs (it is
// not documented which): P, Q and R in degrees a second, or Prad, Qrad and Rrad in radians. The
// other set follows it.
enum class RateSource { Degrees, Radians };

// The simulator's own work on the user's aircraft once a frame, between the flight loops before
// and after it. Paused, frames (and cycles) go on but the flight model does not: no flight time,
// no motion, no new height above ground, and onground_any stays as it was.
struct HOSTSIM_API FlightModel {
    // The height of the aircraft's reference point (where local_y is) above its wheels' contact
    // with the ground, for onground_any.
    double restHeight = 0.0;
    AglMode aglMode = AglMode::EveryFrame;
    RateSource rateSource = RateSource::Degrees;
    bool paused = false;

    // The user's attitude as the simulator sets it: psi, theta and phi, and the quaternion q the
    // flight model keeps them in (while it runs, q is the master and they follow it).
    void setAttitude(float psi, float theta, float phi);
    void run(double seconds);
    // Gravity on an aircraft too slow to fly, clear of the ground: its fall this frame, or its
    // landing, stopped where it stands.
    void fall(double seconds);
};

// ---- The camera (camera.cpp) ----

struct HOSTSIM_API Camera {
    XPLMCameraControl_f callback = nullptr;  // of the plug-in that holds it, if one does
    XPLMCameraControlDuration duration = 0;
    void* refcon = nullptr;
    XPLMCameraPosition_t position{0, 0, 0, 0, 0, 0, 1.0f};  // what the simulator's view shows
    unsigned frames = 0;

    bool controlled() const { return callback != nullptr; }
    // One frame while a plug-in holds the camera. As the simulator says, the struct's contents
    // are undefined when the callback is called: it comes filled with garbage (NaN in some
    // fields, a non-NaN pattern in the others, swapped at every call), so a field the callback
    // does not write shows. A result of 1 makes the struct the view; 0 gives the camera back and
    // leaves the view as it was. Returns the callback's result, or -1 when nobody holds it.
    int frame(bool passNullPosition = false);
    // The user picks another view: a camera held until the view changes is taken back, its
    // callback told so with the losing-control flag and a null struct.
    void changeView();
    // The simulator takes the camera back without that call (the header promises it; this is the
    // case where it never came).
    void takeBackSilently() { callback = nullptr; }
};

// ---- Coordinates: local and world (coordinates.cpp) ----

// Local coordinates are metres about a reference point (x east, y up, z south), which the
// simulator moves as the aircraft travels; world ones are degrees and metres above sea level. The
// host charts the world flat around the scenery, a fixed number of metres to a degree each way,
// so that a move of the reference point shifts every local coordinate by exactly the move, and a
// test can work out where anything lands by hand.
struct HOSTSIM_API Coordinates {
    double latitude = 47.464722;  // of local (0, 0, 0): the reference point
    double longitude = 8.549167;
    double metresPerDegreeLatitude = 111194.92664455873;  // a 6371 km sphere
    double metresPerDegreeLongitude = 75172.66675835194;  // the same at 47.46 degrees north

    void toLocal(double lat, double lon, double alt, double& x, double& y, double& z) const;
    void toWorld(double x, double y, double z, double& lat, double& lon, double& alt) const;
    // The simulator re-centres local coordinates on local (x, 0, z): the reference point moves
    // there, the aircraft's position and the scenery shift by -(x, z), and lat_ref and lon_ref say
    // where the reference point now is.
    void moveOrigin(double x, double z);
};

// ---- Navigation: airports (navigation.cpp) ----

struct Airport {
    std::string id;  // "LSZH"
    std::string name;
    float latitude = 0.0f, longitude = 0.0f;
    float elevation = 0.0f;  // metres
};

// The navigation database, airports only: XPLMFindNavAid finds the nearest, XPLMGetNavAidInfo
// tells its id. Empty by default.
struct HOSTSIM_API Navigation {
    std::vector<Airport> airports;
};

// ---- Other plug-ins (plugins.cpp) ----

// A plug-in running beside the one under test, found by its signature, and the messages it was
// sent (a dataref browser is told of new datarefs by a message whose parameter is the name).
struct OtherPlugin {
    XPLMPluginID id = 0;
    std::string signature;
    std::vector<std::pair<int, std::string>> messages;  // the message, its parameter as text
};

struct HOSTSIM_API Plugins {
    std::vector<OtherPlugin> others;
    // A running plug-in with that signature; its id.
    XPLMPluginID add(const std::string& signature);
    const OtherPlugin* find(const std::string& signature) const;
};

// ---- Utilities: preferences, features, the log (utilities.cpp) ----

// A folder in the system's temporary folder for this process alone, removed when it ends.
HOSTSIM_API std::string DefaultPrefsFolder();

struct HOSTSIM_API Utilities {
    // The simulator's preferences folder, a native path (UTF-8): where XPLMGetPrefsPath points.
    // By default a folder of this process's own, emptied at every reset.
    std::string prefsFolder = DefaultPrefsFolder();
    // What plug-ins wrote to the simulator's Log.txt with XPLMDebugString, a string a call.
    std::vector<std::string> log;
    std::vector<std::string> features;  // enabled
    // An XPLM 301 host or newer (X-Plane 11.20 on): XPLMFindSymbol finds the XPLM301 functions.
    // Off, the host stands in for X-Plane 11.10 (XPLM 300).
    bool xplm301 = true;

    // Empties (and makes) the folder chosen.
    void emptyPrefsFolder() const;
    bool featureEnabled(const std::string& feature) const;
};

// ---- The simulator ----

class HOSTSIM_API Host {
  public:
    static Host& get();

    // Back to a freshly started simulator: every part fresh, the preferences folder emptied.
    // Only while no plug-in is loaded.
    void reset();

    Recorder recorder;
    DataRefs datarefs;
    Display display;
    Commands commands;
    FlightLoops loops;
    Terrain terrain;
    FlightModel flightModel;
    Camera camera;
    Coordinates coordinates;
    Navigation navigation;
    Plugins plugins;
    Utilities utilities;
    // Whether the loaded plug-in is enabled: a disabled one gets no callback of any kind (keys,
    // commands, menu handlers, flight loops, drawing, the camera). The loader keeps it.
    bool pluginEnabled = true;

    // What the loader calls once a plug-in has stopped: a flight loop still there would be called
    // into an unloaded library, and a probe would leak. Each is reported as misuse and removed.
    void pluginStopped();

  private:
    Host() = default;
};

// ---- Loading a plug-in as the simulator does (loader.cpp) ----

class HOSTSIM_API Plugin {
  public:
    Plugin() = default;
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Opens the library with every symbol bound now, finds the five entry points, calls
    // XPluginStart with three 256-byte buffers (full of non-zero bytes, so that a string copied
    // without its terminator shows) and then XPluginEnable. On failure returns false
    // with `error` naming what is missing; nothing stays loaded.
    bool load(const std::string& path, std::string& error);
    // XPluginDisable (if enabled), XPluginStop, then closes the library. Safe when not loaded.
    void unload();
    // As the user does in the plug-in admin: the host stops or resumes every callback.
    void disable();
    int enable();
    // A message, with its parameter passed as the pointer's value, from the simulator
    // (XPLM_PLUGIN_XPLANE, 0) or from another plug-in's id; only an enabled plug-in receives it.
    void sendMessage(int message, intptr_t parameter = 0, XPLMPluginID from = kSimulator);
    static constexpr XPLMPluginID kSimulator = 0;
    static constexpr XPLMPluginID kAnotherPlugin = 7;
    bool loaded() const { return handle_ != nullptr; }

    int startResult = 0;
    int enableResult = 0;
    std::string name, signature, description;

    // Entry points and the exported symbols, for driving the plug-in directly.
    int (*XPluginStart)(char*, char*, char*) = nullptr;
    void (*XPluginStop)() = nullptr;
    int (*XPluginEnable)() = nullptr;
    void (*XPluginDisable)() = nullptr;
    void (*XPluginReceiveMessage)(XPLMPluginID, int, void*) = nullptr;
    // Any other exported symbol, or null.
    void* symbol(const char* name) const;

  private:
    void* handle_ = nullptr;
    bool enabled_ = false;
};

}  // namespace hostsim

#endif  // HOSTSIM_HOSTSIM_H
