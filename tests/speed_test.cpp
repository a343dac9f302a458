// Speed by the second: held commands at steady rates whatever the frame rate, their descents
// stopping at the floors, and the speed factor, which scales the moves and climbs and nothing
// else.
#include <cmath>

#include "support.h"

namespace trovik_test {
namespace {

class SpeedTest : public SlewModeTest {
  protected:
    // A frame with the commands held down in it.
    static void Held(int fps) {
        host().commands.frame();
        Frame(1.0 / fps);
    }
    static XPLMCommandRef Ref(const char* name) { return host().commands.find(name); }
    static double Get(const char* what) {
        const std::string w = what;
        if (w == "distance")
            return std::hypot(host().datarefs.getDouble(Pos("local_x")),
                              host().datarefs.getDouble(Pos("local_z")));
        return w == "local_y" ? host().datarefs.getDouble(Pos("local_y"))
                              : host().datarefs.getFloat(Pos(what));
    }
    // Held for `frames` frames at `fps`, after two frames at that rate: the change after Begin.
    static double Hold(const char* command, const char* what, int fps, int frames) {
        Held(fps);
        Held(fps);
        host().commands.begin(Ref(command));
        const double begun = Get(what);
        for (int frame = 0; frame < frames; ++frame)
            Held(fps);
        host().commands.end(Ref(command));
        return Get(what) - begun;
    }
    std::string Label() { return host().display.drawFrame().texts.at(1).text; }
};

TEST_F(SpeedTest, AHeldCommandMovesAtItsRateForASecondAtAnyFrameRate) {
    const struct {
        const char* command;
        const char* what;
        double perSecond;
    } rows[] = {
        {"trovik/forward", "distance", 1},  {"trovik/forward_fast", "distance", 50},
        {"trovik/backward", "distance", 1}, {"trovik/backward_fast", "distance", 50},
        {"trovik/left", "distance", 1},     {"trovik/left_fast", "distance", 50},
        {"trovik/right", "distance", 1},    {"trovik/right_fast", "distance", 50},
        {"trovik/turn_left", "psi", -3},    {"trovik/turn_left_fast", "psi", -30},
        {"trovik/turn_right", "psi", 3},    {"trovik/turn_right_fast", "psi", 30},
        {"trovik/roll_left", "phi", -3},    {"trovik/roll_left_fast", "phi", -30},
        {"trovik/roll_right", "phi", 3},    {"trovik/roll_right_fast", "phi", 30},
        {"trovik/down", "local_y", -1},     {"trovik/down_fast", "local_y", -30},
        {"trovik/up", "local_y", 1},        {"trovik/up_fast", "local_y", 30},
        {"trovik/nose_up", "theta", 2},     {"trovik/nose_up_fast", "theta", 20},
        {"trovik/nose_down", "theta", -2},  {"trovik/nose_down_fast", "theta", -20},
    };
    for (const auto& r : rows) {
        double first = 0.0;
        for (int fps : {20, 30, 60, 120}) {
            Place(0, 200, 0, 150.0f, 100.0f, 10.0f, 5.0f);
            // Moves go on in a straight line from the origin, through Begin's step.
            EXPECT_NEAR(Hold(r.command, r.what, fps, fps), r.perSecond, 1e-4)
                << r.command << " at " << fps;
            if (fps == 20)
                first = Get(r.what);
            EXPECT_NEAR(Get(r.what), first, 1e-6 * std::fabs(first)) << r.command << " at " << fps;
        }
    }
}

TEST_F(SpeedTest, HeldDescentsStopAtTheFloorsFastBecomingFine) {
    host().terrain.loaded = true;
    host().terrain.elevation = 432.0;
    // 10 m up, held down fast: 30 m/s to 2.9 m, then 1 m/s to 0.05 m, and no further.
    Place(0, 442, 0, 10.0f);
    // Begin's 3 m to 7 m, then 0.5 m a frame to 3 m, and 0.1 m to F1's floor.
    Hold("trovik/down_fast", "local_y", 60, 9);
    EXPECT_NEAR(host().datarefs.getDouble(Pos("local_y")) - 432.0, 2.9, 1e-4);
    // Below F1's floor the fast descent goes on at the fine rate: 0.5 m in half a second.
    EXPECT_NEAR(Hold("trovik/down_fast", "local_y", 60, 30), -0.5, 1e-4);
    for (int frames : {60, 300}) {
        Hold("trovik/down_fast", "local_y", 60, frames);
        EXPECT_GE(host().datarefs.getDouble(Pos("local_y")) - 432.0, 0.05 - 1e-4) << frames;
    }
    EXPECT_NEAR(host().datarefs.getDouble(Pos("local_y")), 432.05, 1e-4);
}

TEST_F(SpeedTest, TheFactorScalesMovesAndClimbsNotTurnsKeysOrBegins) {
    EXPECT_EQ(Label(), "Slew Mode");
    for (int press = 0; press < 6; ++press)
        host().commands.once(Ref("trovik/faster"));
    EXPECT_EQ(Label(), "Slew Mode x16") << "16 at most";
    for (int press = 0; press < 9; ++press)
        host().commands.pickMenuItem("Slew slower");
    EXPECT_EQ(Label(), "Slew Mode x1/8") << "1/8 at least";
    for (int press = 0; press < 5; ++press)
        host().commands.once(Ref("trovik/faster"));
    EXPECT_EQ(Label(), "Slew Mode x4");

    // Four times the climb, the same turn and roll, the same key and Begin steps.
    Place(0, 200, 0, 150.0f);
    EXPECT_NEAR(Hold("trovik/up", "local_y", 60, 60), 4.0, 1e-4);
    EXPECT_NEAR(Hold("trovik/turn_right_fast", "psi", 60, 60), 30.0, 1e-4);
    EXPECT_NEAR(Hold("trovik/roll_left", "phi", 60, 60), -3.0, 1e-4);
    Place(0, 200, 0, 150.0f);
    host().display.keyEvent(0, xplm_DownFlag | xplm_ShiftFlag, XPLM_VK_NUMPAD8);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_z")), -5.0);
    // The stick: 400 m/s at full deflection, 6.25 m a frame of 1/64 s.
    host().datarefs.setFloat(hostsim::paths::kStick[0], -1.0f);
    for (int frame = 0; frame < 64; ++frame)
        host().loops.frame(1.0 / 64);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_z")), -405.0);
}

}  // namespace
}  // namespace trovik_test
