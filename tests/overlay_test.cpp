// The overlay: its bands, its text and the label, as drawn in a frame.
#include <cmath>

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

    Calls expected = {
        "XPLMGetDatad(sim/flightmodel/position/latitude) = 47.5",
        "XPLMGetDatad(sim/flightmodel/position/longitude) = 8.25",
        "XPLMGetDatad(sim/flightmodel/position/elevation) = 432.60000000000002",
        "XPLMGetDataf(sim/flightmodel/position/mag_psi) = 123.5",
        "XPLMGetScreenSize(1920, 1080)",
    };
    for (int i = 0; i < 5; ++i) {
        expected.push_back("XPLMDrawTranslucentDarkBox(0, 1080, 1920, 1050)");
        expected.push_back("XPLMDrawTranslucentDarkBox(0, 50, 1920, 0)");
    }
    expected.push_back(
        "XPLMDrawString(rgb(1, 0, 0), 20, 1062, \"Lat: 47.500000   Lon: 8.250000   Alt: 1419 ft. "
        "MSL   Mag:124 Deg\", null, 0)");
    expected.push_back("XPLMDrawString(rgb(1, 1, 1), 940, 20, \"Slew Mode\", null, 0)");
    EXPECT_EQ(host().recorder.strings(), expected);

    // The screen size is read again at every draw.
    host().display.screenWidth = 801;
    host().display.screenHeight = 601;
    host().recorder.clear();
    host().display.drawFrame();
    const Calls drawn = host().recorder.only({"XPLMDrawTranslucentDarkBox", "XPLMDrawString"});
    ASSERT_EQ(drawn.size(), 12u);
    EXPECT_EQ(drawn[0], "XPLMDrawTranslucentDarkBox(0, 601, 801, 571)");
    EXPECT_EQ(drawn[10].substr(0, 34), "XPLMDrawString(rgb(1, 0, 0), 20, 5");
    EXPECT_EQ(drawn[11], "XPLMDrawString(rgb(1, 1, 1), 380, 20, \"Slew Mode\", null, 0)");
}

TEST_F(OverlayTest, AltitudeIsShownInFeetAndSignsAreKept) {
    struct Case {
        double metres;
        const char* shown;
    };
    // 0.3048 m to the foot; "%.0f" rounds half to even on the exact binary value.
    const Case cases[] = {{0.0, "Alt: 0 ft"},    {-10.0, "Alt: -33 ft"},
                          {0.1524, "Alt: 0 ft"}, {0.4572, "Alt: 2 ft"},
                          {3.048, "Alt: 10 ft"}, {8848.86, "Alt: 29032 ft"}};
    PressY();
    for (const Case& c : cases) {
        SetPosition(0, 0, c.metres, 0);
        EXPECT_NE(Line().find(c.shown), std::string::npos) << c.metres << " -> " << Line();
    }
    SetPosition(-33.946111, -122.3, 3.048, 359.6f);
    EXPECT_EQ(Line(), "Lat: -33.946111   Lon: -122.300000   Alt: 10 ft. MSL   Mag:360 Deg");
}

TEST_F(OverlayTest, AbsurdValuesCutTheLineInsteadOfOverrunningIt) {
    PressY();
    SetPosition(-1e300, 1e300, -1.7976931348623157e308, -3.4e38f);
    const std::string text = Line();
    EXPECT_EQ(text.size(), 255u);
    EXPECT_EQ(text.substr(195), "809005936895323497079994508111903896764088007465274278014249");

    SetPosition(NAN, INFINITY, -INFINITY, NAN);
    EXPECT_EQ(Line(), "Lat: nan   Lon: inf   Alt: -inf ft. MSL   Mag:nan Deg");
}

}  // namespace
}  // namespace trovik_test
