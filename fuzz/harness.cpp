#include "harness.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <sstream>
#include <string>

#if !defined(_WIN32)
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/time.h>
#include <unistd.h>
#endif

#include "hostsim.h"
#include "paths.h"
#include "published.h"

namespace trovik_fuzz {

namespace {

using hostsim::paths::kOverride;

// Every dataref the plug-in binds, the override first; values are set for all but the override,
// which only the plug-in writes.
const char* Path(size_t i) {
    return trovik_published::kBindings[i % std::size(trovik_published::kBindings)];
}
size_t PathCount() {
    return std::size(trovik_published::kBindings);
}

const double kSpecial[] = {
    0.0,
    -0.0,
    std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    std::numeric_limits<double>::max(),
    -std::numeric_limits<double>::max(),
    std::numeric_limits<double>::denorm_min(),
    1e300,
    -1e-300,
    3.4028234663852886e38,  // FLT_MAX
    0.07,
    2.9,
    0.05,
    -123.456,
    360.0,
};

const char* const kMenuItems[] = {"Slew mode",        "Top-down view",     "Joystick slew",
                                  "One step per tap", "Keypad and F-keys", "Y toggles slew mode"};

// Frames of 60 and 30 Hz, a stutter, none at all, and a sliver.
const double kFrameTimes[] = {1.0 / 60, 1.0 / 30, 0.25, 0.0, 1e-7};

const int kScreenSizes[] = {0, 1, 2, 21, 22, 50, 1080, 1920, 65535, 1 << 24, INT_MAX - 1, INT_MAX};

struct Reader {
    const uint8_t* p;
    size_t n;
    bool empty() const { return n == 0; }
    uint8_t byte() {
        if (n == 0)
            return 0;
        --n;
        return *p++;
    }
    double raw() {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits = bits << 8 | byte();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
};

hostsim::Plugin gPlugin;
int* gMaster = nullptr;
uint64_t gInputs = 0;
uint64_t gEvents = 0;
// Broken settings files made in this input: each costs files made, moved and synced to disk.
int gBrokenFiles = 0;
constexpr int kBrokenFilesPerInput = 4;

[[noreturn]] void Broken(const char* promise, const std::string& detail = "") {
    std::fprintf(stderr, "trovik_fuzz: broken promise: %s %s\n", promise, detail.c_str());
    std::abort();
}

hostsim::Host& H() {
    return hostsim::Host::get();
}

bool Writes(const hostsim::Call& c) {
    return c.fn == "XPLMSetDataf" || c.fn == "XPLMSetDatad" || c.fn == "XPLMCommandButtonPress" ||
           c.fn == "XPLMCommandButtonRelease" || c.fn == "XPLMControlCamera";
}

// Whether slew mode plainly holds the aircraft: the overlay open, the flag and element 0 set.
bool Holding() {
    return !H().display.windows.empty() && *gMaster != 0 &&
           (!H().datarefs.has(kOverride) || H().datarefs.getInt(kOverride, 0) != 0);
}

bool InReplay() {
    return H().datarefs.has(hostsim::paths::kReplay) &&
           H().datarefs.getInt(hostsim::paths::kReplay, 0) != 0;
}

// One key event, checked: only listed keys write or consume, and only in slew mode; plainly in
// slew mode, with the 3-D view having the keyboard and no replay running, every listed key but S
// is consumed.
// Whether the keypad and F-keys are Trovik's, as its menu shows.
bool SlewKeysOn() {
    const hostsim::MenuItem* item = H().commands.findMenuItem("Keypad and F-keys");
    return item == nullptr || item->check == xplm_Menu_Checked;
}

void Key(char character, int flags, char key) {
    const bool ours = SlewKeysOn();
    const bool sure =
        ours && Holding() && H().pluginEnabled && !H().display.windowHasKeyboard && !InReplay();
    const size_t from = H().recorder.calls.size();
    const bool consumed = H().display.keyEvent(character, flags, key);
    const int k = static_cast<signed char>(key);
    const bool listed = trovik_published::Listed(k) && k != XPLM_VK_S;
    if (consumed && (!listed || !Holding() || !ours))
        Broken("only listed keys consume, in slew mode, while they are Trovik's",
               std::to_string(k));
    if (sure && listed && !consumed)
        Broken("in slew mode every listed key is consumed", std::to_string(k));
    for (size_t i = from; i < H().recorder.calls.size(); ++i) {
        const hostsim::Call& c = H().recorder.calls[i];
        // Y, the hot key, hands the aircraft back when it ends slew mode.
        if (Writes(c) && (!trovik_published::Listed(k) || !ours) && k != XPLM_VK_Y)
            Broken("only listed keys write, while they are Trovik's",
                   std::to_string(k) + " " + c.str());
    }
}

void Start() {
    char name[256], sig[256], desc[256];
    gPlugin.XPluginStart(name, sig, desc);
    gPlugin.enable();
}

void Stop() {
    gPlugin.disable();
    gPlugin.XPluginStop();
    if (!H().display.hotKeys.empty() || !H().display.sniffers.empty() ||
        !H().display.windows.empty() || H().camera.controlled() || !H().commands.handlers.empty() ||
        H().commands.menus.size() != 1 ||
        !H().commands.menu(H().commands.pluginsMenu)->items.empty() || !H().loops.loops.empty()) {
        Broken("stop leaves no callback of the plug-in behind");
    }
    if (*gMaster != 0)
        Broken("stop ends slew mode");
}

// The preferences folder in memory where the system has one (/dev/shm), removed at exit: every
// save syncs the file to disk, and on a slow disk an input of a thousand saves would take
// minutes. Empty where there is none.
const std::string& MemoryPrefsFolder() {
    struct Folder {
        std::string path;
        ~Folder() {
            std::error_code ignored;
            if (!path.empty())
                std::filesystem::remove_all(std::filesystem::u8path(path), ignored);
        }
    };
    static const Folder folder = [] {
        Folder f;
#if !defined(_WIN32)
        std::error_code ignored;
        if (std::filesystem::is_directory("/dev/shm", ignored) && access("/dev/shm", W_OK) == 0)
            f.path = "/dev/shm/trovik-fuzz-" + std::to_string(getpid());
#endif
        return f;
    }();
    return folder.path;
}

void LoadOnce() {
    if (gPlugin.loaded())
        return;
    H().reset();
    std::string error;
    const char* path = std::getenv("TROVIK_XPL");
    if (!gPlugin.load(path != nullptr ? path : TROVIK_XPL, error)) {
        std::fprintf(stderr, "trovik_fuzz: %s\n", error.c_str());
        std::exit(2);
    }
    gMaster = static_cast<int*>(gPlugin.symbol("HotKey_Master"));
    if (gMaster == nullptr) {
        std::fprintf(stderr, "trovik_fuzz: no HotKey_Master\n");
        std::exit(2);
    }
}

// Whether the plug-in's rest height can be right: the gear geometry is, and so is a measurement
// made where the simulator's "on the ground" was true. A value set behind the simulator's back
// (the aircraft moved after the flight model last looked) can make it claim ground contact that
// is not there, and no plug-in can tell.
bool gRestTrusted = true;

// Where the simulator has the aircraft's reference point, and its wheels; false where a dataref
// is missing.
struct Aircraft {
    double x, y, z, wheels;
};
bool Where(Aircraft& a) {
    const std::string p = hostsim::paths::Position("");
    if (!H().datarefs.has(p + "local_x") || !H().datarefs.has(p + "local_y") ||
        !H().datarefs.has(p + "local_z"))
        return false;
    a = {H().datarefs.getDouble(p + "local_x"), H().datarefs.getDouble(p + "local_y"),
         H().datarefs.getDouble(p + "local_z"), 0.0};
    a.wheels = a.y - H().flightModel.restHeight;
    return true;
}

// The wheels' height above the ground under them (not above a deck over them), as the simulator
// knows it.
double Wheels() {
    Aircraft a;
    return Where(a) ? a.wheels - H().terrain.groundBelow(a.x, a.wheels + 0.06, a.z) : NAN;
}

// A hill with slopes up to 1 in 2.5 beside the start, a 2 m ledge ahead of it on flat ground
// (solid, or a deck to pass under: the probe cannot tell), loaded for 2 km around, and the
// aircraft on its wheels at the origin.
void LoadTerrain() {
    hostsim::Terrain& t = H().terrain;
    t.loaded = true;
    t.elevation = 432.0;
    t.hillHeight = 50.0;
    t.hillRadius = 200.0;
    t.hillX = 300.0;
    hostsim::Surface ledge;
    ledge.minX = -100, ledge.maxX = 50, ledge.minZ = -40, ledge.maxZ = -20;
    ledge.top = 434.0;
    t.surfaces = {ledge};
    t.loadedRadius = 2000.0;
    H().flightModel.restHeight = 1.6;
    for (int wheel = 0; wheel < 3; ++wheel)
        H().datarefs.setFloatAt(hostsim::paths::kTires, wheel, -1.62f);
    gRestTrusted = true;
    H().datarefs.setDouble("sim/flightmodel/position/local_y", 433.6);
    H().datarefs.setFloat("sim/flightmodel/position/y_agl", 1.6f);
    H().datarefs.setInt(hostsim::paths::kOnGround, 0, 1);
}

bool ProbeSeesTheGround() {
    Aircraft a;
    return Where(a) && std::isfinite(a.x) && std::isfinite(a.z) &&
           H().terrain.at(a.x, a.z).y <= a.wheels + 1.0;
}

// ---- The events, each as the simulator or the user could make it ----

void AnyKey(Reader& in) {  // any key event, as the simulator could deliver it
    const char key = static_cast<char>(in.byte());
    const char character = static_cast<char>(in.byte());
    Key(character, in.byte(), key);
}

void PressAndRelease(Reader& in) {
    const char key = static_cast<char>(in.byte());
    const int modifiers = in.byte() & 7;
    Key(0, modifiers | xplm_DownFlag, key);
    Key(0, modifiers | xplm_UpFlag, key);
}

void HotKeyY(Reader&) {
    Key('y', xplm_DownFlag, XPLM_VK_Y);
}

// A frame: the flight loops, at one of several frame times, then the drawing.
void OneFrame(Reader&) {
    const bool slewing = !H().display.windows.empty();
    const size_t from = H().recorder.calls.size();
    H().loops.frame(kFrameTimes[gEvents % (sizeof kFrameTimes / sizeof(double))]);
    // But once after a start: the dataref browsers are looked for and told.
    for (size_t i = from; !slewing && i < H().recorder.calls.size(); ++i) {
        const hostsim::Call& c = H().recorder.calls[i];
        if (c.fn != "XPLMFindPluginBySignature" && c.fn != "XPLMSendMessageToPlugin")
            Broken("out of slew mode nothing of ours runs per frame", c.str());
    }
    // Unless the simulator calls no flight loops while paused: then the next key notices.
    const bool loopsRan = !H().flightModel.paused || H().loops.whilePaused;
    if (loopsRan && !H().display.windows.empty() && !Holding())
        Broken("a frame after another plug-in lets go, slew mode has ended");
    const hostsim::Frame frame = H().display.drawFrame();
    for (const hostsim::Text& t : frame.texts) {
        if (t.text.size() > 255)
            Broken("the overlay string fits 255 characters");
    }
}

void CameraFrame(Reader& in) {
    H().camera.frame((in.byte() & 1) != 0);
}

void ViewChange(Reader&) {
    H().camera.changeView();
}

void Enable(Reader&) {
    gPlugin.enable();
}

void Disable(Reader&) {
    gPlugin.disable();
}

void AnyValue(Reader& in) {  // the simulator changes a value, to anything
    const char* path = Path(1 + in.byte() % (PathCount() - 1));
    const uint8_t how = in.byte();
    const double v = how < 160 ? kSpecial[how % (sizeof kSpecial / sizeof kSpecial[0])] : in.raw();
    if (H().datarefs.has(path))
        H().datarefs.setDouble(path, v);
}

void Screen(Reader& in) {
    H().display.screenWidth = kScreenSizes[in.byte() % (sizeof kScreenSizes / sizeof(int))];
    H().display.screenHeight = kScreenSizes[in.byte() % (sizeof kScreenSizes / sizeof(int))];
}

void Restart(Reader&) {
    Stop();
    Start();
}

void MissingDataref(Reader& in) {  // an older or newer simulator lacks a dataref
    const char* path = Path(in.byte());
    Stop();
    H().datarefs.remove(path);
    Start();
}

void Message(Reader& in) {  // a message from the simulator, about the user's aircraft or another
    const int messages[] = {XPLM_MSG_PLANE_CRASHED,
                            XPLM_MSG_PLANE_LOADED,
                            XPLM_MSG_AIRPORT_LOADED,
                            104,
                            XPLM_MSG_PLANE_UNLOADED,
                            107,
                            0x7FFFFFFF};
    const int message = messages[in.byte() % 7];
    const int aircraft = in.byte() % 3;
    gPlugin.sendMessage(message, aircraft);
    if (message == XPLM_MSG_PLANE_LOADED && aircraft == 0)
        gRestTrusted = true;  // forgotten: from the gear again
}

void KeyS(Reader& in) {
    Key('s', xplm_DownFlag | (in.byte() & 1), XPLM_VK_S);
}

void BoundCommand(Reader& in) {  // a bound key or button: tapped, or held for some frames
    const std::vector<hostsim::CommandHandler>& handlers = H().commands.handlers;
    if (handlers.empty())
        return;
    XPLMCommandRef command = handlers[in.byte() % handlers.size()].command;
    const int frames = in.byte() % 4;
    H().commands.begin(command);
    for (int f = 0; f < frames; ++f)
        H().commands.frame();
    H().commands.end(command);
}

void MenuItem(Reader& in) {
    H().commands.pickMenuItem(kMenuItems[in.byte() % std::size(kMenuItems)]);
}

void OtherPluginsPath(Reader& in) {  // another plug-in takes the aircraft, or lets it go
    if (H().datarefs.has(kOverride))
        H().datarefs.setInt(kOverride, 0, in.byte() & 1);
}

void OtherPluginsFlag(Reader& in) {  // another plug-in writes the exported flag
    *gMaster = in.byte() & 1;
}

void TextField(Reader&) {  // the user clicks into a text field, or back into the 3-D view
    H().display.windowHasKeyboard = !H().display.windowHasKeyboard;
}

void SettingsFile(Reader& in) {  // the settings file holds anything at all at the next start
    std::string content;
    for (int n = in.byte() * 4; n > 0 && !in.empty(); --n)
        content += static_cast<char>(in.byte());
    const std::string path = H().utilities.prefsFolder + "/" + hostsim::paths::kSettingsFile;
    // Whatever a broken settings event left there goes first: opened for writing, a FIFO would
    // wait for a reader forever.
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::u8path(path), ignored);
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
    Stop();
    H().utilities.log.clear();
    Start();
    if (H().utilities.log.size() > 1)
        Broken("one line in the log at most for a settings file", H().utilities.log[1]);
}

void Replay(Reader& in) {  // a replay starts or ends, in or out of slew mode
    if (H().datarefs.has(hostsim::paths::kReplay))
        H().datarefs.setInt(hostsim::paths::kReplay, 0, in.byte() & 1);
}

void MessageFromAnother(Reader& in) {  // another plug-in sends a message, the simulator's or not
    const int messages[] = {XPLM_MSG_PLANE_CRASHED,
                            XPLM_MSG_PLANE_LOADED,
                            XPLM_MSG_AIRPORT_LOADED,
                            XPLM_MSG_PLANE_UNLOADED,
                            109,
                            110,
                            0x12345};
    gPlugin.sendMessage(messages[in.byte() % 7], in.byte() % 3, hostsim::Plugin::kAnotherPlugin);
}

// Another plug-in overrides the stick, all of it or some axes, and writes the yoke ratios.
void StickOverride(Reader& in) {
    const char* const overrides[] = {"sim/operation/override/override_joystick",
                                     "sim/operation/override/override_joystick_pitch",
                                     "sim/operation/override/override_joystick_roll",
                                     "sim/operation/override/override_joystick_heading"};
    const uint8_t which = in.byte();
    for (int i = 0; i < 4; ++i) {
        if (H().datarefs.has(overrides[i]))
            H().datarefs.setInt(overrides[i], 0, (which >> i) & 1);
    }
}

void HardwareAxis(Reader& in) {  // the stick's hardware: an axis there or not, at any value
    const int axis = in.byte() % 4;
    const uint8_t how = in.byte();
    const double v = how < 160 ? kSpecial[how % (sizeof kSpecial / sizeof kSpecial[0])] : in.raw();
    if (H().datarefs.has("sim/joystick/joy_mapped_axis_avail") &&
        H().datarefs.has("sim/joystick/joy_mapped_axis_value")) {
        H().datarefs.setInt("sim/joystick/joy_mapped_axis_avail", axis, how & 1);
        H().datarefs.setFloatAt("sim/joystick/joy_mapped_axis_value", axis, static_cast<float>(v));
    }
}

void Pause(Reader& in) {  // the user pauses or resumes; flight loops called while paused or not
    const uint8_t how = in.byte();
    H().flightModel.paused = (how & 1) != 0;
    H().loops.whilePaused = (how & 2) != 0;
    H().flightModel.rateSource =
        (how & 4) != 0 ? hostsim::RateSource::Radians : hostsim::RateSource::Degrees;
}

#if !defined(_WIN32)
// In a signal handler: only write and abort, which are safe there whatever was interrupted.
void TookTooLong(int) {
    const char message[] =
        "trovik_fuzz: broken promise: no start or save waits on the settings file\n";
    if (write(2, message, sizeof message - 1) < 0) {
    }
    std::abort();
}
#endif

// `run`, given `seconds` at most: a FIFO opened for reading waits for a writer, one opened for
// writing for a reader, and the simulator with it. The real-time timer and its signal are
// libFuzzer's too (its -timeout): both are put back afterwards, or a later input that hangs would
// hang the run.
template <typename F>
void Within(unsigned seconds, F run) {
#if !defined(_WIN32)
    struct sigaction ours = {}, theirs = {};
    ours.sa_handler = TookTooLong;
    sigaction(SIGALRM, &ours, &theirs);
    itimerval limit = {}, before = {};
    limit.it_value.tv_sec = seconds;
    setitimer(ITIMER_REAL, &limit, &before);
    run();
    setitimer(ITIMER_REAL, &before, nullptr);
    sigaction(SIGALRM, &theirs, nullptr);
#else
    (void)seconds;
    run();
#endif
}

// A settings file no user meant: a FIFO, a folder, a link (to a file of the user's or to an
// endless device), a file at the limit, aside names already taken, or a FIFO where the new file
// is first written; then a start and a change, which must not wait on any of them, after which
// every line of the user's is still somewhere.
void BrokenSettings(Reader& in) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::u8path(H().utilities.prefsFolder);
    const fs::path file = folder / hostsim::paths::kSettingsFile;
    const uint8_t how = in.byte();
    if (++gBrokenFiles > kBrokenFilesPerInput)
        return;
    std::error_code ignored;
    // Emptied one level at a time: zig's libc++ (the arm64 build) can take the folder away and
    // then find no need to make it again.
    H().utilities.emptyPrefsFolder();
    fs::create_directory(folder / "elsewhere", ignored);
    std::string mine = "# user line 0\n";
    for (int i = 1; mine.size() < (how & 16 ? 64u * 1024 - 20 : 100u); ++i)
        mine += "# user line " + std::to_string(i) + "\n";
    std::ofstream(how & 32 ? folder / "elsewhere" / "mine" : file, std::ios::binary) << mine;
    for (int taken = 0; taken < (how >> 6) * 4; ++taken)
        std::ofstream(file.u8string() + ".bad" + (taken == 0 ? "" : std::to_string(taken + 1)));
    switch (how % 4) {
        case 0:
            break;
        case 1:
            fs::remove(file, ignored);
            fs::create_directory(file, ignored);
            break;
#if !defined(_WIN32)
        case 2:
            fs::remove(file, ignored);
            mkfifo(file.c_str(), 0644);
            break;
#endif
        default:
            // An endless device of our own, never the system's /dev/zero: a plug-in that moved
            // the target of the link aside would take that from every program on the machine.
            // Without the right to make one (not root), a FIFO.
            fs::remove(file, ignored);
            if (how & 8 && mknod((folder / "zero").c_str(), S_IFCHR | 0666, makedev(1, 5)) != 0)
                mkfifo((folder / "zero").c_str(), 0644);
            fs::create_symlink(how & 8 ? fs::path("zero") : fs::path("elsewhere") / "mine", file,
                               ignored);
            break;
    }
#if !defined(_WIN32)
    // Where the new file is written first, beside the file or the link's target.
    if (how & 4) {
        mkfifo((file.u8string() + ".tmp").c_str(), 0644);
        mkfifo((folder / "elsewhere" / "mine.tmp").c_str(), 0644);
    }
#endif
    // Read only if it stayed a plain file (or a link to one) with the user's lines in it.
    const bool readable = fs::is_regular_file(file, ignored) && how % 4 != 1;
    Stop();
    Within(5, Start);
    if (H().commands.find("trovik/faster") == nullptr)
        return;
    Within(5, [] {
        H().commands.once(H().commands.find("trovik/faster"));
        H().commands.once(H().commands.find("trovik/slower"));
    });
    if (!readable && !(how & 32))
        return;
    // Every line of every file in the folder, then each of the user's looked up among them.
    std::set<std::string> kept;
    for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
        if (entry.is_regular_file(ignored) && !entry.is_symlink(ignored)) {
            std::ifstream read(entry.path(), std::ios::binary);
            for (std::string line; std::getline(read, line);)
                kept.insert(line);
        }
    }
    std::istringstream lines(mine);
    for (std::string line; std::getline(lines, line);) {
        if (kept.count(line) == 0)
            Broken("no line of the user's settings file is lost", line);
    }
}

