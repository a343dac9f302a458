// Holding the aircraft and handing it back: the quaternion and velocity the flight model resumes
// from, an override that was another plug-in's, HotKey_Master and element 0 changed behind our
// back, the simulator's messages, replays and keys typed into a window.
#include <cmath>
#include <functional>

#include "support.h"

namespace trovik_test {
namespace {

const char* const kQ = "sim/flightmodel/position/q";
// What letting go sets to 0, in this order: both sets of rates, then the accelerations.
const char* const kStill[] = {"P",    "Q",        "R",        "Prad",    "Qrad",
                              "Rrad", "local_ax", "local_ay", "local_az"};

class HoldingTest : public PluginTest {
  protected:
    static void Velocity(float vx, float vy, float vz) {
        host().datarefs.setFloat(Pos("local_vx"), vx);
        host().datarefs.setFloat(Pos("local_vy"), vy);
        host().datarefs.setFloat(Pos("local_vz"), vz);
    }
    static std::vector<float> V() {
        return {host().datarefs.getFloat(Pos("local_vx")),
                host().datarefs.getFloat(Pos("local_vy")),
                host().datarefs.getFloat(Pos("local_vz"))};
    }
    // Every write the plug-in made to the simulator's datarefs.
    static Calls Writes() {
        return host().recorder.only(
            {"XPLMSetDataf", "XPLMSetDatad", "XPLMSetDatavf", "XPLMSetDatavi", "XPLMSetDatai"});
    }
    static std::string SetQ(const char* q) {
        return "XPLMSetDatavf(" + std::string(kQ) + ", {" + q + "}, 0, 4)";
    }
};

TEST_F(HoldingTest, LettingGoWritesTheQuaternionThenTheVelocityThenTheOverride) {
    // q from psi, theta and phi by the simulator's conversion, with half angles.
    const struct {
        float psi, theta, phi;
        const char* q;
    } rows[] = {
        {0, 0, 0, "1, 0, 0, 0"},
        {90, 0, 0, "0.707106769, 0, 0, 0.707106769"},
        {30, 10, -20, "0.94371438, -0.189307854, 0.0381345749, 0.268535823"},
    };
    for (const auto& r : rows) {
        Place(0, 500, 0, 400.0f, r.psi, r.theta, r.phi);
        DownY();
        host().recorder.clear();
        DownY();
        // In the air, started and ended at rest: no velocity, and no rotation rates.
        Calls expected = {SetQ(r.q), SetF("local_vx", "0"), SetF("local_vy", "0"),
                          SetF("local_vz", "0")};
        for (const char* still : kStill)
            expected.push_back(SetF(still, "0"));
        expected.push_back(SetOverride(0));
        EXPECT_EQ(Writes(), expected) << r.psi;
    }

    // Turned 90 degrees in slew mode, it still faces east a frame after letting go, and the flight
    // model goes on from there.
    Place(0, 500, 0, 400.0f, 0, 0, 0);
    DownY();
    for (int i = 0; i < 18; ++i)
        host().display.keyEvent(0, xplm_DownFlag | xplm_ShiftFlag, XPLM_VK_NUMPAD3);
    DownY();
    for (int frame = 0; frame < 3; ++frame)
        Frame();
    EXPECT_NEAR(host().datarefs.getFloat(Pos("psi")), 90.0f, 1e-4);
    EXPECT_EQ(host().recorder.misuses, Calls{}) << "no write of ours with the flight model running";
}

TEST_F(HoldingTest, InTheAirTheVelocityTurnsWithTheAircraftOnTheGroundItStops) {
    // 50 m/s north at heading 0, turned to 90: 50 m/s east; nose up 10 degrees instead: climbing
    // at 50 sin 10 and going on north at 50 cos 10.
    struct Case {
        const char* what;
        int key, presses;
        float vx, vy, vz;
    };
    const Case cases[] = {
        {"turned right 90", XPLM_VK_NUMPAD3, 18, 50.0f, 0.0f, 0.0f},
        {"nose up 10", XPLM_VK_F5, 2, 0.0f, 8.68240929f, -49.240387f},
    };
    for (const Case& c : cases) {
        Place(0, 1500, 0, 1000.0f, 0, 0, 0);
        Velocity(0, 0, -50);
        host().datarefs.setFloat(Pos("P"), 12.0f);
        DownY();
        for (int i = 0; i < c.presses; ++i)
            host().display.keyEvent(0, xplm_DownFlag | xplm_ShiftFlag, static_cast<char>(c.key));
        DownY();
        const std::vector<float> v = V();
        EXPECT_NEAR(v[0], c.vx, 1e-4) << c.what;
        EXPECT_NEAR(v[1], c.vy, 1e-4) << c.what;
        EXPECT_NEAR(v[2], c.vz, 1e-4) << c.what;
        EXPECT_EQ(host().datarefs.getFloat(Pos("P")), 0.0f)
            << c.what << ": the old roll rate is gone";
    }

    // On the ground (within 0.07 m of its rest height), whatever it was doing, it is left at rest.
    Place(0, 432, 0, 0.05f, 0, 0, 0);
    Velocity(3, -1, 20);
    DownY();
    host().display.keyEvent(0, xplm_DownFlag, XPLM_VK_NUMPAD8);
    DownY();
    EXPECT_EQ(V(), std::vector<float>({0, 0, 0}));
    // Over ground at 0 with no gear (a rest height of 0): 0.07 m up is in the air still.
    host().terrain.loaded = true;
    for (const double y : {0.07, std::nextafter(0.07, 0.0)}) {
        Place(0, y, 0, 0.07f, 0, 0, 0);
        Velocity(0, 0, -50);
        DownY();
        DownY();
        EXPECT_EQ(V()[2], y == 0.07 ? -50.0f : 0.0f) << y;
    }
}

TEST_F(HoldingTest, LetGoHighAndSlowItIsGivenFlyingSpeedAlongItsNose) {
    // Stall speed 60 kt in air of 0.9091 kg/m3 (about 3,000 m): 1.3 times it, true, is
    // 1.3 * 60 * 0.514444 * sqrt(1.225 / 0.9091) = 46.58 m/s; at sea-level density 40.13.
    host().datarefs.setFloat("sim/aircraft/view/acf_Vs", 60.0f);
    const struct {
        float agl, rho, vz, speed;
    } cases[] = {
        {3000, 0.9091f, 0, 46.58f}, {3000, 0.9091f, -80, 80},  // faster already: kept
        {31, 0, 0, 40.13f},         {31, -1, -20, 40.13f},     // no density: sea level's
        {29, 0.9091f, 0, 0},        {29, 0.9091f, -20, 20},    // too low to launch
    };
    for (const auto& c : cases) {
        host().datarefs.setFloat("sim/weather/rho", c.rho);
        Place(0, 432 + c.agl, 0, c.agl, 0, 0, 0);
        Velocity(0, 0, c.vz);
        DownY();
        // Turned to heading 90 and pitched 5 degrees up: the speed goes that way.
        for (int i = 0; i < 18; ++i)
            host().display.keyEvent(0, xplm_DownFlag | xplm_ShiftFlag, XPLM_VK_NUMPAD3);
        host().display.keyEvent(0, xplm_DownFlag | xplm_ShiftFlag, XPLM_VK_F5);
        DownY();
        const std::vector<float> v = V();
        EXPECT_NEAR(v[0], c.speed * 0.996194698f, 0.005) << c.agl << " " << c.vz;
        EXPECT_NEAR(v[1], c.speed * 0.0871557427f, 0.005) << c.agl << " " << c.vz;
        EXPECT_NEAR(v[2], 0.0f, 1e-4) << c.agl << " " << c.vz;
    }
    // One step up from standing on the ground: at rest, as before.
    Place(0, 432, 0, 0.0f, 0, 0, 0);
    DownY();
    host().display.keyEvent(0, xplm_DownFlag, XPLM_VK_F3);
    DownY();
    EXPECT_EQ(V(), std::vector<float>({0, 0, 0}));
    // An aircraft with no stall speed set is let go at rest.
    host().datarefs.setFloat("sim/aircraft/view/acf_Vs", 0.0f);
    Place(0, 3432, 0, 3000.0f, 0, 0, 0);
    DownY();
    DownY();
    EXPECT_EQ(V(), std::vector<float>({0, 0, 0}));
}

TEST_F(HoldingTest, AnAircraftAnotherPlugInHeldStaysHeldAndUntouchedWhenWeLetGo) {
    Place(0, 500, 0, 400.0f);
    host().datarefs.setInt(kOverride, 0, 1);
    DownY();
    host().display.keyEvent(0, xplm_DownFlag, XPLM_VK_NUMPAD8);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_z")), -0.1) << "slew mode still moves it";
    host().recorder.clear();
    DownY();
    EXPECT_EQ(Writes(), Calls({SetOverride(1)}));
    EXPECT_TRUE(host().display.windows.empty());
}

TEST_F(HoldingTest, HotKeyMasterWrittenByAnotherPlugInSwitchesSlewModeBothWays) {
    Place(0, 500, 0, 400.0f, 90.0f, 0, 0);
    // Set to 1: the next key takes the aircraft properly, then acts.
    HotKeyMaster() = 1;
    host().recorder.clear();
    EXPECT_TRUE(host().display.keyEvent(0, xplm_DownFlag, XPLM_VK_NUMPAD8));
    EXPECT_EQ(host().recorder.only({"XPLMSetDatavi", "XPLMCreateWindowEx", "XPLMSetDatad"}).size(),
              4u);
    EXPECT_EQ(host().datarefs.getInt(kOverride, 0), 1);
    EXPECT_EQ(host().commands.findMenuItem("Slew mode")->check, xplm_Menu_Checked);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_x")), 0.1);
    // Set to 0: handed back within a frame, the quaternion facing east.
    HotKeyMaster() = 0;
    host().recorder.clear();
    Frame();
    EXPECT_EQ(host().recorder.only({"XPLMSetDatavf", "XPLMSetDatavi"}),
              Calls({SetQ("0.707106769, 0, 0, 0.707106769"), SetOverride(0)}));
    EXPECT_TRUE(host().display.windows.empty());
}

TEST_F(HoldingTest, TheSimulatorPlacingTheAircraftEndsSlewModeAndTakesTheCameraBack) {
    // Whoever sends them: ending slew mode is always safe.
    constexpr XPLMPluginID kOther = hostsim::Plugin::kAnotherPlugin;
    const struct {
        int message;
        intptr_t aircraft;
        bool ends;
        XPLMPluginID from;
    } messages[] = {
        {XPLM_MSG_PLANE_LOADED, 0, true, 0},        {XPLM_MSG_PLANE_UNLOADED, 0, true, 0},
        {XPLM_MSG_AIRPORT_LOADED, 0, true, 0},      {XPLM_MSG_PLANE_CRASHED, 0, true, 0},
        {XPLM_MSG_PLANE_LOADED, 1, false, 0},       {XPLM_MSG_PLANE_UNLOADED, 2, false, 0},
        {104 /* scenery loaded */, 0, false, 0},    {107 /* will write preferences */, 0, false, 0},
        {XPLM_MSG_AIRPORT_LOADED, 0, true, kOther}, {109 /* entered VR */, 0, false, kOther},
    };
    for (const auto& m : messages) {
        Place(0, 500, 0, 400.0f, 45.0f);
        DownY();
        host().display.pressKey(XPLM_VK_S);
        host().recorder.clear();
        plugin.sendMessage(m.message, m.aircraft, m.from);
        EXPECT_EQ(Writes(), m.ends ? Calls({SetOverride(0)}) : Calls{}) << m.message;
        EXPECT_EQ(HotKeyMaster(), m.ends ? 0 : 1) << m.message;
        EXPECT_EQ(host().display.windows.empty(), m.ends) << m.message;
        EXPECT_EQ(host().camera.controlled(), !m.ends) << m.message;
        if (!m.ends)
            DownY();
        host().camera.changeView();
    }
}

TEST_F(HoldingTest, WhenSomeoneElseTakesTheAircraftSlewModeEndsAtTheNextLook) {
    // Another plug-in (or the simulator on a new flight) lets go: we write nothing more. A replay
    // starts: element 0 back to 0 and no other write (no q, velocity, position, attitude or
    // rate), and the camera goes back. Either way, at the next frame, key, Y or disable the
    // overlay closes and the menu unchecks.
    const std::pair<const char*, std::function<void()>> looks[] = {
        {"a frame", [] { Frame(); }},
        {"a key", [] { host().display.keyEvent(0, xplm_DownFlag, XPLM_VK_NUMPAD8); }},
        {"Y", [this] { DownY(); }},
        {"disable", [this] { plugin.disable(), plugin.enable(); }},
    };
    for (const bool replay : {false, true}) {
        for (const auto& [how, look] : looks) {
            DownY();
            host().display.pressKey(XPLM_VK_S);
            host().datarefs.setInt(replay ? hostsim::paths::kReplay : kOverride, 0, replay ? 1 : 0);
            host().recorder.clear();
            look();
            EXPECT_EQ(Writes(), replay ? Calls({SetOverride(0)}) : Calls{}) << how;
            EXPECT_TRUE(host().display.windows.empty()) << how;
            EXPECT_EQ(host().commands.findMenuItem("Slew mode")->check, xplm_Menu_Unchecked);
            // Outside a replay the camera outlives slew mode, as ever, but for a disable.
            EXPECT_EQ(replay || std::string(how) == "disable", !host().camera.controlled()) << how;
            host().datarefs.setInt(hostsim::paths::kReplay, 0, 0);
            Frame();
            EXPECT_EQ(HotKeyMaster(), 0) << how << ": slew mode stays off";
        }
    }
}

TEST_F(HoldingTest, NoRateOrAccelerationComesBackWhicheverSetTheFlightModelUses) {
    for (const auto source : {hostsim::RateSource::Degrees, hostsim::RateSource::Radians}) {
        host().flightModel.rateSource = source;
        Place(0, 500, 0, 400.0f);
        for (const char* name : kStill)
            host().datarefs.setFloat(Pos(name), 0.5f);
        DownY();
        DownY();
        Frame();
        for (const char* name : kStill)
            EXPECT_EQ(host().datarefs.getFloat(Pos(name)), 0.0f) << name;
    }
}

TEST_F(HoldingTest, NoSlewModeInAReplayAndNoSlewKeysIntoAWindowThatHasTheKeyboard) {
    host().datarefs.setInt(hostsim::paths::kReplay, 0, 1);
    DownY();
    host().commands.once(host().commands.find("trovik/toggle"));
    EXPECT_EQ(HotKeyMaster(), 0);
    EXPECT_TRUE(host().display.windows.empty());
    EXPECT_EQ(Writes(), Calls{});
    host().datarefs.setInt(hostsim::paths::kReplay, 0, 0);

    // Typing "8" or "y" into a text field moves nothing and switches nothing.
    DownY();
    host().display.windowHasKeyboard = true;
    host().recorder.clear();
    host().display.pressKey(XPLM_VK_NUMPAD8);
    host().display.pressKey(XPLM_VK_Y);
    EXPECT_EQ(host().recorder.calls.size(), 0u);
    EXPECT_EQ(HotKeyMaster(), 1);
    host().display.windowHasKeyboard = false;
    EXPECT_TRUE(host().display.keyEvent(0, xplm_DownFlag, XPLM_VK_NUMPAD8))
        << "back in the 3-D view";
}

}  // namespace
}  // namespace trovik_test
