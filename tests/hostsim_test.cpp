// The headless host's fidelity, where the plug-in's tests depend on it: typed datarefs, the
// order keys and commands are delivered in, the camera's garbage and ownership, and the misuse
// it reports.
#include <cmath>
#include <cstdio>

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
    // A double read as float rounds to nearest; a float written to a double widens.
    XPLMSetDatad(x, 0.1);
    EXPECT_EQ(BitsOf(XPLMGetDataf(x)), BitsOf(0.1f));
    XPLMSetDataf(x, 0.1f);
    EXPECT_EQ(BitsOf(XPLMGetDatad(x)), BitsOf(static_cast<double>(0.1f)));
    // A float dataref answers only as float; an int array only through the array calls.
    XPLMSetDataf(psi, 123.4f);
    XPLMSetDatad(psi, 5.0);
    EXPECT_EQ(XPLMGetDataf(psi), 123.4f);
    EXPECT_EQ(XPLMGetDatad(psi), 0.0);
    XPLMSetDataf(over, 3.0f);
    int values[2] = {9, 9};
    EXPECT_EQ(XPLMGetDatavi(over, values, 0, 2), 2);
    EXPECT_EQ(values[0], 0);
}

TEST_F(HostTest, FindSymbolAnswersForTheHostsFunctionsAndX_Plane11_10LacksThoseOf301) {
    EXPECT_EQ(XPLMFindSymbol("XPLMCreateWindowEx"), reinterpret_cast<void*>(&XPLMCreateWindowEx));
    EXPECT_NE(XPLMFindSymbol("XPLMWindowIsInVR"), nullptr);
    EXPECT_EQ(XPLMFindSymbol("XPLMNoSuchFunction"), nullptr);
    EXPECT_EQ(XPLMFindSymbol("malloc"), nullptr);
    host().utilities.xplm301 = false;
    EXPECT_EQ(XPLMFindSymbol("XPLMWindowIsInVR"), nullptr);
    EXPECT_NE(XPLMFindSymbol("XPLMCreateWindowEx"), nullptr);
    int xplane = 0, xplm = 0, app = 0;
    XPLMGetVersions(&xplane, &xplm, &app);
    EXPECT_EQ(xplm, 300);
}

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
    XPLMHotKeyID hot = XPLMRegisterHotKey(XPLM_VK_Y, xplm_DownFlag, "t", Hot, nullptr);
    host().display.pressKey(XPLM_VK_Y);
    EXPECT_EQ(gSeen, Calls({"before 89/8", "after 89/8", "hot", "before 89/16", "after 89/16"}));
    gSeen.clear();
    gBeforeAnswer = 0;
    EXPECT_TRUE(host().display.keyEvent(0, xplm_DownFlag, XPLM_VK_Y));
    EXPECT_EQ(gSeen, Calls({"before 89/8"}));

    // Unregistrations match every argument, or are misuse.
    XPLMUnregisterKeySniffer(Before, 0, nullptr);
    XPLMUnregisterHotKey(hot);
    XPLMUnregisterHotKey(hot);
    XPLMDestroyWindow(nullptr);
    EXPECT_EQ(host().recorder.misuses.size(), 3u);
}

std::vector<std::string> gPhases;
int gFirstAnswer = 1;
int First(XPLMCommandRef, XPLMCommandPhase phase, void* refcon) {
    gPhases.push_back("first " + std::to_string(phase) + (refcon != nullptr ? " ref" : ""));
    return gFirstAnswer;
}
int Later(XPLMCommandRef, XPLMCommandPhase phase, void*) {
    gPhases.push_back("later " + std::to_string(phase));
    return 1;
}