// The aircraft is let go in the air: any stall speed and air density, and any height.
void LetGoInTheAir(Reader& in) {
    const double values[2] = {kSpecial[in.byte() % std::size(kSpecial)] * 30,
                              kSpecial[in.byte() % std::size(kSpecial)]};
    const char* const paths[2] = {"sim/aircraft/view/acf_Vs", "sim/weather/rho"};
    for (int i = 0; i < 2; ++i) {
        if (H().datarefs.has(paths[i]))
            H().datarefs.setFloat(paths[i], static_cast<float>(values[i]));
    }
    if (Holding() && H().datarefs.has(hostsim::paths::Position("local_y"))) {
        const std::string y = hostsim::paths::Position("local_y");
        H().datarefs.setDouble(y, H().datarefs.getDouble(y) + (in.byte() & 63));
        Key('y', xplm_DownFlag, XPLM_VK_Y);
    }
}

// The user puts the headset on or takes it off: the simulator's message first (or another
// plug-in's, which must change nothing), then the headset and its dataref.
void HeadsetOnOrOff(Reader& in) {
    const uint8_t how = in.byte();
    const bool on = (how & 1) != 0;
    gPlugin.sendMessage(on ? XPLM_MSG_ENTERED_VR : XPLM_MSG_EXITING_VR, 0,
                        how & 2 ? hostsim::Plugin::kAnotherPlugin : hostsim::Plugin::kSimulator);
    H().display.vr = on;
    if (H().datarefs.has("sim/graphics/VR/enabled"))
        H().datarefs.setInt("sim/graphics/VR/enabled", 0, on ? 1 : 0);
}

