// trovik-sim: its key scripts and an end-to-end flight through the built plug-in.
#include <cmath>

#include "sim/svg.h"
#include "sim_support.h"

namespace trovik_test {
namespace {

using trovik_sim::KeyStep;

TEST(KeyScriptTest, AcceptsWhatAPersonWouldType) {
    struct Case {
        const char* word;
        const char* name;
        int key, modifiers, repeat;
        char character;
    };
    const Case cases[] = {
        {"Y", "Y", 0x59, 0, 1, 'y'},
        {"y", "Y", 0x59, 0, 1, 'y'},
        {"S", "S", 0x53, 0, 1, 's'},
        {"shift+s", "S", 0x53, 1, 1, 'S'},
        {"8", "numpad 8", 0x68, 0, 1, '8'},
        {"num0", "numpad 0", 0x60, 0, 1, '0'},
        {"NUM9x3", "numpad 9", 0x69, 0, 3, '9'},
        {"8x20", "numpad 8", 0x68, 0, 20, '8'},
        {"shift+6", "numpad 6", 0x66, 1, 1, '6'},
        {"Shift+1x10", "numpad 1", 0x61, 1, 10, '1'},
        {"F1", "F1", 0x70, 0, 1, 0},
        {"f8", "F8", 0x77, 0, 1, 0},
        {"F12x2", "F12", 0x7B, 0, 2, 0},
        {"x", "X", 0x58, 0, 1, 'x'},
        {"xx10000", "X", 0x58, 0, 10000, 'x'},
        {"view", "view", -1, 0, 1, 0},
        {"VIEWx2", "view", -1, 0, 2, 0},
    };
    for (const Case& c : cases) {
        KeyStep step;
        std::string error;
        ASSERT_TRUE(trovik_sim::ParseKeyWord(c.word, step, error)) << c.word << ": " << error;
        EXPECT_EQ(step.name, c.name) << c.word;
        EXPECT_EQ(step.virtualKey, c.key) << c.word;
        EXPECT_EQ(step.modifiers, c.modifiers) << c.word;
        EXPECT_EQ(step.repeat, c.repeat) << c.word;
        EXPECT_EQ(step.character, c.character) << c.word;
        EXPECT_EQ(step.word, c.word);
    }
}

TEST(KeyScriptTest, RejectsWordsItCannotMeanAndSaysWhich) {
    for (const char* word :
         {"F0", "F13", "F01", "num10", "numx", "shift+", "shift+view", "8x0", "8x10001",
          "8x99999999999", "x5", "ctrl+8", "8x", "?", "numpad8", "shift+shift+8", "é", "F+"}) {
        KeyStep step;
        std::string error;
        EXPECT_FALSE(trovik_sim::ParseKeyWord(word, step, error)) << word;
        EXPECT_NE(error.find(word), std::string::npos) << word << ": " << error;
    }
}

TEST(KeyScriptTest, ScriptsHaveCommentsCommasAndNumberedErrors) {
    std::vector<KeyStep> steps;
    std::string error;
    ASSERT_TRUE(trovik_sim::ParseKeyScript("Y 8x20, shift+6\n# a comment F99\nF4 # up\n  S Y",
                                           steps, error))
        << error;
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[1].repeat, 20);
    EXPECT_EQ(steps[3].name, "F4");
    EXPECT_EQ(steps[5].name, "Y");

