// The overlay: its bands, its text and the label, as drawn in a frame.
#include <cmath>

#include "support.h"

namespace trovik_test {
namespace {

class OverlayTest : public PluginTest {
  protected:
    void SetPosition(double lat, double lon, double elevation, float magPsi) {
        host().setDouble(Pos("latitude"), lat);
        host().setDouble(Pos("longitude"), lon);
        host().setDouble(Pos("elevation"), elevation);
        host().setFloat(Pos("mag_psi"), magPsi);
    }
};

TEST_F(OverlayTest, NothingIsDrawnWhileSlewModeIsOff) {
    const hostsim::Frame frame = host().drawFrame();
    EXPECT_TRUE(frame.boxes.empty());
    EXPECT_TRUE(frame.texts.empty());
}

TEST_F(OverlayTest, OneFrameReadsDrawsBandsThenTextThenLabelInOrder) {
    SetPosition(47.5, 8.25, 432.6, 123.5f);
    PressY();
    host().recorder.clear();
    host().drawFrame();

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
}

TEST_F(OverlayTest, AltitudeIsShownInFeet) {
    struct Case {
        double metres;
        const char* shown;
    };
    // 0.3048 m to the foot; "%.0f" rounds half to even on the exact binary value.
    const Case cases[] = {{432.6, "Alt: 1419 ft"}, {0.0, "Alt: 0 ft"},
                          {-10.0, "Alt: -33 ft"},  {0.1524, "Alt: 0 ft"},
                          {0.4572, "Alt: 2 ft"},   {8848.86, "Alt: 29032 ft"}};
    PressY();
    for (const Case& c : cases) {
        SetPosition(0, 0, c.metres, 0);
        const std::string text = host().drawFrame().texts.at(0).text;
        EXPECT_NE(text.find(c.shown), std::string::npos) << c.metres << " -> " << text;
    }
}

TEST_F(OverlayTest, SignsAndRoundingOfTheOtherFields) {
    SetPosition(-33.946111, -122.3, 3.048, 359.6f);
    PressY();
    EXPECT_EQ(host().drawFrame().texts.at(0).text,
              "Lat: -33.946111   Lon: -122.300000   Alt: 10 ft. MSL   Mag:360 Deg");
}

TEST_F(OverlayTest, LayoutFollowsTheScreenSize) {
    host().screenWidth = 1367;
    host().screenHeight = 769;
    PressY();
    host().screenWidth = 801;  // read again at every draw
    host().screenHeight = 601;
    const hostsim::Frame frame = host().drawFrame();
    ASSERT_EQ(frame.boxes.size(), 10u);
    for (size_t i = 0; i < 10; i += 2) {
        EXPECT_EQ(frame.boxes[i].top, 601);
        EXPECT_EQ(frame.boxes[i].right, 801);
        EXPECT_EQ(frame.boxes[i].bottom, 571);
        EXPECT_EQ(frame.boxes[i + 1].top, 50);
        EXPECT_EQ(frame.boxes[i + 1].bottom, 0);
    }
    ASSERT_EQ(frame.texts.size(), 2u);
    EXPECT_EQ(frame.texts[0].y, 583);
    EXPECT_EQ(frame.texts[1].x, 380);
    EXPECT_EQ(frame.texts[1].y, 20);
    EXPECT_FALSE(frame.texts[0].hasWrapWidth);
    EXPECT_EQ(frame.texts[1].font, 0);
    EXPECT_EQ(frame.texts[1].rgb[1], 1.0f);
    EXPECT_EQ(frame.texts[0].rgb[1], 0.0f);
}

TEST_F(OverlayTest, AbsurdValuesCutTheLineInsteadOfOverrunningIt) {
    SetPosition(-1e300, 1e300, -1.7976931348623157e308, -3.4e38f);
    PressY();
    const std::string text = host().drawFrame().texts.at(0).text;
    std::vector<char> room(4096);
    std::snprintf(room.data(), room.size(), "Lat: %f   Lon: %f   Alt: %.0f ft. MSL   Mag:%.0f Deg",
                  -1e300, 1e300, -1.7976931348623157e308 / 0.3048, -3.4e38);
    const std::string whole = room.data();
    ASSERT_GT(whole.size(), 600u);
    EXPECT_EQ(text, whole.substr(0, 255));

    SetPosition(NAN, INFINITY, -INFINITY, NAN);
    EXPECT_EQ(host().drawFrame().texts.at(0).text,
              "Lat: nan   Lon: inf   Alt: -inf ft. MSL   Mag:nan Deg");
}

}  // namespace
}  // namespace trovik_test
