// The top-down camera taken by S: where it looks from, and what it does when the aircraft's
// position is broken. (That it follows the keys' moves and outlives slew mode, the demo's flights
// show.)
#include <cmath>

#include "support.h"

namespace trovik_test {
namespace {

class CameraTest : public PluginTest {
  protected:
    void TakeCameraWithS() {
        DownY();
        host().display.keyEvent('s', xplm_DownFlag, XPLM_VK_S);
        ASSERT_TRUE(host().camera.controlled());
    }

    // The view as bit patterns, so that -0.0, NaN and the host's garbage all show.
    static std::vector<uint32_t> Bits(const XPLMCameraPosition_t& p) {
        return {BitsOf(p.x),       BitsOf(p.y),    BitsOf(p.z),   BitsOf(p.pitch),
                BitsOf(p.heading), BitsOf(p.roll), BitsOf(p.zoom)};
    }
};

TEST_F(CameraTest, SPressesTheViewButtonThenTakesTheCameraUntilTheViewChanges) {
    DownY();
    host().recorder.clear();
    EXPECT_FALSE(host().display.keyEvent('s', xplm_DownFlag, XPLM_VK_S)) << "S is passed on";
    const Calls calls = host().recorder.only(
        {"XPLMCommandButtonPress", "XPLMCommandButtonRelease", "XPLMControlCamera"});
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "XPLMCommandButtonPress(44)");
    EXPECT_EQ(calls[1], "XPLMCommandButtonRelease(44)");
    EXPECT_EQ(host().camera.duration, xplm_ControlCameraUntilViewChanges);
    EXPECT_EQ(host().camera.refcon, nullptr);
}

TEST_F(CameraTest, FillsEveryFieldLookingStraightDownFromAboveNorthUp) {
    Place(100.0, 20.0, -50.0);
    TakeCameraWithS();
    host().recorder.clear();
    // The host hands over garbage, a different kind in each field at each of the two frames.
    const std::vector<uint32_t> expected = {BitsOf(100.0f), BitsOf(320.0f), BitsOf(-50.0f),
                                            BitsOf(-90.0f), BitsOf(360.0f), BitsOf(0.0f),
                                            BitsOf(1.0f)};
    for (int frame = 0; frame < 2; ++frame) {
        EXPECT_EQ(host().camera.frame(), 1);
        EXPECT_EQ(Bits(host().camera.position), expected) << "frame " << frame;
    }
    // Read as floats, and the height added in single precision.
    EXPECT_EQ(host().recorder.strings()[0], "XPLMGetDataf(sim/flightmodel/position/local_x) = 100");
    EXPECT_EQ(host().recorder.count("XPLMGetDatad"), 0u);
    host().datarefs.setDouble(Pos("local_y"), 0.1);
    host().camera.frame();
    EXPECT_EQ(BitsOf(host().camera.position.y), BitsOf(300.100006f));
}

TEST_F(CameraTest, LosingControlOrANullPositionWritesNothingAndKeepsTheCamera) {
    TakeCameraWithS();
    host().recorder.clear();
    EXPECT_EQ(host().camera.frame(/*passNullPosition=*/true), 1);
    EXPECT_TRUE(host().recorder.calls.empty());

    EXPECT_EQ(host().camera.callback(nullptr, 1, nullptr), 1);
    EXPECT_TRUE(host().recorder.calls.empty());
    // Told it lost the camera, the plug-in must not give it back at stop (the host reports that
    // as misuse); nor when the simulator took it back without a word.
    host().camera.callback = nullptr;
    host().display.pressKey(XPLM_VK_S);
    host().camera.takeBackSilently();
    host().recorder.clear();
    plugin.disable();
    EXPECT_EQ(host().recorder.only({"XPLMIsCameraBeingControlled", "XPLMDontControlCamera"}),
              Calls({"XPLMIsCameraBeingControlled(null) = 0"}));
    plugin.enable();
}

TEST_F(CameraTest, ABrokenPositionKeepsTheLastViewOrGivesTheCameraBack) {
    // Broken from the first frame: no view to keep, so the simulator's own view takes over, and
    // the camera the plug-in gave up is not released again at stop (the host reports that).
    Place(NAN, 10.0, -5.0);
    TakeCameraWithS();
    EXPECT_EQ(host().camera.frame(), 0);
    EXPECT_FALSE(host().camera.controlled());
    plugin.unload();
    EXPECT_EQ(host().recorder.misuses, Calls{});
    Load();
    DownY();

    // After a good frame, each broken axis keeps the whole last view, roll and zoom included.
    host().display.pressKey(XPLM_VK_S);
    Place(7.0, 8.0, 9.0);
    EXPECT_EQ(host().camera.frame(), 1);
    const std::vector<uint32_t> last = Bits(host().camera.position);
    EXPECT_EQ(last[0], BitsOf(7.0f));
    const double broken[][3] = {{NAN, 1, 2}, {1, 1e300, 2}, {1, 2, -INFINITY}};
    for (const auto& at : broken) {
        Place(at[0], at[1], at[2]);
        EXPECT_EQ(host().camera.frame(), 1);
        EXPECT_EQ(Bits(host().camera.position), last);
    }
}

}  // namespace
}  // namespace trovik_test
