// Start, identity, stop and unload of the built plug-in, and loads that must fail cleanly.
#include "support.h"

namespace trovik_test {
namespace {

const char* const kPaths[] = {
    "sim/operation/override/override_planepath",
    "sim/flightmodel/position/local_x",
    "sim/flightmodel/position/local_y",
    "sim/flightmodel/position/local_z",
    "sim/flightmodel/position/y_agl",
    "sim/flightmodel/position/psi",
    "sim/flightmodel/position/theta",
    "sim/flightmodel/position/phi",
    "sim/flightmodel/position/latitude",
    "sim/flightmodel/position/longitude",
    "sim/flightmodel/position/elevation",
    "sim/flightmodel/position/mag_psi",
};

class StartTest : public ::testing::Test {
  protected:
    void SetUp() override { host().reset(); }
    void TearDown() override { plugin.unload(); }
    hostsim::Plugin plugin;
};

TEST_F(StartTest, ReportsIdentityBindsEveryDatarefInOrderAndRegistersKeys) {
    std::string error;
    ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
    EXPECT_EQ(plugin.startResult, 1);
    EXPECT_EQ(plugin.enableResult, 1);
    EXPECT_EQ(plugin.name, "Trovik");
    EXPECT_EQ(plugin.signature, "kervanold.trovik");
    EXPECT_EQ(plugin.description, "Slew mode for X-Plane");

    const auto& calls = host().recorder.calls;
    ASSERT_GE(calls.size(), 14u);
    for (size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(calls[i].str(),
                  "XPLMFindDataRef(\"" + std::string(kPaths[i]) + "\") = " + kPaths[i]);
    }
    // Y on key-down with no modifier, and a sniffer that sees keys before the windows do.
    EXPECT_EQ(calls[12].fn, "XPLMRegisterHotKey");
    EXPECT_EQ(calls[12].args[0].i, 0x59);
    EXPECT_EQ(calls[12].args[1].i, 8);
    EXPECT_EQ(calls[12].args[2].str(), "\"Slew mode\"");
    EXPECT_NE(calls[12].args[3].p, nullptr);
    EXPECT_EQ(calls[12].args[4].p, nullptr);
    EXPECT_EQ(calls[13].fn, "XPLMRegisterKeySniffer");
    EXPECT_NE(calls[13].args[0].p, nullptr);
    EXPECT_EQ(calls[13].args[1].i, 1);
    EXPECT_EQ(calls[13].args[2].p, nullptr);

    ASSERT_EQ(host().hotKeys().size(), 1u);
    EXPECT_EQ(host().hotKeys()[0].description, "Slew mode");
    ASSERT_EQ(host().keySniffers().size(), 1u);
    EXPECT_TRUE(host().windows().empty());
    EXPECT_EQ(*static_cast<int*>(plugin.symbol("HotKey_Master")), 0);
    EXPECT_NE(plugin.symbol("check_AGL"), nullptr);
}

TEST_F(StartTest, StartsOnAHostThatLacksEveryDataref) {
    for (const char* path : kPaths)
        host().removeDataRef(path);
    std::string error;
    ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
    EXPECT_EQ(plugin.startResult, 1);
    EXPECT_EQ(host().recorder.calls[0].str(),
              "XPLMFindDataRef(\"sim/operation/override/override_planepath\") = <null>");
    // Null handles read 0 and swallow writes; the plug-in still toggles and draws.
    host().pressKey(XPLM_VK_Y);
    EXPECT_EQ(host().windows().size(), 1u);
    EXPECT_EQ(host().drawFrame().texts.at(0).text,
              "Lat: 0.000000   Lon: 0.000000   Alt: 0 ft. MSL   Mag:0 Deg");
}

TEST_F(StartTest, EnableDisableAndMessagesChangeNothing) {
    std::string error;
    ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
    host().recorder.clear();
    for (int i = 0; i < 3; ++i) {
        plugin.XPluginDisable();
        EXPECT_EQ(plugin.XPluginEnable(), 1);
        plugin.XPluginReceiveMessage(0, 101 + i, nullptr);
    }
    EXPECT_TRUE(host().recorder.calls.empty());
    EXPECT_EQ(host().hotKeys().size(), 1u);
}

class StopTest : public PluginTest {};

TEST_F(StopTest, StopAfterStartReleasesHotKeyAndSnifferAndTouchesNothingElse) {
    plugin.unload();
    EXPECT_EQ(host().recorder.calls.at(0).fn, "XPLMUnregisterHotKey");
    EXPECT_NE(host().recorder.calls.at(0).args[0].p, nullptr);
    // The same three arguments as at registration.
    EXPECT_EQ(host().recorder.calls.at(1).fn, "XPLMUnregisterKeySniffer");
    EXPECT_EQ(host().recorder.calls.at(1).args[1].i, 1);
    EXPECT_EQ(host().recorder.calls.at(1).args[2].p, nullptr);
    EXPECT_EQ(host().recorder.calls.at(1).result.i, 1);
    EXPECT_TRUE(host().hotKeys().empty());
    EXPECT_TRUE(host().keySniffers().empty());
    EXPECT_EQ(host().misuses, Calls{});
}

TEST_F(StopTest, StopInSlewModeReleasesTheAircraftAndClosesTheOverlay) {
    PressY();
    ASSERT_EQ(host().getInt(kOverride, 0), 1);
    int* master = &HotKeyMaster();
    host().recorder.clear();
    plugin.XPluginStop();

    const Calls calls = host().recorder.only(
        {"XPLMUnregisterHotKey", "XPLMUnregisterKeySniffer", "XPLMSetDatavi", "XPLMDestroyWindow"});
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2], SetOverride(0));
    EXPECT_EQ(calls[3].rfind("XPLMDestroyWindow", 0), 0u);
    EXPECT_EQ(host().getInt(kOverride, 0), 0);
    EXPECT_EQ(*master, 0);
    EXPECT_TRUE(host().windows().empty());
    EXPECT_TRUE(host().keySniffers().empty());
    EXPECT_TRUE(host().hotKeys().empty());
    // The library is already stopped: only close it.
    plugin.XPluginStop = [] {};
    plugin.XPluginDisable = [] {};
}