TEST_F(HostTest, CommandsRunTheirHandlersInOrderPhaseByPhaseAndMenusRunCommands) {
    gPhases.clear();
    gFirstAnswer = 1;
    XPLMCommandRef c = XPLMCreateCommand("test/c", "C");
    EXPECT_EQ(XPLMCreateCommand("test/c", "again"), c) << "one command per name";
    int refcon = 0;
    XPLMRegisterCommandHandler(c, Later, 0, nullptr);
    XPLMRegisterCommandHandler(c, First, 1, &refcon);
    const int item = XPLMAppendMenuItem(XPLMFindPluginsMenu(), "Test", nullptr, 0);
    XPLMMenuID menu = XPLMCreateMenu("Test", XPLMFindPluginsMenu(), item, nullptr, nullptr);
    EXPECT_EQ(XPLMAppendMenuItemWithCommand(menu, "Run", c), 0);
    EXPECT_TRUE(host().commands.pickMenuItem("Run"));  // once: Begin, End
    host().commands.begin(c);
    host().commands.frame();
    gFirstAnswer = 0;  // the before-handler now hides the command from what comes after it
    host().commands.end(c);
    EXPECT_EQ(gPhases, Calls({"first 0 ref", "later 0", "first 2 ref", "later 2", "first 0 ref",
                              "later 0", "first 1 ref", "later 1", "first 2 ref"}));
    XPLMEnableMenuItem(menu, 0, 0);
    EXPECT_FALSE(host().commands.pickMenuItem("Run"));
    EXPECT_EQ(host().recorder.misuses, Calls{});

    XPLMCommandEnd(c);                                   // never begun
    XPLMUnregisterCommandHandler(c, First, 1, nullptr);  // another refcon
    XPLMCheckMenuItem(menu, 1, xplm_Menu_Checked);       // no such item
    XPLMDestroyMenu(menu);
    XPLMDestroyMenu(menu);
    EXPECT_EQ(host().recorder.misuses.size(), 4u);
}

std::vector<XPLMCameraPosition_t> gGiven;
int Cam(XPLMCameraPosition_t* pos, int losing, void*) {
    gGiven.push_back(pos == nullptr ? XPLMCameraPosition_t{} : *pos);
    if (losing != 0 || pos == nullptr) {
        gGiven.back().zoom = losing != 0 ? -1.0f : -2.0f;  // told it lost, with no struct
        return 0;
    }
    pos->x = 7.0f;
    return 1;
}

TEST_F(HostTest, TheCameraComesFilledWithGarbageAndGoesWhenTheViewChanges) {
    gGiven.clear();
    XPLMControlCamera(xplm_ControlCameraUntilViewChanges, Cam, nullptr);
    host().camera.frame();
    host().camera.frame();
    ASSERT_EQ(gGiven.size(), 2u);
    // Each field NaN in one frame and a plain number in the other.
    EXPECT_TRUE(std::isnan(gGiven[0].x) && !std::isnan(gGiven[1].x));
    EXPECT_TRUE(!std::isnan(gGiven[0].y) && std::isnan(gGiven[1].y));
    EXPECT_EQ(host().camera.position.x, 7.0f);

    host().camera.changeView();
    EXPECT_FALSE(host().camera.controlled());
    ASSERT_EQ(gGiven.size(), 3u);
    EXPECT_EQ(gGiven[2].zoom, -1.0f);
    XPLMDontControlCamera();  // nobody holds it any more
    EXPECT_EQ(host().recorder.misuses.size(), 1u);
}

std::vector<std::string> gLoopCalls;
float gNext = -1.0f;
float Loop(float sinceLastCall, float sinceLastLoops, int counter, void* refcon) {
    char line[64];
    std::snprintf(line, sizeof line, "%s %g %g %d", static_cast<const char*>(refcon),
                  double{sinceLastCall}, double{sinceLastLoops}, counter);
    gLoopCalls.push_back(line);
    return gNext;
}

