// trovik-sim: its key scripts and options, and flights through the built plug-in.
#include <sstream>

#include "sim/svg.h"
#include "sim_support.h"

namespace trovik_test {
namespace {

using trovik_sim::KeyStep;

TEST(KeyScriptTest, ScriptsHaveCommentsCommandsAndNumberedErrors) {
    std::vector<KeyStep> steps;
    std::string error;
    ASSERT_TRUE(trovik_sim::ParseKeyScript(
        "y 8x20, shift+6\n# a comment F99\ncmd:trovik/toggle HOLD:trovik/up_fast:30 "
        "menu:\"Top-down view\" # menu:\"x\"\nmenu:Slew quick+shift+8x2 stick:-1/0.5/0:30@20",
        steps, error))
        << error;
    Calls shown;
    for (const KeyStep& s : steps) {
        shown.push_back(s.name + " x" + std::to_string(s.repeat) + (s.modifiers ? " shift" : "") +
                        (s.sameFrame ? " quick" : ""));
    }
    EXPECT_EQ(shown, Calls({"Y x1", "numpad 8 x20", "numpad 6 x1 shift", "cmd trovik/toggle x1",
                            "hold trovik/up_fast x30", "menu Top-down view x1", "menu Slew x1",
                            "numpad 8 x2 shift quick", "stick -1/0.5/0:30@20 x30"}));
    EXPECT_EQ(steps[0].character, 'y');
    EXPECT_EQ(steps[8].stick[1], 0.5f);

    std::istringstream words(
        "F0 F13 F01 num10 shift+ shift+view 8x0 8x10001 8x99999999999 x5 ctrl+8 8x numpad8 "
        "shift+shift+8 quick+view cmd: hold:trovik/up hold:trovik/up:0 hold:trovik/up:10001 "
        "menu:\"\" menu:a\"b\" stick:1.5/0/0:10 stick:-1/0:10 stick:nan/0/0:10 stick:0/0/0:0 "
        "stick:0/0/0:10@0 stick:0/0/0:10@30x");
    for (std::string word; words >> word;) {
        EXPECT_FALSE(trovik_sim::ParseKeyScript(std::string("Y ") + word, steps, error)) << word;
        EXPECT_EQ(error.rfind("step 2: ", 0), 0u) << word << ": " << error;
        EXPECT_NE(error.find(word), std::string::npos) << word << ": " << error;
    }
    EXPECT_FALSE(trovik_sim::ParseKeyScript("Y menu:\"Top-down view", steps, error));
    EXPECT_EQ(error, "step 2: a quote is not closed");
    EXPECT_FALSE(trovik_sim::ParseKeyScript(" # nothing\n", steps, error));
    EXPECT_EQ(error, "the key script is empty");

    // What the error quotes: a bad count named as such, bytes a terminal would hide or act on
    // escaped, a NUL named, a long word cut short.
    const std::pair<std::string, std::string> bad[] = {
        {"Y 8x-1", "step 2: bad repeat count in '8x-1': KEYxN repeats a key N times, 1 to 10000"},
        {"Y \xC3\xA9 8", "step 2: unknown key '\\xC3\\xA9' (keys: "},
        {"Y \x1B[2J", "step 2: unknown key '\\x1B[2J' (keys: "},
        {std::string("Y 8\0 8", 5), "step 2: a NUL byte after '8' (is the script a text file?)"},
        {"Y " + std::string(1000, 'Q'), "step 2: unknown key 'QQQQQQQQQQ"},
    };
    for (const auto& [script, message] : bad) {
        EXPECT_FALSE(trovik_sim::ParseKeyScript(script, steps, error));
        EXPECT_EQ(error.substr(0, message.size()), message);
    }
    EXPECT_EQ(error.substr(76, 22), "QQQQQ...' (1000 bytes)");
}

TEST(SimArgsTest, OptionsAndTheirErrors) {
    trovik_sim::Options o;
    std::string error;
    ASSERT_TRUE(trovik_sim::ParseArgs(
        {"--screen", "1366x768", "--down-only", "--svg", "a.svg", "Y", "menu:Top-down view"},
        "def.xpl", o, error));
    EXPECT_EQ(o.screenWidth, 1366);
    EXPECT_EQ(o.screenHeight, 768);
    EXPECT_TRUE(o.downOnly);
    EXPECT_EQ(o.svgPath, "a.svg");
    EXPECT_EQ(o.xpl, "def.xpl");
    EXPECT_EQ(o.script, "Y menu:\"Top-down view\" ") << "the quotes the shell took off, back";

    for (const char* size : {"0x100", "1920", "1920x1080x3", "70000x10"}) {
        EXPECT_FALSE(trovik_sim::ParseArgs({"--screen", size}, "d", o, error)) << size;
        EXPECT_EQ(error.rfind("bad screen size", 0), 0u) << error;
    }
    EXPECT_FALSE(trovik_sim::ParseArgs({"--fly"}, "d", o, error));
    EXPECT_EQ(error, "unknown option '--fly' (see --help)");
}

class SimRunTest : public SimFlight {};

TEST_F(SimRunTest, FinalStateAndOverlayAreExact) {
    // Level sets heading 360; Shift+8 then moves 5 m north an event, four events.
    Fly("Y 5 shift+8x2 F4 F6 9 S Y");
    // Where slew mode left it: let go 6 m up at rest, it falls from the next frame on.
    const trovik_sim::State& end = result.steps.end()[-2].after;
    EXPECT_EQ(BitsOf(end.x), BitsOf(3.496911176625872e-06));
    EXPECT_EQ(end.z, -20.0);
    EXPECT_EQ(end.y, 438.0);
    EXPECT_EQ(end.agl, 6.0f);
    EXPECT_EQ(end.theta, 2.0f);
    EXPECT_EQ(end.phi, 1.0f);
    EXPECT_EQ(end.view.y, 738.0f);
    const trovik_sim::State& off = result.steps.back().after;
    EXPECT_EQ(off.pathOverride, 0);
    EXPECT_FALSE(off.overlay);
    EXPECT_TRUE(off.camera) << "slew mode off does not end the top-down view";
    EXPECT_LT(off.y, 438.0);

    ASSERT_EQ(result.screenStep, 7);
    // 20 m north of 47.464722 on a 6371 km sphere; 438 m is 1437 ft; 360 true is 357 magnetic.
    ASSERT_EQ(result.screen.texts.size(), 3u);
    EXPECT_EQ(result.screen.texts[0].text,
              "Lat: 47.464902   Lon: 8.549167   Alt: 1437 ft. MSL   Mag:357 Deg");
    EXPECT_EQ(result.screen.texts[2].text, "AGL 20 ft") << "6 m over the runway";

    Fly("Y F4x3 S view", /*downOnly=*/true);
    EXPECT_EQ(result.steps[1].events, 3);
    EXPECT_EQ(result.steps[1].after.y, 441.0);
    EXPECT_FALSE(result.steps[3].after.camera);
}

TEST_F(SimRunTest, LetGoInTheAirItFliesOnOrFallsOntoWhatIsUnderIt) {
    using Kind = trovik_sim::StartPlace::Kind;
    // Faster than its 50 kt stall: kept (120 kt is 61.733 m/s), and it flies on level.
    options.place = {Kind::kAir, 300, 120};
    Fly("Y Y wait:60");
    EXPECT_NEAR(result.steps[1].after.speed, 61.733, 1e-3);
    EXPECT_EQ(result.steps[2].after.y, result.steps[1].after.y);
    // Slower, 300 m up: 1.3 times the stall speed, true in the air at 732 m (1.1412 kg/m3).
    options.place = {Kind::kAir, 300, 30};
    Fly("Y Y wait:60");
    EXPECT_NEAR(result.steps[1].after.speed, 34.645, 0.01);
    EXPECT_NEAR(result.steps[2].after.y, result.steps[1].after.y, 0.01);
    // At rest 20 m up: not launched. It falls, and stands on the ground; over a bridge, let go
    // 10 m above the deck, on the deck.
    options.place = {Kind::kAir, 20, 0};
    Fly("Y Y wait:150");
    EXPECT_EQ(result.steps.back().after.y, 432.0);
    EXPECT_EQ(result.steps.back().after.speed, 0.0);
    options.place = {Kind::kBridge, 0, 0};
    Fly("Y F4x3 Y wait:120");
    EXPECT_EQ(result.steps[1].after.y, 450.0);
    EXPECT_EQ(result.steps.back().after.y, 440.0);
}

TEST_F(SimRunTest, TheStickFliesAtItsRateUntilLetGoAndTheTrackKeepsEveryFrame) {
    Fly("Y 5 stick:-1/0/0:30@30 stick:0/0/1:15");
    const trovik_sim::StepResult& ahead = result.steps[2];
    // Full forward for a second, due north: 100 m.
    EXPECT_NEAR(ahead.after.z, -100.0, 1e-4);
    EXPECT_NEAR(ahead.after.x, 0.0, 1e-4);
    ASSERT_EQ(ahead.path.size(), 31u) << "30 frames held, one let go";
    EXPECT_EQ(ahead.path[29].z, ahead.path[30].z) << "let go, it stops";
    EXPECT_NEAR(ahead.path[14].z, -50.0, 1e-4);
    // Full right rudder for a quarter of a second at 60 frames a second: 11.25 degrees past north.
    EXPECT_NEAR(result.steps[3].after.psi, 11.25f, 1e-4);
}

// The plug-in reads the height above ground the simulator works out once a frame.
// Where the probe finds no scenery, the plug-in reads the height above ground the simulator works
// out once a frame; where it finds the ground, every event probes afresh.
TEST_F(SimRunTest, ATapsReleaseSeesTheHeightItsPressLeftAQuickTapsOnlyWhereTheProbeMisses) {
    const struct {
        const char* script;
        double y;
        float agl;
    } taps[] = {
        // Up 3 m; F1's press descends 3 m onto the ground, its release nothing. Quick, the
        // release reads the height before the press, 3 m: down another 3 m.
        {"Y cmd:trovik/up_fast F1", 432.0, 0.0f},
        {"Y cmd:trovik/up_fast quick+F1", 429.0, -3.0f},
        {"Y cmd:trovik/up F2", 432.0, 0.0f},
        {"Y cmd:trovik/up quick+F2", 431.89999389648438, -0.100006104f},
        // A move along the ground puts it back.
        {"Y cmd:trovik/up quick+F2 8", 432.0, 0.0f},
    };
    for (const char* terrain : {"none", "flat"}) {
        ASSERT_TRUE(trovik_sim::ParseGround(terrain, options.ground));
        for (const auto& tap : taps) {
            Fly(tap.script);
            const bool probed = options.ground.kind != trovik_sim::GroundShape::Kind::kNone;
            const std::string script = tap.script;
            const size_t quick = script.rfind("quick");
            // With the ground probed, a quick tap ends where the slow one does.
            const auto& slow = probed && quick != std::string::npos && quick > script.rfind(' ')
                                   ? (&tap)[-1]
                                   : tap;
            EXPECT_EQ(result.steps.back().after.y, slow.y) << tap.script << " " << terrain;
            EXPECT_EQ(result.steps.back().after.agl, slow.agl) << tap.script << " " << terrain;
        }
    }
}

TEST_F(SimRunTest, ABoundButtonAndTheMenuFlyAsTheKeysDo) {
    // Begin, the key's 5 m step north, then three frames of 1/60 s at 50 m/s: 7.5 m. Menu items
    // are found whatever their capitals.
    Fly("cmd:trovik/toggle cmd:trovik/level hold:trovik/forward_fast:3 menu:\"Top-down view\" "
        "menu:\"SLEW MODE\" menu:\"top-down VIEW\"");
    const trovik_sim::State& end = result.steps.back().after;
    EXPECT_NEAR(end.z, -7.5, 1e-5);  // the frames' 1/60 s is a float
    EXPECT_EQ(result.steps[3].after.psi, 360.0f);
    EXPECT_TRUE(result.steps[3].after.camera);
    EXPECT_EQ(end.pathOverride, 0) << "Slew mode picked again: off";
    EXPECT_EQ(result.steps[5].note, "greyed out");
    EXPECT_EQ(result.menuTitle, "Trovik");
    ASSERT_EQ(result.menu.size(), 11u);
    EXPECT_EQ(result.menu[0].check, xplm_Menu_Checked) << "as with the screen, after step 4";

    // The choices by their menu items and their commands: one step per tap, then the keys left
    // to the simulator, so that 8 moves nothing while the command still does.
    Fly("menu:\"One step per tap\" Y 5 shift+8 cmd:trovik/slew_keys shift+8 "
        "cmd:trovik/forward_fast");
    EXPECT_EQ(result.steps[3].after.z, -5.0) << "a tap, one step";
    EXPECT_EQ(result.steps[5].after.z, -5.0) << "the keys left to the simulator";
    EXPECT_EQ(result.steps[6].after.z, -10.0);
    EXPECT_TRUE(result.menu[5].separator);
    EXPECT_EQ(result.menu[6].check, xplm_Menu_Checked);
    EXPECT_EQ(result.menu[7].check, xplm_Menu_Unchecked);

    // Back to start across a move of the origin: the report keeps to the start's frame, and the
    // picture marks where slew mode began and the place saved.
    Fly("Y shift+8x2 cmd:trovik/save_place_1 shift+8x2 origin:20000/-35000 "
        "cmd:trovik/back_to_start");
    EXPECT_NEAR(result.steps[4].after.x, result.steps[3].after.x, 1e-6)
        << "the origin moved, not the aircraft";
    EXPECT_NEAR(result.steps.back().after.x, 0.0, 1e-6);
    EXPECT_NEAR(result.steps.back().after.z, 0.0, 1e-6);
    const std::string svg = trovik_sim::RenderSvg(result, options);
    EXPECT_NE(svg.find("data-mark=\"slew on\""), std::string::npos);
    EXPECT_NE(svg.find("data-mark=\"P1\""), std::string::npos);
}

TEST(SvgTest, TextIsEscaped) {
    EXPECT_EQ(trovik_sim::XmlEscape("a<b>&\"c'\x01"), "a&lt;b&gt;&amp;&quot;c&apos;");
}

}  // namespace
}  // namespace trovik_test
