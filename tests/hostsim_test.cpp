// The headless host's own contract, where a plug-in's behaviour depends on it.
#include "support.h"

namespace trovik_test {
namespace {

class HostTest : public ::testing::Test {
  protected:
    void SetUp() override { host().reset(); }
};

TEST_F(HostTest, DatarefsKeepTheSimulatorsTypes) {
    XPLMDataRef x = XPLMFindDataRef("sim/flightmodel/position/local_x");
    XPLMDataRef psi = XPLMFindDataRef("sim/flightmodel/position/psi");
    XPLMDataRef over = XPLMFindDataRef(kOverride);
    ASSERT_NE(x, nullptr);
    ASSERT_NE(psi, nullptr);
    ASSERT_NE(over, nullptr);

    // A double read as float rounds to nearest; a float written to a double widens.
    XPLMSetDatad(x, 0.1);
    EXPECT_EQ(BitsOf(XPLMGetDatad(x)), BitsOf(0.1));
    EXPECT_EQ(BitsOf(XPLMGetDataf(x)), BitsOf(0.1f));
    XPLMSetDataf(x, 0.1f);
    EXPECT_EQ(BitsOf(XPLMGetDatad(x)), BitsOf(static_cast<double>(0.1f)));

    // A float dataref answers only as float; an int array only through the array calls.
    XPLMSetDataf(psi, 123.4f);
    XPLMSetDatad(psi, 5.0);
    EXPECT_EQ(XPLMGetDataf(psi), 123.4f);
    EXPECT_EQ(XPLMGetDatad(psi), 0.0);
    XPLMSetDataf(over, 3.0f);
    EXPECT_EQ(XPLMGetDataf(over), 0.0f);

    int one[1] = {1};
    XPLMSetDatavi(over, one, 0, 1);
    int values[3] = {9, 9, 9};
    EXPECT_EQ(XPLMGetDatavi(over, values, 0, 3), 3);
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[1], 0);
    EXPECT_EQ(XPLMGetDatavi(over, nullptr, 0, 0), 20);
    XPLMSetDatavi(over, one, 19, 5);  // clipped to the array
    EXPECT_EQ(host().getInt(kOverride, 19), 1);
    EXPECT_EQ(XPLMGetDatavi(over, values, 25, 3), 0);
}

TEST_F(HostTest, UnknownPathsGiveNullHandlesThatReadZeroAndIgnoreWrites) {
    EXPECT_EQ(XPLMFindDataRef("sim/no/such/dataref"), nullptr);
    EXPECT_EQ(XPLMFindDataRef(nullptr), nullptr);
    XPLMSetDataf(nullptr, 1.0f);
    XPLMSetDatad(nullptr, 1.0);
    int v[1] = {1};
    XPLMSetDatavi(nullptr, v, 0, 1);
    EXPECT_EQ(XPLMGetDataf(nullptr), 0.0f);
    EXPECT_EQ(XPLMGetDatad(nullptr), 0.0);
    EXPECT_EQ(XPLMGetDatavi(nullptr, v, 0, 1), 0);
    host().removeDataRef("sim/flightmodel/position/psi");
    EXPECT_EQ(XPLMFindDataRef("sim/flightmodel/position/psi"), nullptr);
}

TEST_F(HostTest, RecorderSpellsEveryArgumentExactly) {
    XPLMDataRef z = XPLMFindDataRef("sim/flightmodel/position/local_z");
    XPLMSetDatad(z, -50.1);
    XPLMSetDataf(nullptr, 0.15f);
    float red[3] = {1, 0, 0};
    XPLMDrawString(red, 20, 1062, "hi", nullptr, 0);
    XPLMCommandButtonPress(44);
    EXPECT_EQ(host().recorder.strings(),
              Calls({"XPLMFindDataRef(\"sim/flightmodel/position/local_z\") = "
                     "sim/flightmodel/position/local_z",
                     "XPLMSetDatad(sim/flightmodel/position/local_z, -50.100000000000001)",
                     "XPLMSetDataf(<null>, 0.150000006)",
                     "XPLMDrawString(rgb(1, 0, 0), 20, 1062, \"hi\", null, 0)",
                     "XPLMCommandButtonPress(44)"}));
    EXPECT_EQ(BitsOf(host().recorder.calls[1].args[1].d), BitsOf(-50.1));
    host().recorder.enabled = false;
    XPLMCommandButtonRelease(44);
    EXPECT_EQ(host().recorder.calls.size(), 5u);
    EXPECT_TRUE(host().buttonsDown.empty());
}

// Records which callback saw which event, and answers as told.
std::vector<std::string> gSeen;
int gBeforeAnswer = 1;
int Before(char, XPLMKeyFlags flags, char key, void*) {
    gSeen.push_back("before " + std::to_string(key) + "/" + std::to_string(flags));
    return gBeforeAnswer;
}
int After(char, XPLMKeyFlags flags, char key, void*) {
    gSeen.push_back("after " + std::to_string(key) + "/" + std::to_string(flags));
    return 1;
}
void Hot(void*) {
    gSeen.push_back("hot");
}

TEST_F(HostTest, KeysReachSniffersBeforeWindowsThenAfterThenHotKeys) {
    gSeen.clear();
    gBeforeAnswer = 1;
    XPLMRegisterKeySniffer(After, 0, nullptr);
    XPLMRegisterKeySniffer(Before, 1, nullptr);
    XPLMRegisterHotKey(XPLM_VK_Y, xplm_DownFlag, "t", Hot, nullptr);
    host().pressKey(XPLM_VK_Y);
    EXPECT_EQ(gSeen, Calls({"before 89/8", "after 89/8", "hot", "before 89/16", "after 89/16"}));

    gSeen.clear();
    gBeforeAnswer = 0;
    EXPECT_TRUE(host().keyEvent(0, xplm_DownFlag, XPLM_VK_Y));
    EXPECT_EQ(gSeen, Calls({"before 89/8"}));

    EXPECT_EQ(XPLMUnregisterKeySniffer(Before, 0, nullptr), 0) << "must match all three";
    EXPECT_EQ(XPLMUnregisterKeySniffer(Before, 1, nullptr), 1);
    EXPECT_EQ(host().keySniffers().size(), 1u);
}

int gCameraCalls = 0;
int gKeep = 1;
int Cam(XPLMCameraPosition_t* pos, int losing, void*) {
    ++gCameraCalls;
    if (losing != 0)
        return 0;
    if (pos != nullptr)
        pos->x = 7.0f;
    return gKeep;
}

TEST_F(HostTest, CameraIsCalledEachFrameUntilTheViewChangesOrItLetsGo) {
    gCameraCalls = 0;
    gKeep = 1;
    EXPECT_EQ(host().cameraFrame(), -1);
    XPLMControlCamera(xplm_ControlCameraUntilViewChanges, Cam, nullptr);
    EXPECT_EQ(host().cameraFrame(), 1);
    EXPECT_EQ(host().cameraPosition.x, 7.0f);
    host().changeView();
    EXPECT_FALSE(host().cameraControlled());
    EXPECT_EQ(gCameraCalls, 2);

    XPLMControlCamera(xplm_ControlCameraForever, Cam, nullptr);
    host().changeView();
    EXPECT_TRUE(host().cameraControlled());
    gKeep = 0;
    EXPECT_EQ(host().cameraFrame(), 0);
    EXPECT_FALSE(host().cameraControlled());
}

}  // namespace
}  // namespace trovik_test