TEST_F(HostTest, FlightLoopsRunWhenTheFramesOrSecondsTheyAskedForHavePassed) {
    gLoopCalls.clear();
    char names[] = "after\0before";
    XPLMCreateFlightLoop_t params{sizeof params, xplm_FlightLoop_Phase_AfterFlightModel, Loop,
                                  names};
    XPLMFlightLoopID late = XPLMCreateFlightLoop(&params);
    params = {sizeof params, xplm_FlightLoop_Phase_BeforeFlightModel, Loop, names + 6};
    XPLMFlightLoopID early = XPLMCreateFlightLoop(&params);
    const auto model = [] { gLoopCalls.push_back("model"); };

    host().loops.frame(0.5, model);  // created unscheduled
    XPLMScheduleFlightLoop(late, -2.0f, 1);
    XPLMScheduleFlightLoop(early, 0.75f, 1);
    gNext = 0.5f;
    for (int frame = 0; frame < 4; ++frame)
        host().loops.frame(0.25, model);
    gNext = 0.0f;
    host().loops.frame(0.25);
    host().loops.frame(1.0);
    XPLMScheduleFlightLoop(late, -1.0f, 0);  // a frame after its last call: due at once
    host().loops.frame(0.5);
    // Frame 3 (1 s): `late`, two frames after it was scheduled, first called, 1 s after it was
    // made, after the model; frame 4 (1.25 s): `early`, 0.75 s after; both then every 0.5 s until
    // they ask for nothing; `late` again a frame after its last call.
    EXPECT_EQ(gLoopCalls, Calls({"model", "model", "model", "after 1 0.25 3", "before 1.25 0.25 4",
                                 "model", "model", "after 0.5 0.25 5", "before 0.5 0.25 6",
                                 "after 1.25 1 7", "after 0.5 0.5 8"}));

    XPLMDestroyFlightLoop(late);
    XPLMDestroyFlightLoop(late);
    XPLMScheduleFlightLoop(late, -1.0f, 1);
    params.callbackFunc = nullptr;
    EXPECT_EQ(XPLMCreateFlightLoop(&params), nullptr);
    host().pluginStopped();  // `early` is still there
    EXPECT_TRUE(host().loops.loops.empty());
    EXPECT_EQ(host().recorder.misuses.size(), 4u);
}

TEST_F(HostTest, ProbesFindTheTallestSurfaceWaterAndTheSeaBeyondTheLoadedScenery) {
    XPLMProbeRef probe = XPLMCreateProbe(xplm_ProbeY);
    XPLMProbeInfo_t info{};
    info.structSize = sizeof info;
    EXPECT_EQ(XPLMProbeTerrainXYZ(probe, 0, 0, 0, &info), xplm_ProbeMissed) << "nothing loaded";

    hostsim::Terrain& t = host().terrain;
    t.loaded = true;
    t.elevation = 100.0;
    t.grade = 0.5;  // rising to the east
    t.uphill = 90.0;
    t.hillHeight = 20.0;  // at 30 m east, 10 m south, 40 m across
    t.hillX = 30.0;
    t.hillZ = 10.0;
    t.hillRadius = 20.0;
    hostsim::Surface deck;
    deck.minX = -10, deck.maxX = -5, deck.minZ = -1, deck.maxZ = 1, deck.top = 120.0;
    hostsim::Surface lake;
    lake.centreX = -20, lake.centreZ = 0, lake.radius = 2, lake.top = 95.0, lake.wet = true;
    t.surfaces = {deck, lake};
    t.loadedRadius = 1000.0;
    const struct {
        float x, z;
        float y;
        int wet;
    } points[] = {
        {4, -50, 102.0f, 0}, {40, 10, 130.0f, 0},   {-8, 0, 120.0f, 0},  // plane, hill, deck
        {-20, 0, 95.0f, 1},  {-20, 2.5f, 90.0f, 0}, {1000, 1, 0.0f, 0},  // lake, shore, sea
    };
    for (const auto& p : points) {
        info = XPLMProbeInfo_t{};
        info.structSize = sizeof info;
        EXPECT_EQ(XPLMProbeTerrainXYZ(probe, p.x, 500, p.z, &info), xplm_ProbeHitTerrain);
        EXPECT_EQ(info.locationY, p.y) << p.x << ", " << p.z;
        EXPECT_EQ(info.is_wet, p.wet) << p.x << ", " << p.z;
    }
    // Under the deck, the height above ground counts from the ground; on it, from the deck.
    EXPECT_EQ(host().terrain.groundBelow(-8, 110, 0), 96.0);
    EXPECT_EQ(host().terrain.groundBelow(-8, 121, 0), 120.0);
    EXPECT_EQ(host().recorder.misuses, Calls{});

    info.structSize = sizeof info - 4;
    EXPECT_EQ(XPLMProbeTerrainXYZ(probe, 0, 0, 0, &info), xplm_ProbeError);
    XPLMDestroyProbe(probe);
    info.structSize = sizeof info;
    EXPECT_EQ(XPLMProbeTerrainXYZ(probe, 0, 0, 0, &info), xplm_ProbeError);
    XPLMDestroyProbe(probe);
    XPLMCreateProbe(xplm_ProbeY);
    host().pluginStopped();
    EXPECT_EQ(host().recorder.misuses.size(), 4u);
}

