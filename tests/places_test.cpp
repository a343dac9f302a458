// Back to where slew mode began, and the nine places: saved, gone to, kept in the file and named
// in the menu.
#include <fstream>

#include "support.h"

namespace trovik_test {
namespace {

class PlacesTest : public PluginTest {
  protected:
    // A float as the recorder spells it: equal strings, equal bits.
    static std::string Arg(float v) { return hostsim::Arg::Float(v).str(); }
    static void Run(const std::string& command) {
        host().commands.once(host().commands.find("trovik/" + command));
    }
    static void Key(int key, int flags = 0) {
        host().display.keyEvent(0, xplm_DownFlag | flags, static_cast<char>(key));
    }
    static double Get(const char* what) { return host().datarefs.getDouble(Pos(what)); }
    static float Angle(const char* what) { return host().datarefs.getFloat(Pos(what)); }
    static const hostsim::MenuItem& Item(const std::string& name) {
        const hostsim::MenuItem* item = host().commands.findMenuItem(name);
        EXPECT_NE(item, nullptr) << name;
        static const hostsim::MenuItem kNone;
        return item != nullptr ? *item : kNone;
    }
};

TEST_F(PlacesTest, BackToStartExactlyAndAcrossAMoveOfTheOrigin) {
    Place(100.25, 1500.5, -200.75, 1068.0f, 30.0f, 2.5f, -1.25f);
    DownY();
    Key(XPLM_VK_NUMPAD8, xplm_ShiftFlag);
    Key(XPLM_VK_F4);
    Key(XPLM_VK_NUMPAD3, xplm_ShiftFlag);
    Key(XPLM_VK_F5);
    Run("back_to_start");
    EXPECT_EQ(Get("local_x"), 100.25);
    EXPECT_EQ(Get("local_y"), 1500.5);
    EXPECT_EQ(Get("local_z"), -200.75);
    EXPECT_EQ(Angle("psi"), 30.0f);
    EXPECT_EQ(Angle("theta"), 2.5f);
    EXPECT_EQ(Angle("phi"), -1.25f);
    // The simulator re-centres 20 km east and 35 km north: the start is as far the other way.
    Key(XPLM_VK_NUMPAD8, xplm_ShiftFlag);
    host().coordinates.moveOrigin(20000.0, -35000.0);
    Run("back_to_start");
    EXPECT_NEAR(Get("local_x"), -19899.75, 1e-3);
    EXPECT_NEAR(Get("local_y"), 1500.5, 1e-3);
    EXPECT_NEAR(Get("local_z"), 34799.25, 1e-3);
    EXPECT_EQ(Angle("psi"), 30.0f);
    // Out of slew mode it does nothing, and its item cannot be picked.
    DownY();
    EXPECT_FALSE(Item("Back to start").enabled);
    host().recorder.clear();
    Run("back_to_start");
    EXPECT_EQ(Effects(), Calls{});
}

TEST_F(PlacesTest, SavedInTheAirOrStandingAndGoneToFromEitherMode) {
    // A slope rising 1 in 10 to the north: 430 m at (10, 20).
    host().terrain.loaded = true;
    host().terrain.elevation = 432.0;
    host().terrain.grade = 0.1;
    host().navigation.airports = {{"LSZH", "Zurich", 47.4647f, 8.5492f, 432.0f}};
    // Standing with a rest height of 1.5 m, measured at slew mode on.
    host().flightModel.restHeight = 1.5;
    Place(10.0, 431.5, 20.0, 1.5f, 90.0f, 0.0f, 0.0f);
    host().datarefs.setInt(hostsim::paths::kOnGround, 0, 1);
    DownY();
    Run("save_place_2");
    EXPECT_EQ(Item("Go to 2: LSZH").enabled, true);
    EXPECT_FALSE(Item("Go to 5 (empty)").enabled);
    // In the air, out of slew mode.
    DownY();
    Place(-500.0, 2000.0, 700.0, 1568.0f, 180.0f, 5.0f, -10.0f);
    Run("save_place_1");
    EXPECT_EQ(HotKeyMaster(), 0);
    // Another aircraft, 2 m on its wheels: a standing place takes the new rest height.
    plugin.sendMessage(XPLM_MSG_PLANE_LOADED);
    host().flightModel.restHeight = 2.0;
    Place(0.0, 434.0, 0.0, 2.0f);
    DownY();
    Run("go_to_place_2");
    EXPECT_NEAR(Get("local_x"), 10.0, 1e-6);
    EXPECT_EQ(Get("local_y"), 432.0);
    EXPECT_NEAR(Get("local_z"), 20.0, 1e-6);
    EXPECT_EQ(Angle("psi"), 90.0f);
    // Where the probe answers the sea (scenery not loaded there yet): the height it was saved at.
    host().terrain.loadedX = 5000.0;
    host().terrain.loadedRadius = 100.0;
    Run("go_to_place_2");
    EXPECT_NEAR(Get("local_y"), 431.5, 1e-9);
    // From out of slew mode: slew mode comes on first, as Y would, and the menu shows it.
    DownY();
    Run("go_to_place_1");
    EXPECT_EQ(HotKeyMaster(), 1);
    EXPECT_EQ(Item("Slew mode").check, xplm_Menu_Checked);
    EXPECT_NEAR(Get("local_x"), -500.0, 1e-6);
    EXPECT_NEAR(Get("local_y"), 2000.0, 1e-9);
    EXPECT_EQ(Angle("phi"), -10.0f);
    // An empty place: nothing.
    host().recorder.clear();
    Run("go_to_place_5");
    EXPECT_EQ(Effects(), Calls{});
    EXPECT_EQ(host().recorder.misuses, Calls{});
}

TEST_F(PlacesTest, NinePlacesKeptInTheFileWithTheLinesAroundThem) {
    const std::string file = host().utilities.prefsFolder + "/" + hostsim::paths::kSettingsFile;
    std::ofstream(file, std::ios::binary)
        << "# mine\n"
           "place_3 47.464722000 8.549167000 433.500 432.000 30.000 0.000 0.000 1 "
           "LSZH\n"
           "what is this\n"
           "place_4 91.000000000 0 0 - 0 0 0 0 -\n"
           "place_5 47.000000000 8.000000000 500.000 - 1.000 2.000 3.000 0 -\n";
    StopAndStart();
    EXPECT_EQ(
        host().utilities.log,
        Calls{"Trovik: " + file + ": line 3 and 1 more are not settings; they are ignored\n"});
    EXPECT_TRUE(Item("Go to 3: LSZH").enabled);
    EXPECT_FALSE(Item("Go to 4 (empty)").enabled) << "latitude 91";
    EXPECT_TRUE(Item("Go to 5").enabled) << "no airport";
    Place(0.0, 1000.0, 0.0, 1000.0f);
    for (int n = 1; n <= 9; ++n)
        Run("save_place_" + std::to_string(n));
    StopAndStart();
    for (int n = 1; n <= 9; ++n)
        EXPECT_TRUE(Item("Go to " + std::to_string(n)).enabled) << n;
    const std::string text = FileText(file);
    EXPECT_EQ(text.rfind("# mine\nplace_3 47.464722000 8.549167000 1000.000 0.000 0.000 2.500 "
                         "-1.250 0 -\nwhat is this\nplace_4 91.000000000 0 0 - 0 0 0 0 -\n",
                         0),
              0u)
        << text;
}

// The state other plug-ins read: in and out of slew mode, at every speed factor; the browsers
// present told once, at the first frame; nothing left after stop, start after start.
TEST_F(PlacesTest, StateForOtherPlugInsAndTheBrowsersToldOnce) {
    const XPLMPluginID editor = host().plugins.add("xplanesdk.examples.DataRefEditor");
    StopAndStart();
    const auto read = [] {
        std::string s;
        for (const char* name : {"trovik/slew_mode", "trovik/joystick_slew", "trovik/place_count"})
            s += std::to_string(XPLMGetDatai(XPLMFindDataRef(name))) + " ";
        for (const char* name : {"trovik/speed_factor", "trovik/rest_height"})
            s += Arg(XPLMGetDataf(XPLMFindDataRef(name))) + " ";
        return s;
    };
    EXPECT_EQ(read(), "0 1 0 1 0 ");
    host().flightModel.restHeight = 1.25;
    host().datarefs.setInt(hostsim::paths::kOnGround, 0, 1);
    Place(0.0, 1.25, 0.0, 1.25f);
    DownY();
    Run("save_place_4");
    Run("joystick");
    EXPECT_EQ(read(), "1 0 1 1 1.25 ");
    const char* const factors[] = {"0.125", "0.25", "0.5", "1", "2", "4", "8", "16"};
    for (int i = 0; i < 4; ++i)
        Run("slower");
    for (const char* factor : factors) {
        EXPECT_EQ(Arg(XPLMGetDataf(XPLMFindDataRef("trovik/speed_factor"))), factor);
        Run("faster");
    }
    // Nothing told before the first frame, then each name once, to the browser there only.
    const hostsim::OtherPlugin& browser = host().plugins.others.at(0);
    EXPECT_EQ(browser.id, editor);
    Frame();
    Frame();
    Calls told;
    for (const auto& [message, name] : browser.messages)
        told.push_back(std::to_string(message) + " " + name);
    EXPECT_EQ(told, Calls({"16777216 trovik/slew_mode", "16777216 trovik/joystick_slew",
                           "16777216 trovik/speed_factor", "16777216 trovik/rest_height",
                           "16777216 trovik/place_count"}));
    for (int cycle = 0; cycle < 3; ++cycle) {
        StopAndStart([] { EXPECT_EQ(host().datarefs.registered(), Calls{}); });
        EXPECT_EQ(host().datarefs.registered().size(), 5u);
    }
    EXPECT_EQ(host().recorder.misuses, Calls{});
}

}  // namespace
}  // namespace trovik_test
