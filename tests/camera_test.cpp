// The top-down camera taken by S: where it looks from, and that it follows the aircraft.
#include <cmath>

#include "support.h"

namespace trovik_test {
namespace {

class CameraTest : public PluginTest {
  protected:
    void PlaceAt(double x, double y, double z) {
        host().setDouble(Pos("local_x"), x);
        host().setDouble(Pos("local_y"), y);
        host().setDouble(Pos("local_z"), z);
    }

    void TakeCameraWithS() {
        DownY();
        host().keyEvent('s', xplm_DownFlag, XPLM_VK_S);
        ASSERT_TRUE(host().cameraControlled());
    }
};

TEST_F(CameraTest, SPressesTheViewButtonThenTakesTheCameraUntilTheViewChanges) {
    DownY();
    host().recorder.clear();
    EXPECT_FALSE(host().keyEvent('s', xplm_DownFlag, XPLM_VK_S)) << "S is passed on";
    const Calls calls = host().recorder.only(
        {"XPLMCommandButtonPress", "XPLMCommandButtonRelease", "XPLMControlCamera"});
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], "XPLMCommandButtonPress(44)");
    EXPECT_EQ(calls[1], "XPLMCommandButtonRelease(44)");
    EXPECT_EQ(host().camera().duration, xplm_ControlCameraUntilViewChanges);
    EXPECT_EQ(host().camera().refcon, nullptr);
    EXPECT_TRUE(host().buttonsDown.empty());
}

TEST_F(CameraTest, LooksStraightDownFromAboveNorthUpAndKeepsZoom) {
    PlaceAt(100.0, 20.0, -50.0);
    TakeCameraWithS();
    host().cameraPosition.zoom = 1.5f;
    host().recorder.clear();
    EXPECT_EQ(host().cameraFrame(), 1);
    const XPLMCameraPosition_t p = host().cameraPosition;
    EXPECT_EQ(p.x, 100.0f);
    EXPECT_EQ(p.y, 320.0f);
    EXPECT_EQ(p.z, -50.0f);
    EXPECT_EQ(p.pitch, -90.0f);
    EXPECT_EQ(p.heading, 360.0f);
    EXPECT_EQ(BitsOf(p.roll), BitsOf(0.0f));
    EXPECT_EQ(p.zoom, 1.5f);
    // Read as floats, and the height added in single precision.
    EXPECT_EQ(host().recorder.strings(),
              Calls({"XPLMGetDataf(sim/flightmodel/position/local_x) = 100",
                     "XPLMGetDataf(sim/flightmodel/position/local_y) = 20",
                     "XPLMGetDataf(sim/flightmodel/position/local_z) = -50"}));

    host().setDouble(Pos("local_y"), 0.1);  // 0.1f + 300.0f rounds in float
    host().cameraFrame();
    EXPECT_EQ(BitsOf(host().cameraPosition.y), BitsOf(0.1f + 300.0f));
}

TEST_F(CameraTest, LosingControlOrANullPositionWritesNothing) {
    TakeCameraWithS();
    host().recorder.clear();
    EXPECT_EQ(host().cameraFrame(/*passNullPosition=*/true), 1);
    EXPECT_TRUE(host().recorder.calls.empty());

    const XPLMCameraPosition_t before{1, 2, 3, 4, 5, 6, 7};
    XPLMCameraPosition_t position = before;
    EXPECT_EQ(host().camera().callback(&position, 1, nullptr), 1);
    EXPECT_EQ(std::memcmp(&position, &before, sizeof position), 0);
    EXPECT_TRUE(host().recorder.calls.empty());

    host().changeView();
    EXPECT_FALSE(host().cameraControlled());
}

TEST_F(CameraTest, ABrokenPositionNeverThrowsTheViewIntoNaN) {
    TakeCameraWithS();
    host().cameraPosition = XPLMCameraPosition_t{1, 2, 3, 4, 5, 6, 7};
    PlaceAt(NAN, 1e300, -5.0);  // y is finite, but no float holds it
    EXPECT_EQ(host().cameraFrame(), 1);
    const XPLMCameraPosition_t p = host().cameraPosition;
    EXPECT_EQ(p.x, 1.0f);
    EXPECT_EQ(p.y, 2.0f);
    EXPECT_EQ(p.z, -5.0f);
    EXPECT_EQ(p.pitch, -90.0f);
    EXPECT_EQ(p.zoom, 7.0f);
}

TEST_F(CameraTest, FollowsTheAircraftAsKeysMoveItAndOutlivesSlewMode) {
    host().setDouble(Pos("local_y"), 10.0);
    host().setFloat(Pos("y_agl"), 10.0f);
    TakeCameraWithS();
    for (int i = 0; i < 3; ++i)
        host().keyEvent(0, xplm_DownFlag | xplm_ShiftFlag, XPLM_VK_NUMPAD8);
    host().keyEvent(0, xplm_DownFlag, XPLM_VK_F4);
    host().cameraFrame();
    EXPECT_EQ(host().cameraPosition.z, -15.0f);
    EXPECT_EQ(host().cameraPosition.y, 313.0f);

    DownY();  // slew mode off: the camera stays until the view changes
    EXPECT_EQ(host().getInt(kOverride, 0), 0);
    EXPECT_TRUE(host().cameraControlled());
    EXPECT_EQ(host().cameraFrame(), 1);
}

}  // namespace
}  // namespace trovik_test