// The simulator re-centres local coordinates as the aircraft travels: up to 32 km either way,
// in whole kilometres or odd metres.
void OriginMoves(Reader& in) {
    const double dx = (static_cast<int>(in.byte()) - 128) * (in.byte() & 1 ? 250.0 : 1.37);
    const double dz = (static_cast<int>(in.byte()) - 128) * 250.0;
    H().coordinates.moveOrigin(dx, dz);
}

// In the order the input's bytes pick them. `byPlugin`: what follows is the plug-in's doing
// (keys, frames, commands, the menu), so an aircraft standing on its wheels must still stand.
const struct {
    void (*run)(Reader& in);
    bool byPlugin;
} kEvents[] = {
    {AnyKey, true},
    {PressAndRelease, true},
    {HotKeyY, true},
    {OneFrame, true},
    {CameraFrame, false},
    {ViewChange, false},
    {Enable, false},
    {Disable, false},
    {AnyValue, false},
    {Screen, false},
    {Restart, false},
    {MissingDataref, false},
    {Message, false},
    {KeyS, true},
    {BoundCommand, true},
    {MenuItem, true},
    {OtherPluginsPath, false},
    {OtherPluginsFlag, false},
    {TextField, false},
    {SettingsFile, false},
    {Replay, false},
    {MessageFromAnother, false},
    {StickOverride, false},
    {HardwareAxis, false},
    {Pause, false},
    {BrokenSettings, false},
    {LetGoInTheAir, false},
    {HeadsetOnOrOff, false},
    {OriginMoves, false},
};

