// Joystick slew: the stick's flight loop, bit for bit, and when it runs. Every literal below was
// worked out by hand from the behaviour (rate = full speed x ((|ratio| - 0.1) / 0.9)^2, times the
// frame's time), never from the plug-in's own formulas.
#include <cmath>
#include <limits>

#include "support.h"

namespace trovik_test {
namespace {

class JoystickTest : public SlewModeTest {
  protected:
    void SetUp() override {
        SlewModeTest::SetUp();
        Frame(1.0 / 60);  // the first call after slew mode comes on moves nothing
    }

    static void Stick(float pitch, float roll, float rudder) {
        host().datarefs.setFloat(hostsim::paths::kStick[0], pitch);
        host().datarefs.setFloat(hostsim::paths::kStick[1], roll);
        host().datarefs.setFloat(hostsim::paths::kStick[2], rudder);
    }

    // The loop called as the simulator calls it, with this frame's time; returns what it asks.
    static float Call(float elapsed) {
        host().recorder.clear();
        return host().loops.loops.at(0).callback(elapsed, elapsed, 1, nullptr);
    }
};

TEST_F(JoystickTest, EachAxisMovesItsWayAtItsRateWhateverTheFrameRate) {
    struct Row {
        const char* what;
        float psi, pitch, roll, rudder, elapsed;
        Calls writes;
    };
    const float up360 = std::nextafter(360.0f, 0.0f);
    const float past = std::nextafter(0.1f, 1.0f);
    const Row rows[] = {
        // Full stick: 100 m/s. Forward and back along the heading, left and right across it.
        {"fwd, 1/64 s, N", 0, -1, 0, 0, 0.015625f, Moved("9874.5625", "-1234.5678")},
        {"back, 20 fps, E", 90, 1, 0, 0, 0.05f, Moved("9876.124999781443", "-1239.5678000745058")},
        {"left, 60 fps, W", 270, 0, -1, 0, 1 / 60.f,
         Moved("9877.7916667535901", "-1234.5678002185571")},
        // 0.55 is a quarter of full speed, 0.7 four ninths, 0.4 one ninth.
        {"0.55 right", 30, 0, 0.55f, 0, 1 / 30.f,
         Moved("9876.5416667104728", "-1233.8461121005907")},
        {"both", 123.4f, -0.7f, -0.4f, 0, 1 / 60.f,
         Moved("9876.3781620879054", "-1233.8474533135975")},
        // The rudder: 45 degrees a second; 0.325 is a sixteenth of it. Kept within [0, 360).
        {"right rudder", 10, 0, 0, 1, 0.1f, {SetF("psi", "14.5")}},
        {"0.325 left rudder", 10, 0, 0, -0.325f, 0.015625f, {SetF("psi", "9.95605469")}},
        {"past 360", 359, 0, 0, 1, 0.1f, {SetF("psi", "3.5")}},
        {"below 0", 1, 0, 0, -1, 0.1f, {SetF("psi", "356.5")}},
        {"rounds to 360: 0", up360, 0, 0, 0.1048f, 0.015625f, {SetF("psi", "0")}},
        // A long frame counts 0.1 s; a stick past full is full; 0.1 is in the dead zone, the next
        // float out of it is not; a broken stick is centred; no, negative or broken time: nothing.
        {"0.25 s frame", 0, -1, 0, 0, 0.25f, Moved("9866.125", "-1234.5678")},
        {"past full", 0, -5, 0, 0, 0.015625f, Moved("9874.5625", "-1234.5678")},
        {"dead zone", 0, 0.1f, -0.1f, 0.1f, 0.1f, {}},
        {"out of it", 0, past, 0, 0, 0.015625f, Moved("9876.125", "-1234.5678")},
        {"broken stick", 0, NAN, INFINITY, -INFINITY, 0.1f, {}},
        {"no time", 0, -1, 1, 1, 0, {}},
        {"time back", 0, -1, 1, 1, -0.5f, {}},
        {"broken time", 0, -1, 1, 1, NAN, {}},
    };
    for (const Row& r : rows) {
        Place(-1234.5678, 432.25, 9876.125, 12.75f, r.psi);
        Stick(r.pitch, r.roll, r.rudder);
        EXPECT_EQ(Call(r.elapsed), -1.0f) << r.what << ": every frame";
        EXPECT_EQ(Effects(), r.writes) << r.what;
    }

    // On the ground: the keys' snap after the move, from the snapshot's height.
    Place(-1234.5678, 432.25, 9876.125, 0.03f);
    Stick(-1, 0, 0);
    Call(0.015625f);
    Calls snapped = Moved("9874.5625", "-1234.5678");
    snapped.push_back(SetF("local_y", "432.220001"));
    EXPECT_EQ(Effects(), snapped);
}

TEST_F(JoystickTest, TheFirstFrameOfSlewModeMovesNothingThatOfJoystickSlewAFramesWorth) {
    // Its time covers the pause since slew mode was last on. Joystick slew switched on in slew
    // mode finds the loop running: its next frame moves 100 m/s for float(1/60) s.
    DownY();
    Place(0, 100, 0, 50.0f);
    Stick(-1, 0, 0);
    DownY();
    Frame(1.0 / 60);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_z")), 0.0);
    const XPLMCommandRef joystick = host().commands.find("trovik/joystick");
    host().commands.once(joystick);
    Frame(1.0 / 60);
    host().commands.once(joystick);
    Frame(1.0 / 60);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_z")), -1.666666753590107);
}

TEST_F(JoystickTest, UnderAnotherPlugInsStickOverrideTheHandIsOnTheHardwaresAxes) {
    // A trim script holds every yoke ratio at 0.3. The hardware centred, nothing moves; its pitch
    // axis full forward, a second flies 100 m.
    hostsim::DataRefs& d = host().datarefs;
    const char* const value = "sim/joystick/joy_mapped_axis_value";
    d.setInt("sim/operation/override/override_joystick", 0, 1);
    Stick(0.3f, 0.3f, 0.3f);
    for (int axis : {1, 2, 3})
        d.setInt("sim/joystick/joy_mapped_axis_avail", axis, 1);
    Place(0, 100, 0, 50.0f);
    Frame(1.0 / 60);
    EXPECT_EQ(d.getDouble(Pos("local_z")), 0.0);
    EXPECT_EQ(d.getFloat(Pos("psi")), 0.0f);
    d.setFloatAt(value, 1, -1.0f);
    for (int frame = 0; frame < 60; ++frame)
        Frame(1.0 / 60);
    EXPECT_NEAR(d.getDouble(Pos("local_z")), -100.0, 1e-4);

    // Only roll overridden, with the hardware there for roll alone: its axis full right moves
    // 100 m/s for float(1/60) s; pitch and yaw are the simulator's own ratios, centred.
    d.setInt("sim/operation/override/override_joystick", 0, 0);
    d.setInt("sim/operation/override/override_joystick_roll", 0, 1);
    d.setInt("sim/joystick/joy_mapped_axis_avail", 1, 0);
    Stick(0, 0.3f, 0);
    d.setFloatAt(value, 2, 1.0f);
    Place(0, 100, 0, 50.0f);
    host().recorder.clear();
    Frame(1.0 / 60);
    EXPECT_EQ(d.getDouble(Pos("local_x")), 1.666666753590107);
    EXPECT_EQ(host().recorder.only({"XPLMGetDatavf"}),
              Calls({"XPLMGetDatavf(" + std::string(value) + ", {1}, 2, 1) = 1"}));
}

TEST_F(JoystickTest, AStraightMoveOrATurnEndsAlikeAt60And30FramesASecond) {
    auto fly = [](int fps, float pitch, float roll, float rudder) {
        Place(0.0, 100.0, 0.0, 50.0f, 30.0f);
        Stick(pitch, roll, rudder);
        for (int n = 0; n < fps; ++n)
            Frame(1.0 / fps);
        return std::vector<double>{host().datarefs.getDouble(Pos("local_x")),
                                   host().datarefs.getDouble(Pos("local_z")),
                                   host().datarefs.getFloat(Pos("psi"))};
    };
    const std::vector<double> move60 = fly(60, -0.7f, 0.4f, 0);
    const std::vector<double> move30 = fly(30, -0.7f, 0.4f, 0);
    EXPECT_NEAR(move60[0], move30[0], 1e-6);
    EXPECT_NEAR(move60[1], move30[1], 1e-6);
    // 0.7 and 0.4 of the stick: 44.4 m/s forward and 11.1 m/s right for one second.
    EXPECT_NEAR(std::hypot(move60[0], move60[1]), std::hypot(44.444444, 11.111111), 1e-4);
    const std::vector<double> turn60 = fly(60, 0, 0, 0.8f);
    const std::vector<double> turn30 = fly(30, 0, 0, 0.8f);
    EXPECT_NEAR(turn60[2], turn30[2], 1e-3);
    EXPECT_NEAR(turn60[2], 30.0 + 27.222222, 1e-3);  // 45 x (0.7 / 0.9)^2 degrees in one second
}

TEST_F(JoystickTest, RunsEveryFrameOfSlewModeReadingTheStickOnlyWhenOnAndNeverAfter) {
    const XPLMCommandRef toggle = host().commands.find("trovik/joystick");
    Stick(-1.0f, 0, 0);
    const auto frameCalls = [] {
        host().recorder.clear();
        Frame(0.05);
        return host().recorder.calls.size();
    };
    EXPECT_GT(frameCalls(), 0u);

    // The menu shows it. Off, the loop still looks every frame whether a replay has the aircraft
    // and whether it is held (two reads), and reads no stick.
    host().commands.once(toggle);
    EXPECT_EQ(host().commands.findMenuItem("Joystick slew")->check, xplm_Menu_Unchecked);
    EXPECT_EQ(frameCalls(), 2u);
    EXPECT_TRUE(host().commands.pickMenuItem("Joystick slew"));
    EXPECT_EQ(host().commands.findMenuItem("Joystick slew")->check, xplm_Menu_Checked);
    // Those two, whether a plug-in overrides the stick, each axis's override and ratio, the
    // aircraft once, the probe (nothing loaded), z, x and the snap: it stands on the ground.
    // Centred, the first nine only.
    EXPECT_EQ(frameCalls(), 20u);
    Stick(0, 0, 0);
    EXPECT_EQ(frameCalls(), 9u);

    // However slew mode ends, the loop is not called again: at once when we end it, after the
    // one call that finds it ended when another plug-in does.
    const std::pair<const char*, std::function<void()>> ends[] = {
        {"Y", [this] { DownY(); }},
        {"disable",
         [this] {
             plugin.disable();
             plugin.enable();
         }},
        {"HotKey_Master cleared", [this] { HotKeyMaster() = 0; }},
        {"element 0 cleared", [] { host().datarefs.setInt(kOverride, 0, 0); }},
    };
    for (const auto& [how, end] : ends) {
        if (HotKeyMaster() == 0)
            DownY();
        Frame(0.05);
        end();
        const bool byAnother = std::string(how).find("cleared") != std::string::npos;
        const unsigned long long before = host().loops.calls;
        for (int frame = 0; frame < 3; ++frame)
            Frame(0.05);
        EXPECT_EQ(host().loops.calls - before, byAnother ? 1u : 0u) << how;
        EXPECT_FALSE(host().loops.loops.at(0).scheduled) << how;
    }

    // Stop destroys it; started again (without a reload), joystick slew is as it was left.
    host().commands.once(toggle);
    StopAndStart([] { EXPECT_TRUE(host().loops.loops.empty()); });
    EXPECT_EQ(host().commands.findMenuItem("Joystick slew")->check, xplm_Menu_Unchecked);
    DownY();
    EXPECT_TRUE(host().loops.loops.at(0).scheduled);
}

}  // namespace
}  // namespace trovik_test
