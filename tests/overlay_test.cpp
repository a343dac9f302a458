// The overlay: its bands, its text and the label, as drawn in a frame.
#include <cmath>
#include <cstdio>

#include "support.h"

namespace trovik_test {
namespace {

class OverlayTest : public PluginTest {
  protected:
    void SetPosition(double lat, double lon, double elevation, float magPsi) {
        host().datarefs.setDouble(Pos("latitude"), lat);
        host().datarefs.setDouble(Pos("longitude"), lon);
        host().datarefs.setDouble(Pos("elevation"), elevation);
        host().datarefs.setFloat(Pos("mag_psi"), magPsi);
    }
    std::string Line() { return host().display.drawFrame().texts.at(0).text; }
};

TEST_F(OverlayTest, OneFrameReadsDrawsBandsThenTextThenLabelInOrder) {
    SetPosition(47.5, 8.25, 432.6, 123.5f);
    PressY();
    host().recorder.clear();
    host().display.drawFrame();

    const std::string id = hostsim::Arg::Pointer(host().display.windows.at(0).id).str();
    Calls expected = {
        "XPLMGetDatad(sim/flightmodel/position/latitude) = 47.5",
        "XPLMGetDatad(sim/flightmodel/position/longitude) = 8.25",
        "XPLMGetDatad(sim/flightmodel/position/elevation) = 432.60000000000002",
        "XPLMGetDataf(sim/flightmodel/position/mag_psi) = 123.5",
        "XPLMGetWindowGeometry(" + id + ", 0, 1080, 1920, 0)",
    };
    for (int i = 0; i < 5; ++i) {
        expected.push_back("XPLMDrawTranslucentDarkBox(0, 1080, 1920, 1050)");
        expected.push_back("XPLMDrawTranslucentDarkBox(0, 50, 1920, 0)");
    }
    expected.push_back(
        "XPLMDrawString(rgb(1, 0, 0), 20, 1062, \"Lat: 47.500000   Lon: 8.250000   Alt: 1419 ft. "
        "MSL   Mag:124 Deg\", null, 0)");
    expected.push_back("XPLMDrawString(rgb(1, 1, 1), 940, 20, \"Slew Mode\", null, 0)");
    expected.push_back("XPLMDrawString(rgb(1, 1, 1), 1060, 20, \"AGL 0 ft\", null, 0)");
    EXPECT_EQ(host().recorder.strings(), expected);
}

// The wheels' height: found at slew mode on and by every move and descent (the probe before the
// simulator's height above ground), plus the climbs since; in feet, rounded, never "-0"; nothing
// while no ground is known. A draw never probes.
TEST_F(OverlayTest, TheWheelsHeightAsLastFoundPlusTheClimbsSince) {
    const auto agl = [] {
        host().recorder.clear();
        const hostsim::Frame f = host().display.drawFrame();
        EXPECT_EQ(host().recorder.count("XPLMProbeTerrainXYZ"), 0u);
        if (f.texts.size() < 3)
            return std::string("none");
        return f.texts[2].text + " at " + std::to_string(f.texts[2].x) + " " +
               std::to_string(f.texts[2].y);
    };
    const auto key = [](int vk) {
        host().display.keyEvent(0, xplm_DownFlag, static_cast<char>(vk));
    };
    host().datarefs.setInt(hostsim::paths::kOnGround, 0, 0);
    host().terrain.loaded = true;
    host().terrain.elevation = 432.0;
    Place(0, 435, 0, 99.0f);
    PressY();
    EXPECT_EQ(agl(), "AGL 10 ft at 1060 20") << "3 m";
    key(XPLM_VK_F4);
    EXPECT_EQ(agl(), "AGL 20 ft at 1060 20") << "climbed 3 m, unprobed";
    key(XPLM_VK_F1);
    EXPECT_EQ(agl(), "AGL 10 ft at 1060 20") << "6 m found, 3 m down";
    Place(0, 732, 0, 99.0f);
    EXPECT_EQ(agl(), "AGL 10 ft at 1060 20") << "not found again by a draw";
    key(XPLM_VK_NUMPAD8);
    EXPECT_EQ(agl(), "AGL 984 ft at 1060 20") << "300 m";
    PressY();
    Place(0, 431.9, 0, 99.0f);
    PressY();
    EXPECT_EQ(agl(), "AGL 0 ft at 1060 20") << "0.1 m below: -0.33 ft";
    PressY();
    host().terrain.loaded = false;
    Place(0, 435, 0, NAN);
    PressY();
    EXPECT_EQ(agl(), "none");
    key(XPLM_VK_F4);
    EXPECT_EQ(agl(), "none") << "a climb from nothing known";
    PressY();
    // In the headset, on the panel's second line.
    host().display.vr = true;
    host().datarefs.setInt("sim/graphics/VR/enabled", 0, 1);
    Place(0, 435, 0, 3.0f);
    PressY();
    EXPECT_EQ(agl(), "AGL 10 ft at 5160 3012");
}

// The window's bounds, and what a draw makes of them: the top band, the position line's x and
// y, the label's x and y.
std::string Drawn() {
    const hostsim::Frame f = host().display.drawFrame();
    const hostsim::Window& w = host().display.windows.at(0);
    char s[160];
    std::snprintf(s, sizeof s, "window %d %d %d %d; band %d %d %d %d; line %d %d; label %d %d",
                  w.left, w.top, w.right, w.bottom, f.boxes.at(0).left, f.boxes.at(0).top,
                  f.boxes.at(0).right, f.boxes.at(0).bottom, f.texts.at(0).x, f.texts.at(0).y,
                  f.texts.at(1).x, f.texts.at(1).y);
    return s;
}

TEST_F(OverlayTest, TheBandsCoverTheMainMonitorInBoxelsAtAnyScaleAndLayout) {
    hostsim::Display& d = host().display;
    const struct {
        const char* what;
        double scale;
        std::vector<hostsim::Box> monitors;
        bool windowed;
        const char* drawn;
    } cases[] = {
        // 1920 x 1080 pixels at 150 % are 1280 x 720 boxels; at 200 %, 960 x 540.
        {"150 %",
         1.5,
         {},
         false,
         "window 0 720 1280 0; band 0 720 1280 690; line 20 702; label 620 20"},
        {"200 %",
         2.0,
         {},
         false,
         "window 0 540 960 0; band 0 540 960 510; line 20 522; label 460 20"},
        // The main monitor left of the other, and above it.
        {"left",
         1.0,
         {{-1920, 1080, 0, 0}, {0, 1080, 1920, 0}},
         false,
         "window -1920 1080 0 0; band -1920 1080 0 1050; line -1900 1062; label -980 20"},
        {"above",
         1.0,
         {{0, 2160, 1920, 1080}, {0, 1080, 1920, 0}},
         false,
         "window 0 2160 1920 1080; band 0 2160 1920 2130; line 20 2142; label 940 1100"},
        // X-Plane in a window: the bands are inside it.
        {"windowed",
         1.0,
         {},
         true,
         "window 100 900 1300 100; band 100 900 1300 870; line 120 882; label 680 120"},
    };
    for (const auto& c : cases) {
        d.uiScale = c.scale;
        d.monitors = c.monitors;
        d.windowed = c.windowed;
        PressY();
        EXPECT_EQ(Drawn(), c.drawn) << c.what;
        PressY();
    }
    // Read again at every draw: the window moved, the bands with it.
    d.uiScale = 1.0;
    d.monitors.clear();
    d.windowed = false;
    PressY();
    hostsim::Window& w = host().display.windows.at(0);
    w.right = 801;
    w.top = 601;
    EXPECT_EQ(Drawn(), "window 0 601 801 0; band 0 601 801 571; line 20 583; label 380 20");
}

TEST_F(OverlayTest, ClicksPassThroughTheOverlayToTheWindowBelow) {
    // Another plug-in's window, under ours in the same layer, decorated: it takes what it gets.
    static int clicks = 0;
    XPLMCreateWindow_t other{};
    other.structSize = sizeof other;
    other.left = 0, other.top = 1080, other.right = 1920, other.bottom = 0, other.visible = 1;
    other.drawWindowFunc = [](XPLMWindowID, void*) {};
    other.handleMouseClickFunc = [](XPLMWindowID, int, int, XPLMMouseStatus m, void*) {
        clicks += m == xplm_MouseDown;
        return 1;
    };
    other.handleRightClickFunc = other.handleMouseClickFunc;
    other.handleKeyFunc = [](XPLMWindowID, char, XPLMKeyFlags, char, void*, int) {};
    other.handleCursorFunc = [](XPLMWindowID, int, int, void*) { return 0; };
    other.handleMouseWheelFunc = [](XPLMWindowID, int, int, int, int, void*) { return 0; };
    other.decorateAsFloatingWindow = 1;
    const XPLMWindowID below = XPLMCreateWindowEx(&other);
    PressY();
    // In the top band, the bottom band and the middle; whether the simulator asks an undecorated
    // window at all or not.
    for (const bool asked : {false, true}) {
        host().display.undecoratedClicks = asked;
        for (const auto& [x, y] : {std::pair{30, 1070}, std::pair{960, 10}, std::pair{960, 540}})
            EXPECT_EQ(host().display.click(x, y), below) << x << ", " << y << " " << asked;
    }
    EXPECT_EQ(clicks, 6);
    PressY();
    XPLMDestroyWindow(below);
}

TEST_F(OverlayTest, InVRAPanelInTheHeadsetAndNeverTwoWindows) {
    hostsim::Display& d = host().display;
    const auto vr = [&](bool on) {
        plugin.sendMessage(on ? XPLM_MSG_ENTERED_VR : XPLM_MSG_EXITING_VR, 0, 0);
        d.vr = on;
        host().datarefs.setInt("sim/graphics/VR/enabled", 0, on ? 1 : 0);
    };
    // The panel: 600 x 60 boxels wherever the headset puts it (here at 5000, 3000).
    const char* panel =
        "window 0 1080 1920 0; band 5000 3060 5600 3000; line 5010 3038; label 5010 3012";
    const char* screen = "window 0 1080 1920 0; band 0 1080 1920 1050; line 20 1062; label 940 20";
    vr(true);
    PressY();
    ASSERT_EQ(d.windows.size(), 1u);
    EXPECT_EQ(d.windows[0].positioning, xplm_WindowVR);
    EXPECT_EQ(Drawn(), panel);
    vr(false);
    EXPECT_EQ(Drawn(), screen);
    vr(true);
    EXPECT_EQ(Drawn(), panel);
    EXPECT_EQ(d.windows.size(), 1u);
    PressY();
    EXPECT_TRUE(d.windows.empty());
    // Another plug-in's word is not the simulator's.
    PressY();
    plugin.sendMessage(XPLM_MSG_EXITING_VR, 0, hostsim::Plugin::kAnotherPlugin);
    EXPECT_EQ(d.windows[0].positioning, xplm_WindowVR);
    PressY();
    EXPECT_EQ(host().recorder.misuses, Calls{});
}

TEST_F(OverlayTest, OnX_Plane11_10TheScreenWindowAndNoVRCall) {
    host().utilities.xplm301 = false;
    StopAndStart();
    host().datarefs.setInt("sim/graphics/VR/enabled", 0, 1);
    host().recorder.clear();
    PressY();
    plugin.sendMessage(XPLM_MSG_ENTERED_VR, 0, 0);
    EXPECT_EQ(host().display.windows.at(0).positioning, xplm_WindowFullScreenOnMonitor);
    EXPECT_EQ(host().recorder.count("XPLMSetWindowGeometryVR"), 0u);
    EXPECT_EQ(host().recorder.misuses, Calls{});
}

// Signs kept, feet and degrees rounded; absurd values cut the line instead of overrunning it.
TEST_F(OverlayTest, SignsAreKeptAndAbsurdValuesCutTheLine) {
    PressY();
    SetPosition(-33.946111, -122.3, -3.048, 359.6f);
    EXPECT_EQ(Line(), "Lat: -33.946111   Lon: -122.300000   Alt: -10 ft. MSL   Mag:360 Deg");
    SetPosition(-1e300, 1e300, -1.7976931348623157e308, -3.4e38f);
    const std::string text = Line();
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(195), "809005936895323497079994508111903896764088007465274278014249");

    SetPosition(NAN, INFINITY, -INFINITY, NAN);
    EXPECT_EQ(Line(), "Lat: nan   Lon: inf   Alt: -inf ft. MSL   Mag:nan Deg");
}

}  // namespace
}  // namespace trovik_test