// ---- The promises kept after every event ----

void AtMostOneOverlay() {
    if (H().display.windows.size() > 1)
        Broken("at most one overlay window");
}

void NothingNonFiniteWritten() {
    for (const hostsim::Call& c : H().recorder.calls) {
        if ((c.fn == "XPLMSetDataf" && !std::isfinite(c.args.at(1).f)) ||
            (c.fn == "XPLMSetDatad" && !std::isfinite(c.args.at(1).d))) {
            Broken("nothing non-finite is written", c.str());
        }
    }
}

void CameraFinite() {
    const XPLMCameraPosition_t& v = H().camera.position;
    for (float f : {v.x, v.y, v.z, v.pitch, v.heading, v.roll, v.zoom}) {
        if (!std::isfinite(f))
            Broken("the camera is never given a non-finite value");
    }
}

void HostNeverMisused() {
    if (!H().recorder.misuses.empty())
        Broken("the host is never misused", H().recorder.misuses.front());
}

// In a replay the simulator places the aircraft: nothing of ours is written to it but element 0
// given back. (A write through a null handle, to a dataref this simulator lacks, reaches nothing.)
void NothingWrittenInReplay(bool replay) {
    for (const hostsim::Call& c : H().recorder.calls) {
        const bool write = c.fn.rfind("XPLMSetData", 0) == 0 && c.args.at(0).p != nullptr;
        if (replay && write &&
            c.str() != "XPLMSetDatavi(" + std::string(kOverride) + ", {0}, 0, 1)")
            Broken("in a replay nothing of ours but element 0 is written", c.str());
    }
}

