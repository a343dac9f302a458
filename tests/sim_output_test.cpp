// trovik-sim's output as a user meets it: the picture read back with a real XML parser, and the
// program's lines, files and errors.
#include <expat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "sim/svg.h"
#include "sim_support.h"

namespace trovik_test {
namespace {

class SimPictureTest : public SimFlight {};

// ---- The picture, read back ----

struct Element {
    std::string name;
    std::map<std::string, std::string> attrs;
    std::string text;
};

struct Parsed {
    std::vector<Element> elements;
    std::vector<size_t> open;
    bool ok = false;
};

Parsed ParseXml(const std::string& xml) {
    Parsed p;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &p);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* name, const XML_Char** attrs) {
            auto* q = static_cast<Parsed*>(data);
            Element e;
            e.name = name;
            for (int i = 0; attrs[i] != nullptr; i += 2)
                e.attrs[attrs[i]] = attrs[i + 1];
            q->open.push_back(q->elements.size());
            q->elements.push_back(e);
        },
        [](void* data, const XML_Char*) { static_cast<Parsed*>(data)->open.pop_back(); });
    XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char* s, int len) {
        auto* q = static_cast<Parsed*>(data);
        if (!q->open.empty())
            q->elements[q->open.back()].text.append(s, static_cast<size_t>(len));
    });
    p.ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return p;
}

std::vector<Element> WithClass(const Parsed& p, const std::string& cls) {
    std::vector<Element> out;
    for (const Element& e : p.elements) {
        auto it = e.attrs.find("class");
        if (it != e.attrs.end() && it->second == cls)
            out.push_back(e);
    }
    return out;
}

TEST_F(SimPictureTest, PictureHoldsTheBandsTextsAndTrack) {
    options.screenWidth = 1366;
    options.screenHeight = 768;
    Fly("Y shift+8x2 shift+3x9 shift+8x2");
    const Parsed svg = ParseXml(trovik_sim::RenderSvg(result, options));
    ASSERT_TRUE(svg.ok);
    ASSERT_FALSE(svg.elements.empty());
    EXPECT_EQ(svg.elements[0].name, "svg");
    EXPECT_EQ(svg.elements[0].attrs.at("xmlns"), "http://www.w3.org/2000/svg");

    const std::vector<Element> bands = WithClass(svg, "band");
    ASSERT_EQ(bands.size(), 10u);
    // Screen y is up from the bottom, SVG y down from the top.
    EXPECT_EQ(bands[0].attrs.at("data-top"), "768");
    EXPECT_EQ(bands[0].attrs.at("data-bottom"), "738");
    EXPECT_EQ(bands[0].attrs.at("y"), "0");
    EXPECT_EQ(bands[0].attrs.at("height"), "30");
    EXPECT_EQ(bands[1].attrs.at("y"), "718");
    EXPECT_EQ(bands[1].attrs.at("width"), "1366");

    const std::vector<Element> texts = WithClass(svg, "drawn");
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, result.screen.texts[0].text);
    EXPECT_EQ(texts[0].attrs.at("fill"), "rgb(255,0,0)");
    EXPECT_EQ(texts[0].attrs.at("y"), "18");
    EXPECT_EQ(texts[1].text, "Slew Mode");
    EXPECT_EQ(texts[1].attrs.at("fill"), "rgb(255,255,255)");
    EXPECT_EQ(texts[1].attrs.at("x"), "663");

    const std::vector<Element> steps = WithClass(svg, "step");
    ASSERT_EQ(steps.size(), 5u) << "the start and one point a step";
    EXPECT_EQ(steps[0].attrs.at("data-heading"), "156");
    EXPECT_EQ(steps[2].attrs.at("data-x"), "8.13473");
    EXPECT_EQ(steps[2].attrs.at("data-z"), "18.2709");
    EXPECT_EQ(steps[3].attrs.at("data-heading"), "246");
    ASSERT_EQ(WithClass(svg, "track").size(), 1u);
}

// ---- The program, as a user runs it ----

struct Outcome {
    int code;
    std::string output;
};

Outcome RunSim(const std::string& args) {
    const std::string command = std::string(TROVIK_SIM) + " " + args + " 2>&1";
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

TEST(SimProgramTest, HelpExplainsEveryOptionWithAnExample) {
    const Outcome o = RunSim("--help");
    EXPECT_EQ(o.code, 0);
    for (const char* option : {"--script", "--xpl", "--down-only", "--svg", "--screen", "--help"}) {
        EXPECT_NE(o.output.find(option), std::string::npos) << option;
    }
    EXPECT_NE(o.output.find("e.g. trovik-sim --screen 1366x768"), std::string::npos);
}

TEST(SimProgramTest, ClearErrorsAndNonZeroExits) {
    struct Case {
        const char* args;
        int code;
        const char* message;
    };
    const Case cases[] = {
        {"Y F99", 2, "trovik-sim: step 2: unknown key 'F99'"},
        {"--screen 0x0 Y", 2, "trovik-sim: bad screen size '0x0'"},
        {"--xpl /nonexistent/Trovik.xpl Y", 1, "trovik-sim: no plug-in file at /nonexistent"},
        {"--xpl " FIXTURE_NO_STOP " Y", 1, "missing entry point XPluginStop"},
        {"--svg /nonexistent/dir/a.svg Y", 1, "trovik-sim: cannot write /nonexistent/dir/a.svg"},
        {"", 2, "trovik-sim: the key script is empty"},
    };
    for (const Case& c : cases) {
        const Outcome o = RunSim(c.args);
        EXPECT_EQ(o.code, c.code) << c.args << "\n" << o.output;
        EXPECT_NE(o.output.find(c.message), std::string::npos) << c.args << "\n" << o.output;
    }
}

TEST(SimProgramTest, PrintsAStepLineEachAndTheOverlayAndWritesThePicture) {
    const std::string svg = ::testing::TempDir() + "trovik_sim_test.svg";
    std::remove(svg.c_str());
    const Outcome o = RunSim("--svg " + svg + " Y 8 Y");
    ASSERT_EQ(o.code, 0) << o.output;
    EXPECT_NE(o.output.find("   2  8                   2  consumed "), std::string::npos)
        << o.output;
    EXPECT_NE(o.output.find("overlay, as drawn after step 2:\n  Lat: "), std::string::npos);
    std::ifstream in(svg);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(ParseXml(text.str()).ok);
}

}  // namespace
}  // namespace trovik_test
