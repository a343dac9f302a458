// trovik-sim's output as a user meets it: the picture, well-formed for a real XML parser and
// holding what was drawn, and the program's lines, files and errors.
#include <expat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "sim/svg.h"
#include "sim_support.h"

namespace trovik_test {
namespace {

bool WellFormed(const std::string& xml) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    const bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
}

// The first group of every match of `pattern` in `text`, in order.
Calls All(const std::string& text, const std::string& pattern) {
    Calls out;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
        out.push_back((*it)[1]);
    }
    return out;
}

class SimPictureTest : public SimFlight {};

TEST_F(SimPictureTest, PictureHoldsTheBandsTextsTrackAndMenu) {
    options.screenWidth = 1366;
    options.screenHeight = 768;
    Fly("Y shift+8x2 shift+3x9 shift+8x2");
    const std::string svg = trovik_sim::RenderSvg(result, options);
    ASSERT_TRUE(WellFormed(svg));

    // Screen y is up from the bottom, SVG y down from the top: the top band at 0, 30 high.
    const std::string band = "class=\"band\"[^>]* y=\"([0-9]+)\" width=\"1366\" height=\"";
    EXPECT_EQ(All(svg, band + "30"), Calls(5, "0"));
    EXPECT_EQ(All(svg, band + "50"), Calls(5, "718"));
    EXPECT_EQ(All(svg, "class=\"drawn\"[^>]*>([^<]*)<"),
              Calls({"Lat: 47.464485   Lon: 8.549032   Alt: 1417 ft. MSL   Mag:243 Deg",
                     "Slew Mode", "AGL 0 ft"}));
    EXPECT_EQ(All(svg,
                  "class=\"drawn\"[^>]* x=\"([0-9]+)\" y=\"18\" font-size=\"14\" "
                  "fill=\"rgb\\(255,0,0\\)\""),
              Calls({"20"}));
    EXPECT_EQ(All(svg, "class=\"step\"[^>]*data-heading=\"([0-9]+)\""),
              Calls({"156", "156", "156", "246", "246"}));
    EXPECT_EQ(All(svg, "data-step=\"2\" data-x=\"([^\"]*)\""), Calls({"8.13473"}));
    EXPECT_EQ(All(svg, "class=\"menu-item\"[^>]*>([^<]*)<"),
              Calls({"&#9745; Slew mode", "Top-down view", "&#9745; Joystick slew", "Slew faster",
                     "Slew slower", "&#9744; One step per tap", "&#9745; Keypad and F-keys",
                     "&#9745; Y toggles slew mode", "Places"}));
    // Between "Slew slower" (at 655.78) and "One step per tap" (at 691.78).
    EXPECT_EQ(All(svg, "class=\"menu-separator\"[^>]* y1=\"([0-9.]+)\""),
              Calls({"668.78", "740.78"}));
}

TEST_F(SimPictureTest, AScaledUIDrawsLargerAndVRDrawsThePanel) {
    // Boxels at 150 % and 200 %: the bands 30 and 50 boxels high are 45 and 75, 60 and 100
    // pixels; the label at 1280 / 2 - 20 = 620 boxels is at 930 pixels, at 960 / 2 - 20 = 460 at
    // 920.
    for (const auto& [scale, bands, label] :
         {std::tuple{1.5, "45 75", "930"}, std::tuple{2.0, "60 100", "920"}}) {
        options.uiScale = scale;
        Fly("Y");
        const std::string svg = trovik_sim::RenderSvg(result, options);
        const Calls heights = All(svg, "class=\"band\"[^>]* height=\"([0-9]+)\"");
        ASSERT_EQ(heights.size(), 10u);
        EXPECT_EQ(heights[0] + " " + heights[1], bands);
        EXPECT_EQ(All(svg, "class=\"drawn\"[^>]* x=\"([0-9]+)\"[^>]*>Slew Mode<"), Calls{label});
    }
    // In the headset: one panel, 600 x 60, in the middle of the picture.
    options.uiScale = 1.0;
    Fly("Y vr:on");
    const std::string svg = trovik_sim::RenderSvg(result, options);
    EXPECT_EQ(
        All(svg, "class=\"band\"[^>]* x=\"([0-9]+)\" y=\"[0-9]+\" width=\"600\" height=\"60\""),
        Calls(5, "660"));
}