    EXPECT_FALSE(trovik_sim::ParseKeyScript("Y 8 F99 Y", steps, error));
    EXPECT_EQ(error.rfind("step 3: unknown key 'F99'", 0), 0u) << error;
    EXPECT_FALSE(trovik_sim::ParseKeyScript(" # nothing\n", steps, error));
    EXPECT_EQ(error, "the key script is empty");
}

TEST(KeyScriptTest, CommandsHeldCommandsAndMenuItems) {
    std::vector<KeyStep> steps;
    std::string error;
    ASSERT_TRUE(trovik_sim::ParseKeyScript(
        "cmd:trovik/toggle HOLD:trovik/up_fast:30 menu:\"Top-down view\" # menu:\"x\"\nmenu:Slew",
        steps, error))
        << error;
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].kind, trovik_sim::StepKind::kCommand);
    EXPECT_EQ(steps[0].target, "trovik/toggle");
    EXPECT_EQ(steps[1].kind, trovik_sim::StepKind::kHold);
    EXPECT_EQ(steps[1].target, "trovik/up_fast");
    EXPECT_EQ(steps[1].repeat, 30);
    EXPECT_EQ(steps[2].kind, trovik_sim::StepKind::kMenu);
    EXPECT_EQ(steps[2].target, "Top-down view");
    EXPECT_EQ(steps[3].target, "Slew");

    for (const char* bad : {"cmd:", "hold:trovik/up", "hold:trovik/up:0", "hold:trovik/up:10001",
                            "menu:\"\"", "menu:a\"b"}) {
        EXPECT_FALSE(trovik_sim::ParseKeyScript(bad, steps, error)) << bad;
        EXPECT_NE(error.find("step 1: "), std::string::npos) << bad << ": " << error;
    }
    EXPECT_FALSE(trovik_sim::ParseKeyScript("Y menu:\"Top-down view", steps, error));
    EXPECT_EQ(error, "step 2: a quote is not closed");
}

TEST(SimArgsTest, OptionsAndTheirErrors) {
    trovik_sim::Options o;
    std::string error;
    ASSERT_TRUE(trovik_sim::ParseArgs(
        {"--screen", "1366x768", "--down-only", "--svg", "a.svg", "Y", "8"}, "def.xpl", o, error));
    EXPECT_EQ(o.screenWidth, 1366);
    EXPECT_EQ(o.screenHeight, 768);
    EXPECT_TRUE(o.downOnly);
    EXPECT_EQ(o.svgPath, "a.svg");
    EXPECT_EQ(o.xpl, "def.xpl");
    EXPECT_EQ(o.script, "Y 8 ");

    for (const char* size :
         {"0x100", "100x0", "-5x10", "1920", "1920x1080x3", "axb", "70000x10", "1920x1080 "}) {
        EXPECT_FALSE(trovik_sim::ParseArgs({"--screen", size}, "d", o, error)) << size;
        EXPECT_EQ(error.rfind("bad screen size", 0), 0u) << error;
    }
    EXPECT_FALSE(trovik_sim::ParseArgs({"--svg"}, "d", o, error));
    EXPECT_EQ(error, "--svg needs a value");
    EXPECT_FALSE(trovik_sim::ParseArgs({"--fly"}, "d", o, error));
    EXPECT_FALSE(trovik_sim::ParseArgs({"-f", "/nonexistent/keys"}, "d", o, error));
    EXPECT_EQ(error, "cannot read key script /nonexistent/keys");
}

class SimRunTest : public SimFlight {};

TEST_F(SimRunTest, FinalStateAndOverlayAreExact) {
    // Level sets heading 360; Shift+8 then moves 5 m north per event, four events.
    Fly("Y 5 shift+8x2 F4 F6 9 S Y");
    const trovik_sim::State& end = result.steps.back().after;
    const float s = static_cast<float>(std::sin(360.0 / 180.0 * 3.1415927410125732));
    const double east = static_cast<double>(s * 5.0f);
    EXPECT_EQ(BitsOf(end.x), BitsOf(((east + east) + east) + east));
    EXPECT_EQ(end.z, -20.0);
    EXPECT_EQ(end.y, 438.0);
    EXPECT_EQ(end.agl, 6.0f);
    EXPECT_EQ(end.psi, 360.0f);
    EXPECT_EQ(end.theta, 2.0f);
    EXPECT_EQ(end.phi, 1.0f);
    EXPECT_EQ(end.pathOverride, 0);
    EXPECT_FALSE(end.overlay);
    EXPECT_TRUE(end.camera) << "slew mode off does not end the top-down view";
    EXPECT_EQ(end.view.y, 738.0f);
    EXPECT_EQ(end.view.z, -20.0f);

    ASSERT_EQ(result.screenStep, 7);
    ASSERT_EQ(result.screen.texts.size(), 2u);
    // 20 m north of 47.464722 on a 6371 km sphere; 438 m is 1437 ft; 360 true is 357 magnetic.
    EXPECT_EQ(result.screen.texts[0].text,
              "Lat: 47.464902   Lon: 8.549167   Alt: 1437 ft. MSL   Mag:357 Deg");
    EXPECT_EQ(result.screen.texts[1].text, "Slew Mode");
    EXPECT_EQ(result.screen.boxes.size(), 10u);

    EXPECT_EQ(trovik_sim::DescribeStep(4, result.steps[3]),
              "   4  F4                  2  consumed        pos (0.000, 432.000, -20.000) -> "
              "(0.000, 438.000, -20.000), agl 0.000 -> 6.000");
    EXPECT_EQ(trovik_sim::DescribeStep(1, result.steps[0]),
              "   1  Y                   2  passed on       override 0 -> 1, overlay on");
}