TEST_F(StopTest, StopWithAWindowOpenButTheFlagClearedOnlyClosesTheWindow) {
    PressY();
    HotKeyMaster() = 0;  // another plug-in reached in
    host().recorder.clear();
    plugin.unload();
    EXPECT_EQ(host().recorder.count("XPLMSetDatavi"), 0u);
    EXPECT_EQ(host().recorder.count("XPLMDestroyWindow"), 1u);
    EXPECT_TRUE(host().windows().empty());
}

TEST_F(StopTest, StopGivesBackACameraItStillHolds) {
    PressY();
    host().pressKey(XPLM_VK_S);
    ASSERT_TRUE(host().cameraControlled());
    plugin.unload();
    EXPECT_FALSE(host().cameraControlled());
    EXPECT_EQ(host().recorder.count("XPLMDontControlCamera"), 1u);
}

TEST_F(StopTest, StopLeavesAloneACameraTheSimulatorTookBack) {
    PressY();
    host().pressKey(XPLM_VK_S);
    host().changeView();
    host().recorder.clear();
    plugin.unload();
    EXPECT_EQ(host().recorder.count("XPLMDontControlCamera"), 0u);
}

TEST_F(StartTest, RunsOnAHostThatLacksAnyOneDataref) {
    for (const char* missing : kPaths) {
        host().reset();
        host().removeDataRef(missing);
        std::string error;
        ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
        host().pressKey(XPLM_VK_Y);
        for (int key = 0x53; key <= 0x77; ++key)
            host().pressKey(static_cast<char>(key), 1);
        host().cameraFrame();
        const hostsim::Frame frame = host().drawFrame();
        EXPECT_EQ(frame.boxes.size(), 10u) << missing;
        host().pressKey(XPLM_VK_Y);
        EXPECT_TRUE(host().windows().empty()) << missing;
        plugin.unload();
    }
}

// Load, start, enable, use, disable, stop, unload, thousands of times in one process: after each
// stop the host holds nothing of the plug-in. (Leaks show in the sanitizer build.)
TEST(LifecycleStressTest, ThousandsOfCyclesLeaveNothingBehind) {
    host().reset();
    host().recorder.enabled = false;
    constexpr int kCycles = 2000;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        hostsim::Plugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
        switch (cycle % 4) {
            case 0:  // started and stopped untouched
                break;
            case 1:  // stopped in slew mode
                host().pressKey(XPLM_VK_Y);
                host().pressKey(XPLM_VK_NUMPAD8, xplm_ShiftFlag);
                break;
            case 2:  // stopped holding the camera, slew mode already off
                host().pressKey(XPLM_VK_Y);
                host().pressKey(XPLM_VK_S);
                host().cameraFrame();
                host().pressKey(XPLM_VK_Y);
                break;
            case 3:  // both, after a disable and enable
                host().pressKey(XPLM_VK_Y);
                host().pressKey(XPLM_VK_S);
                plugin.XPluginDisable();
                plugin.XPluginEnable();
                host().drawFrame();
                break;
        }
        plugin.unload();
        ASSERT_TRUE(host().hotKeys().empty()) << cycle;
        ASSERT_TRUE(host().keySniffers().empty()) << cycle;
        ASSERT_TRUE(host().windows().empty()) << cycle;
        ASSERT_FALSE(host().cameraControlled()) << cycle;
        ASSERT_EQ(host().getInt(kOverride, 0), 0) << cycle;
    }
    EXPECT_EQ(host().misuses, Calls{});
}

TEST(BadLoadTest, EachFailureNamesWhatIsMissingAndLeavesNothingLoaded) {
    host().reset();
    hostsim::Plugin plugin;
    std::string error;

    EXPECT_FALSE(plugin.load("/nonexistent/Trovik.xpl", error));
    EXPECT_EQ(error, "no plug-in file at /nonexistent/Trovik.xpl");
    EXPECT_FALSE(plugin.loaded());

    EXPECT_FALSE(plugin.load(FIXTURE_NO_STOP, error));
    EXPECT_NE(error.find("missing entry point XPluginStop, XPluginReceiveMessage"),
              std::string::npos)
        << error;
    EXPECT_FALSE(plugin.loaded());

    EXPECT_FALSE(plugin.load(FIXTURE_UNRESOLVED, error));
    EXPECT_NE(error.find("XPLMFunctionFromTheFuture"), std::string::npos) << error;
    EXPECT_FALSE(plugin.loaded());

    // A file that is no library at all.
    EXPECT_FALSE(plugin.load(__FILE__, error));
    EXPECT_EQ(error.rfind("cannot load ", 0), 0u) << error;
    EXPECT_TRUE(host().recorder.calls.empty());
}

TEST(BadLoadTest, ReloadingStartsFromCleanModuleState) {
    host().reset();
    for (int cycle = 0; cycle < 3; ++cycle) {
        hostsim::Plugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
        EXPECT_EQ(*static_cast<int*>(plugin.symbol("HotKey_Master")), 0);
        host().pressKey(XPLM_VK_Y);
        EXPECT_EQ(host().windows().size(), 1u);
        plugin.unload();
        EXPECT_TRUE(host().windows().empty());
        EXPECT_TRUE(host().hotKeys().empty());
        EXPECT_EQ(host().getInt(kOverride, 0), 0);
    }
}

}  // namespace
}  // namespace trovik_test