TEST_F(SimPictureTest, TicksReadPlainlyTheHeldCameraShowsAndALongScriptIsCutWithACount) {
    std::string script = "Y shift+8x5 S";
    for (int i = 0; i < 600; ++i)
        script += " 8";
    Fly(script);
    const std::string svg = trovik_sim::RenderSvg(result, options);
    ASSERT_TRUE(WellFormed(svg));
    // East then north; the origin is "0", never "-0".
    EXPECT_EQ(All(svg, "class=\"tick\"[^>]*>([^<]*)<"),
              Calls({"-50", "0", "50", "100", "-150", "-100", "-50", "0"}));
    EXPECT_EQ(All(svg, "<text class=\"camera\"[^>]*>([^<]*)<"),
              Calls({"top-down camera (the plug-in holds the view)"}));
    EXPECT_EQ(All(svg, "font-size=\"14\">(Screen [^<]*)<"),
              Calls({"Screen 1920x1080 and menu, as after step 603, top-down camera"}));
    EXPECT_EQ(All(svg, "\">(start|after a step|heading there|track)</text>"),
              Calls({"start", "after a step", "heading there", "track"}));
    const Calls keys = All(svg, "class=\"script\"[^>]*>([^<]*)<");
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[0].substr(0, 21), "keys: Y shift+8x5 S 8");
    EXPECT_EQ(keys[5].substr(keys[5].size() - 17), " ... and 119 more");
}

TEST_F(SimPictureTest, OnNarrowAndSmallScreensEveryTextStaysInItsBox) {
    for (const auto& [w, h] : {std::pair{640, 1400}, std::pair{320, 200}}) {
        options.screenWidth = w;
        options.screenHeight = h;
        Fly("Y shift+8x2 S");
        const std::string svg = trovik_sim::RenderSvg(result, options);
        ASSERT_TRUE(WellFormed(svg));
        // The screen's title ends before the track's begins (8.5 px a 14 px character).
        const std::string title = All(svg, "font-size=\"14\">(Screen [^<]*)<").at(0);
        const double track = std::stod(All(svg, "<text x=\"([0-9.]+)\" y=\"20\"[^>]*>Track").at(0));
        EXPECT_LT(20 + 8.5 * static_cast<double>(title.size()), track) << title;
        // The legible copy of the overlay's line fits its box (7.9 px a 13 px character).
        const double box =
            std::stod(All(svg, "width=\"([0-9.]+)\" height=\"[0-9.]+\" fill=\"#1e1e1e\"").at(0));
        EXPECT_GE(box, 16 + 7.9 * static_cast<double>(result.screen.texts[0].text.size()));
        // What falls past the screen's edge is cut there, as the simulator cuts it.
        EXPECT_NE(svg.find("<g clip-path=\"url(#screen-edge)\">"), std::string::npos);
        EXPECT_EQ(title, "Screen " + std::to_string(w) + "x" + std::to_string(h) +
                             " and menu, as after step 3, top-down camera");
    }
}

// ---- The program, as a user runs it ----

struct Outcome {
    int code;
    std::string output;
};

// Run from `folder` (here if empty); the errors go where the output went, before `args` send the
// output anywhere else.
Outcome RunSim(const std::string& args, const std::string& folder = "") {
    const std::string from = folder.empty() ? "" : "cd " + folder + " && ";
    const std::string command = from + TROVIK_SIM + " 2>&1 " + args;
    FILE* pipe = popen(command.c_str(), "r");
    Outcome o{-1, ""};
    if (pipe == nullptr)
        return o;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe)) > 0)
        o.output.append(buf, n);
    const int status = pclose(pipe);
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
    return o;
}

