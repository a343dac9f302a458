// Start, identity, stop and unload of the built plug-in, and loads that must fail cleanly.
#include <regex>

#include "support.h"

namespace trovik_test {
namespace {

class StartTest : public PluginTest {
  protected:
    StartTest() { loadAtSetUp = false; }
};

TEST_F(StartTest, ReportsIdentityBindsEveryDatarefInOrderAndRegistersKeys) {
    Load();
    EXPECT_EQ(plugin.startResult, 1);
    EXPECT_EQ(plugin.enableResult, 1);
    // The host hands over buffers full of non-zero bytes: these match only with a terminator.
    EXPECT_EQ(plugin.name, "Trovik");
    EXPECT_EQ(plugin.signature, "kervanold.trovik");
    EXPECT_EQ(plugin.description, "Slew mode for X-Plane");

    // Every dataref of the binding table, each looked up once, in its order.
    const auto& calls = host().recorder.calls;
    const size_t n = std::size(trovik_published::kBindings);
    ASSERT_GT(calls.size(), n + 8);
    for (size_t i = 0; i < n; ++i) {
        const std::string path = trovik_published::kBindings[i];
        EXPECT_EQ(calls[i].str(), "XPLMFindDataRef(\"" + path + "\") = " + path);
    }
    // Y on key-down with no modifier, a sniffer that sees keys after the windows do (a text
    // field keeps its keys), and the stick's flight loop after the flight model, left
    // unscheduled; null refcons (the callbacks' addresses are the plug-in's own).
    const std::regex callback("0x[0-9a-f]+");
    EXPECT_EQ(std::regex_replace(calls[n].str(), callback, "fn"),
              "XPLMRegisterHotKey(89, 8, \"Slew mode\", fn, null) = fn");
    EXPECT_EQ(std::regex_replace(calls[n + 1].str(), callback, "fn"),
              "XPLMRegisterKeySniffer(fn, 0, null) = 1");
    EXPECT_EQ(std::regex_replace(calls[n + 2].str(), callback, "fn"),
              "XPLMCreateFlightLoop({24, 1, fn, null}) = fn");
    EXPECT_EQ(std::regex_replace(calls[n + 3].str(), callback, "fn"), "XPLMCreateProbe(0) = fn");
    // The VR window's function, only from an XPLM 301 host that has it.
    EXPECT_EQ(calls[n + 4].str(), "XPLMGetVersions(12100, 410)");
    EXPECT_EQ(std::regex_replace(calls[n + 5].str(), callback, "fn"),
              "XPLMFindSymbol(\"XPLMSetWindowGeometryVR\") = fn");
    // The settings, read from the preferences folder with native paths.
    EXPECT_EQ(calls[n + 6].str(), "XPLMEnableFeature(\"XPLM_USE_NATIVE_PATHS\", 1)");
    EXPECT_EQ(calls[n + 7].str(), "XPLMGetPrefsPath()");
    EXPECT_EQ(calls[n + 8].fn, "XPLMCreateCommand");
    // Slew mode's loop waits; the one that tells the dataref browsers runs at the next frame.
    ASSERT_EQ(host().loops.loops.size(), 2u);
    EXPECT_FALSE(host().loops.loops[0].scheduled);
    EXPECT_TRUE(host().loops.loops[1].scheduled);
    EXPECT_EQ(*static_cast<int*>(plugin.symbol("HotKey_Master")), 0);
    EXPECT_TRUE(host().display.windows.empty());

    // Enabling, disabling with slew mode off and messages change nothing.
    host().recorder.clear();
    plugin.disable();
    EXPECT_EQ(plugin.enable(), 1);
    plugin.sendMessage(XPLM_MSG_PLANE_CRASHED);
    EXPECT_EQ(host().recorder.strings(), Calls{});
}

TEST_F(StartTest, StartsOnAHostThatLacksEveryDataref) {
    for (const hostsim::KnownDataRef& known : hostsim::KnownDataRefs())
        host().datarefs.remove(known.path);
    Load();
    EXPECT_EQ(plugin.startResult, 1);
    EXPECT_EQ(host().recorder.calls[0].str(),
              "XPLMFindDataRef(\"sim/operation/override/override_planepath\") = <null>");
    // Null handles read 0 and swallow writes; the plug-in still toggles, slews and draws.
    host().display.pressKey(XPLM_VK_Y);
    host().display.pressKey(XPLM_VK_NUMPAD8, xplm_ShiftFlag);
    EXPECT_EQ(host().display.windows.size(), 1u);
    EXPECT_EQ(host().display.drawFrame().texts.at(0).text,
              "Lat: 0.000000   Lon: 0.000000   Alt: 0 ft. MSL   Mag:0 Deg");
}

class StopTest : public PluginTest {};

// Whatever HotKey_Master says: another plug-in may have cleared it a moment ago.
TEST_F(StopTest, StopInSlewModeReleasesTheAircraftThenClosesTheOverlay) {
    PressY();
    int* master = &HotKeyMaster();
    *master = 0;
    host().recorder.clear();
    plugin.XPluginStop();
    EXPECT_EQ(host().recorder.only({"XPLMSetDatavi", "XPLMDestroyWindow"}).at(0), SetOverride(0));
    EXPECT_EQ(*master, 0);
    plugin.XPluginStop = [] {};  // already stopped: only close the library
}

// Load, use, disable, stop and unload in every state that leaves something to undo: after each
// stop the host holds nothing of the plug-in, and nothing was undone that was not done (the host
// reports any unregistration that does not match its registration, or a camera released that was
// not held).
TEST(LifecycleTest, EveryStopLeavesNothingBehind) {
    host().reset();
    for (int cycle = 0; cycle < 12; ++cycle) {
        hostsim::Plugin plugin;
        std::string error;
        ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
        switch (cycle % 4) {
            case 0:  // started and stopped untouched
                break;
            case 1:  // in slew mode, holding the camera, the stick flying
                host().display.pressKey(XPLM_VK_Y);
                host().display.pressKey(XPLM_VK_S);
                host().datarefs.setFloat(hostsim::paths::kStick[0], -1.0f);
                host().loops.frame(0.1);
                host().loops.frame(0.1);
                break;
            case 2:  // holding the camera, slew mode already off
                host().display.pressKey(XPLM_VK_Y);
                host().display.pressKey(XPLM_VK_S);
                host().camera.frame();
                host().display.pressKey(XPLM_VK_Y);
                break;
            case 3:  // in slew mode, the camera taken back by a view change, after a disable
                host().display.pressKey(XPLM_VK_Y);
                host().display.pressKey(XPLM_VK_S);
                host().camera.changeView();
                plugin.disable();
                plugin.enable();
                host().display.pressKey(XPLM_VK_Y);
                break;
        }
        plugin.unload();
        EXPECT_TRUE(host().display.hotKeys.empty()) << cycle;
        EXPECT_TRUE(host().display.sniffers.empty()) << cycle;
        EXPECT_TRUE(host().display.windows.empty()) << cycle;
        EXPECT_TRUE(host().commands.handlers.empty()) << cycle;
        EXPECT_TRUE(host().terrain.probes.empty()) << cycle;
        ASSERT_EQ(host().commands.menus.size(), 1u) << "only the simulator's Plugins menu";
        EXPECT_TRUE(host().commands.menus[0].items.empty()) << cycle;
        EXPECT_FALSE(host().camera.controlled()) << cycle;
        EXPECT_EQ(host().datarefs.getInt(kOverride, 0), 0) << cycle;
        EXPECT_EQ(host().recorder.misuses, Calls{}) << cycle;
    }
}

TEST(BadLoadTest, EachFailureNamesWhatIsMissingAndLeavesNothingLoaded) {
    host().reset();
    hostsim::Plugin plugin;
    std::string error;

    EXPECT_FALSE(plugin.load("/nonexistent/Trovik.xpl", error));
    EXPECT_EQ(error, "no plug-in file at /nonexistent/Trovik.xpl");
    EXPECT_FALSE(plugin.load(FIXTURE_NO_STOP, error));
    EXPECT_NE(error.find("missing entry point XPluginStop, XPluginReceiveMessage"),
              std::string::npos)
        << error;
    EXPECT_FALSE(plugin.load(FIXTURE_UNRESOLVED, error));
    EXPECT_NE(error.find("XPLMFunctionFromTheFuture"), std::string::npos) << error;
    // A file that is no library at all.
    EXPECT_FALSE(plugin.load(__FILE__, error));
    EXPECT_EQ(error.rfind("cannot load ", 0), 0u) << error;
    EXPECT_FALSE(plugin.loaded());
    EXPECT_TRUE(host().recorder.calls.empty());
}

}  // namespace
}  // namespace trovik_test