int gPublished = 41;
int ReadPublished(void* refcon) {
    return *static_cast<int*>(refcon);
}

// The world round the scenery, airports, datarefs another plug-in publishes, and other plug-ins
// by signature: what a plug-in that keeps places and publishes its state leans on.
TEST_F(HostTest, CoordinatesAirportsPublishedDatarefsAndOtherPlugins) {
    // A degree is 111 194.93 m north and 75 172.67 m east here; a move of the reference point
    // shifts the aircraft and the scenery by exactly the move.
    double x = 0, y = 0, z = 0, lat = 0, lon = 0, alt = 0;
    XPLMWorldToLocal(47.564722, 8.449167, 500.0, &x, &y, &z);
    EXPECT_NEAR(x, -7517.266675835194, 1e-6);
    EXPECT_NEAR(z, -11119.492664455873, 1e-6);
    host().datarefs.setDouble(Pos("local_x"), 100.0);
    host().datarefs.setDouble(Pos("local_z"), -200.0);
    host().terrain.hillX = 30.0;
    host().coordinates.moveOrigin(20000.0, -35000.0);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_x")), -19900.0);
    EXPECT_EQ(host().datarefs.getDouble(Pos("local_z")), 34800.0);
    EXPECT_EQ(host().terrain.hillX, -19970.0);
    XPLMLocalToWorld(-20000.0, 0.0, 35000.0, &lat, &lon, &alt);
    EXPECT_NEAR(lat, 47.464722, 1e-12);
    EXPECT_NEAR(lon, 8.549167, 1e-12);

    host().navigation.airports = {{"LSZH", "Zurich", 47.4647f, 8.5492f, 432},
                                  {"LSZB", "Bern", 46.9141f, 7.4972f, 510}};
    float near[2] = {47.0f, 7.6f};
    const XPLMNavRef bern = XPLMFindNavAid(nullptr, nullptr, &near[0], &near[1], nullptr, 1);
    char id[32] = {};
    XPLMGetNavAidInfo(bern, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, id, nullptr,
                      nullptr);
    EXPECT_EQ(std::string(id), "LSZB");
    EXPECT_EQ(XPLMFindNavAid(nullptr, "LSZH", nullptr, nullptr, nullptr, 1), 0);
    EXPECT_EQ(XPLMFindNavAid(nullptr, nullptr, &near[0], &near[1], nullptr, 2), XPLM_NAV_NOT_FOUND);
    EXPECT_EQ(host().recorder.misuses, Calls{});

    XPLMDataRef mine = XPLMRegisterDataAccessor(
        "test/count", 1, 0, ReadPublished, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr, nullptr, nullptr, &gPublished, nullptr);
    EXPECT_EQ(XPLMGetDatai(XPLMFindDataRef("test/count")), 41);
    EXPECT_EQ(XPLMGetDataf(mine), 0.0f) << "no float reader";
    const XPLMPluginID browser = host().plugins.add("com.leecbaker.datareftool");
    EXPECT_EQ(XPLMFindPluginBySignature("com.leecbaker.datareftool"), browser);
    EXPECT_EQ(XPLMFindPluginBySignature("xplanesdk.examples.DataRefEditor"), XPLM_NO_PLUGIN_ID);
    char name[] = "test/count";
    XPLMSendMessageToPlugin(browser, 0x01000000, name);
    XPLMSendMessageToPlugin(XPLM_NO_PLUGIN_ID, 5, name);
    EXPECT_EQ(host().plugins.others[0].messages.size(), 2u);
    EXPECT_EQ(host().recorder.misuses, Calls{});

    XPLMRegisterDataAccessor(Pos("psi").c_str(), 2, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                             nullptr);
    XPLMGetNavAidInfo(7, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, id, nullptr,
                      nullptr);
    host().pluginStopped();  // test/count still registered
    EXPECT_EQ(XPLMGetDatai(mine), 0) << "a stale handle reads nothing";
    EXPECT_EQ(host().recorder.misuses.size(), 3u);
}

}  // namespace
}  // namespace trovik_test