TEST(SimProgramTest, HelpStepLinesPictureAndErrorsAsAUserMeetsThem) {
    // The default plug-in as the user would type it from here, and an example that works from
    // the repository root.
    const Outcome help = RunSim("--help");
    EXPECT_EQ(help.code, 0);
    const std::string here = std::filesystem::relative(TROVIK_XPL).string();
    for (const std::string& text :
         {"(default: " + here + ")", std::string("x east, y up, z south"),
          std::string("given more than once, the files are read in order")}) {
        EXPECT_NE(help.output.find(text), std::string::npos) << text;
    }
    const size_t example = help.output.find("repository root:\n  ");
    ASSERT_NE(example, std::string::npos);
    const std::string command = help.output.substr(example + 19);
    const std::string fromRoot =
        "cd " TROVIK_SOURCE_DIR " && " + command.substr(0, command.find('\n'));
    EXPECT_EQ(std::system((fromRoot + " >/dev/null").c_str()), 0) << fromRoot;

    const std::string dir = ::testing::TempDir();
    const std::string svg = dir + "trovik_sim_test.svg";
    std::remove(svg.c_str());
    std::ofstream(dir + "a.keys") << "Y 8";
    std::ofstream(dir + "b.keys") << "cmd:trovik/joystick menu:\"Slew mode\"";
    const Outcome run = RunSim("--svg " + svg + " -f " + dir + "a.keys -f " + dir + "b.keys");
    ASSERT_EQ(run.code, 0) << run.output;
    for (const char* line :
         {"   1  Y                        2  hot key         slew mode on (override 0 -> 1), "
          "overlay on\n",
          "   2  8                        2  consumed        pos (0.000, 432.000, 0.000) -> "
          "(0.081, 432.000, 0.183) moved 0.200 m\n",
          "   3  cmd:trovik/joystick      0  -               joystick slew off\n",
          "   4  menu:\"Slew mode\"         0  -               slew mode off (override 1 -> 0), "
          "overlay off\n"}) {
        EXPECT_NE(run.output.find(line), std::string::npos) << line << run.output;
    }
    EXPECT_TRUE(WellFormed(FileText(svg)));

    // A script saved with a byte-order mark, as Windows editors save UTF-8, runs.
    const std::string bom = dir + "bom.keys";
    std::ofstream(bom, std::ios::binary) << "\xEF\xBB\xBFY\nF99";
    // A plug-in copied only in part.
    const std::string cut = dir + "cut.xpl";
    std::ofstream(cut, std::ios::binary) << std::ifstream(TROVIK_XPL, std::ios::binary).rdbuf();
    std::filesystem::resize_file(cut, 20000);
    struct Case {
        std::string args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"", 2, "usage: trovik-sim [options] [KEY ...]\n"},
        {"-f " + bom, 2, "trovik-sim: step 2: unknown key 'F99'"},
        {"--screen 0x0 Y", 2, "trovik-sim: bad screen size '0x0'"},
        {"--xpl /nonexistent/Trovik.xpl Y", 1, "trovik-sim: no plug-in file at /nonexistent"},
        {"--xpl " FIXTURE_NO_STOP " Y", 1, "missing entry point XPluginStop"},
        // Found before the run, with the reason.
        {"--svg /nonexistent/dir/a.svg Y", 1,
         "trovik-sim: cannot write '/nonexistent/dir/a.svg': No such file or directory\n"},
        {"-f /nonexistent/keys", 2,
         "trovik-sim: cannot read key script '/nonexistent/keys': No such file or directory\n"},
        {"-f /tmp", 2, "trovik-sim: cannot read key script '/tmp': it is a directory"},
        {"--svg " + bom + " -f " + dir + "/./bom.keys", 2,
         "is the key script given with -f: it would be overwritten\n"},
        {"--svg " TROVIK_XPL " Y", 2, "is the plug-in to load: it would be overwritten\n"},
        {"--svg a.svg --svg b.svg Y", 2, "trovik-sim: --svg given twice"},
        {"--screen 640x480 --screen 800x600 Y", 2, "trovik-sim: --screen given twice"},
        {"--svg x.svg --screen 319x200 Y", 2,
         "trovik-sim: a screen of 319x200 is too small to draw: --svg needs 320x200 at least\n"},
        {"Y cmd:trovik/nowhere", 1,
         "trovik-sim: step 2: the plug-in made no command named 'trovik/nowhere'\n"},
        {"Y 'menu:Bogus item'", 1,
         "trovik-sim: step 2: no menu item named 'Bogus item' (there are \"Trovik\", \"Slew "
         "mode\", \"Top-down view\", \"Joystick slew\", \"Slew faster\", \"Slew slower\", \"One "
         "step per tap\", \"Keypad and F-keys\", \"Y toggles slew mode\", \"Places\", \"Back to "
         "start\", \"Go to 1 (empty)\""},
        {"--svg '' Y", 2, "trovik-sim: --svg needs a value"},
        {"origin:1/x", 2, "'origin:1/x': origin:EAST/SOUTH wants two moves of -100000 to 100000 m"},
        {"-f /dev/zero", 2,
         "trovik-sim: cannot read key script '/dev/zero': it is larger than 1 MiB\n"},
        {"--start air:100 Y", 2,
         "trovik-sim: bad start 'air:100': want ground, air:HEIGHT@KNOTS (0 to 20000 m, 0 to 1000 "
         "kt), water, bridge or edge\n"},
        {"--xpl " + cut + " Y", 1, "is cut short: its headers need "},
        {"Y 8 >/dev/full", 1, "trovik-sim: cannot write the step lines: No space left on device\n"},
        {"Y 8 >&-", 1, "trovik-sim: cannot write the step lines: Bad file descriptor\n"},
    };
    for (const Case& c : cases) {
        const Outcome o = RunSim(c.args);
        EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.output;
        EXPECT_NE(o.output.find(c.message), std::string::npos) << c.args << "\n" << o.output;
        EXPECT_EQ(o.output.find("step  key"), std::string::npos) << "nothing ran: " << c.args;
    }
    EXPECT_EQ(FileText(bom), "\xEF\xBB\xBFY\nF99") << "the script the picture was refused over";
}