// A rest height measured where the simulator said the aircraft was on the ground is trusted
// only if the wheels were on it then.
void FollowRestHeight(double wheels) {
    for (const hostsim::Call& c : H().recorder.calls) {
        if (c.fn == "XPLMGetDatai" && c.result.i == 1 &&
            c.str().find("onground_any") != std::string::npos)
            gRestTrusted = std::fabs(wheels) < 0.05;  // measured
    }
}

// An aircraft standing on its wheels in slew mode is never put below the ground by what the
// plug-in does, up to the few centimetres within which the simulator calls it on the ground.
void StillStanding(bool standing, int kind) {
    if (standing && kEvents[kind].byPlugin && Holding() && Wheels() < -0.051)
        Broken("an aircraft on its wheels is never put below the ground",
               std::to_string(Wheels()) + " after event " + std::to_string(kind));
}

void Event(Reader& in) {
    const double wheels = Wheels();
    // Only where the probe can see the ground under the aircraft: elsewhere (a roof over it, a
    // broken position) the plug-in has the simulator's height above ground, which goes stale
    // between frames, as the README says.
    const bool standing =
        Holding() && gRestTrusted && ProbeSeesTheGround() && std::fabs(wheels) < 1e-3;
    const bool replay = InReplay();
    H().recorder.clear();
    const int kind = in.byte() % static_cast<int>(sizeof kEvents / sizeof kEvents[0]);
    kEvents[kind].run(in);
    ++gEvents;
    AtMostOneOverlay();
    NothingNonFiniteWritten();
    CameraFinite();
    HostNeverMisused();
    NothingWrittenInReplay(replay);
    FollowRestHeight(wheels);
    StillStanding(standing, kind);
}

}  // namespace

void RunInput(const uint8_t* data, size_t size) {
    LoadOnce();
    // A fresh simulator and a freshly started plug-in for every input: stop it, reset the host,
    // start it again (the library stays loaded: unloading instrumented code under the fuzzer
    // would take its coverage counters with it).
    Stop();
    H().reset();
    if (!MemoryPrefsFolder().empty()) {
        H().utilities.prefsFolder = MemoryPrefsFolder();
        H().utilities.emptyPrefsFolder();
    }
    LoadTerrain();
    gBrokenFiles = 0;
    Start();
    ++gInputs;
    Reader in{data, size};
    while (!in.empty())
        Event(in);
    H().recorder.clear();
}

uint64_t InputsRun() {
    return gInputs;
}
uint64_t EventsRun() {
    return gEvents;
}

}  // namespace trovik_fuzz