TEST_F(SimRunTest, ABoundButtonAndTheMenuFlyAsTheKeysDo) {
    // Begin and three Continues: four fast steps north, as four key events would.
    Fly("cmd:trovik/toggle cmd:trovik/level hold:trovik/forward_fast:3 menu:\"Top-down view\" "
        "menu:\"Slew mode\" menu:\"Top-down view\"");
    const trovik_sim::State& end = result.steps.back().after;
    EXPECT_EQ(end.z, -20.0);
    EXPECT_EQ(end.psi, 360.0f);
    EXPECT_TRUE(result.steps[3].after.camera);
    EXPECT_EQ(end.pathOverride, 0) << "Slew mode picked again: off";
    EXPECT_EQ(result.steps[5].note, "greyed out");
    ASSERT_EQ(result.menu.size(), 2u);
    EXPECT_EQ(result.menuTitle, "Trovik");
    EXPECT_EQ(result.menu[0].check, xplm_Menu_Unchecked);

    trovik_sim::RunResult unused;
    std::string error;
    std::vector<KeyStep> steps;
    ASSERT_TRUE(trovik_sim::ParseKeyScript("Y cmd:trovik/nowhere", steps, error));
    EXPECT_FALSE(trovik_sim::Simulate(options, steps, unused, error));
    EXPECT_EQ(error, "step 2: the plug-in made no command named 'trovik/nowhere'");
}

TEST_F(SimRunTest, DownOnlyHalvesTheEventsAndViewEndsTheCamera) {
    Fly("Y F4x3 S view", true);
    EXPECT_EQ(result.steps[1].events, 3);
    EXPECT_EQ(result.steps[1].consumed, 3);
    EXPECT_EQ(result.steps[1].after.y, 441.0);
    EXPECT_TRUE(result.steps[2].after.camera);
    EXPECT_FALSE(result.steps[3].after.camera);
    EXPECT_EQ(result.steps[3].events, 0);
}

TEST_F(SimRunTest, LatitudeLongitudeAndElevationFollowTheLocalPosition) {
    const double kPi = 3.14159265358979323846;
    Fly("Y shift+5 shift+3x9 shift+8x100");  // heading 90: 1000 m east
    const trovik_sim::State& end = result.steps.back().after;
    EXPECT_NEAR(end.x, 1000.0, 1e-3);
    EXPECT_NEAR(end.z, 0.0, 1e-3);
    const double degreesEast =
        1000.0 / (6371000.0 * std::cos(47.464722 * kPi / 180.0)) * 180.0 / kPi;
    EXPECT_NEAR(end.longitude, 8.549167 + degreesEast, 1e-9);
    EXPECT_NEAR(end.latitude, 47.464722, 1e-8);
    EXPECT_EQ(end.elevation, 432.0);
}

TEST(SvgTest, TextIsEscaped) {
    EXPECT_EQ(trovik_sim::XmlEscape("a<b>&\"c'\x01"), "a&lt;b&gt;&amp;&quot;c&apos;");
}

}  // namespace
}  // namespace trovik_test