TEST(SimProgramTest, APlugInByNameAPictureInPlaceAndTheFactorTheOverlayShows) {
    // The plug-in named without a folder, from its own folder: that file, not one on a path.
    const std::filesystem::path xpl = TROVIK_XPL;
    const Outcome bare = RunSim("--xpl " + xpl.filename().string() + " Y", xpl.parent_path());
    EXPECT_EQ(bare.code, 0) << bare.output;

    // A picture over a file takes its place whole: another name for the old file keeps the old
    // content (a process that had it open or mapped keeps it too), and nothing is left beside it.
    const std::string dir = ::testing::TempDir();
    const std::string target = dir + "over.svg";
    std::remove(target.c_str());
    std::remove((dir + "kept").c_str());
    std::ofstream(target) << "old";
    std::filesystem::create_hard_link(target, dir + "kept");
    // The plug-in's own settings file is a folder here, so it reads none: the factor shown is
    // the one the overlay shows.
    std::filesystem::remove_all(dir + "prefs");
    std::filesystem::create_directories(dir + "prefs/Trovik.prf");
    const Outcome run = RunSim("--prefs " + dir + "prefs --svg " + target +
                               " Y cmd:trovik/faster cmd:trovik/faster");
    EXPECT_EQ(run.code, 0) << run.output;
    EXPECT_TRUE(WellFormed(FileText(target)));
    EXPECT_EQ(FileText(dir + "kept"), "old");
    EXPECT_FALSE(std::filesystem::exists(target + ".tmp"));
    EXPECT_NE(run.output.find("  -               speed factor 2 -> 4\n"), std::string::npos)
        << run.output;
    // What the plug-in logged, where it logged it: as it loaded, and as it first saved.
    EXPECT_NE(run.output.find("on the ground\nlog: Trovik: cannot read " + dir +
                              "prefs/Trovik.prf; using the default settings, and moving it aside "
                              "when they change\nstep  key"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(std::filesystem::is_directory(dir + "prefs/Trovik.prf.bad"));
}

}  // namespace
}  // namespace trovik_test
