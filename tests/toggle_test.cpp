// The Y hot key: slew mode on and off, the path override and the overlay window.
#include "support.h"

namespace trovik_test {
namespace {

class ToggleTest : public PluginTest {};

TEST_F(ToggleTest, FirstPressHoldsTheAircraftAndOpensTheOverlay) {
    DownY();
    EXPECT_EQ(HotKeyMaster(), 1);
    EXPECT_EQ(host().getInt(kOverride, 0), 1);
    EXPECT_EQ(host().getInt(kOverride, 1), 0) << "only the user's aircraft is held";

    const Calls calls = host().recorder.only(
        {"XPLMSetDatavi", "XPLMGetScreenSize", "XPLMCreateWindow", "XPLMDestroyWindow"});
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0], SetOverride(1));
    EXPECT_EQ(calls[1], "XPLMGetScreenSize(1920, 1080)");
    ASSERT_EQ(host().windows().size(), 1u);
    const hostsim::Window w = host().windows()[0];
    EXPECT_EQ(w.left, 935);
    EXPECT_EQ(w.top, 25);
    EXPECT_EQ(w.right, 985);
    EXPECT_EQ(w.bottom, 555);
    EXPECT_EQ(w.visible, 1);
    EXPECT_NE(w.draw, nullptr);
    EXPECT_EQ(w.key, nullptr);
    EXPECT_EQ(w.mouse, nullptr);
    EXPECT_EQ(w.refcon, nullptr);
}

TEST_F(ToggleTest, SecondPressReleasesTheAircraftAndClosesThatWindow) {
    PressY();
    const XPLMWindowID id = host().windows().at(0).id;
    host().recorder.clear();
    DownY();
    EXPECT_EQ(HotKeyMaster(), 0);
    EXPECT_EQ(host().getInt(kOverride, 0), 0);
    const Calls calls = host().recorder.only({"XPLMSetDatavi", "XPLMDestroyWindow"});
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], SetOverride(0));
    EXPECT_EQ(calls[1], "XPLMDestroyWindow(" + hostsim::Arg::Pointer(id).str() + ")");
    EXPECT_TRUE(host().windows().empty());
    EXPECT_EQ(host().misuses, Calls{});
}

TEST_F(ToggleTest, OnlyTheKeyDownOfAPlainYToggles) {
    host().keyEvent('y', xplm_UpFlag, XPLM_VK_Y);
    host().keyEvent('Y', xplm_DownFlag | xplm_ShiftFlag, XPLM_VK_Y);
    EXPECT_EQ(HotKeyMaster(), 0);
    host().keyEvent('y', xplm_DownFlag, XPLM_VK_Y);
    EXPECT_EQ(HotKeyMaster(), 1);
}

struct ScreenCase {
    int width, height;
    int left, top, right, bottom;
};

TEST_F(ToggleTest, WindowRectangleHalvesTheScreenByTruncation) {
    const ScreenCase cases[] = {
        {1920, 1080, 935, 25, 985, 555},  //
        {1367, 769, 658, 25, 708, 399},   // odd sizes truncate
        {1, 1, -25, 25, 25, 15},          // a tiny screen: top below bottom, passed as is
        {0, 0, -25, 25, 25, 15},
    };
    for (const ScreenCase& c : cases) {
        host().screenWidth = c.width;
        host().screenHeight = c.height;
        PressY();
        ASSERT_EQ(host().windows().size(), 1u);
        const hostsim::Window w = host().windows()[0];
        EXPECT_EQ(w.left, c.left) << c.width << "x" << c.height;
        EXPECT_EQ(w.top, c.top) << c.width << "x" << c.height;
        EXPECT_EQ(w.right, c.right) << c.width << "x" << c.height;
        EXPECT_EQ(w.bottom, c.bottom) << c.width << "x" << c.height;
        PressY();
    }
}

TEST_F(ToggleTest, ManyTogglesNeverLeaveMoreThanOneWindow) {
    for (int i = 0; i < 9; ++i) {
        PressY();
        EXPECT_EQ(host().windows().size(), i % 2 == 0 ? 1u : 0u);
        EXPECT_EQ(host().getInt(kOverride, 0), i % 2 == 0 ? 1 : 0);
    }
    EXPECT_EQ(host().recorder.count("XPLMCreateWindow"), 5u);
    EXPECT_EQ(host().recorder.count("XPLMDestroyWindow"), 4u);
}

// HotKey_Master is exported: another plug-in may set it behind our back.
TEST_F(ToggleTest, AnExternallyChangedFlagNeitherDoublesNorDestroysANullWindow) {
    PressY();
    HotKeyMaster() = 0;
    PressY();  // counts as off -> on, but the overlay is already open
    EXPECT_EQ(host().windows().size(), 1u);
    EXPECT_EQ(host().recorder.count("XPLMCreateWindow"), 1u);
    EXPECT_EQ(host().getInt(kOverride, 0), 1);

    PressY();  // on -> off
    EXPECT_TRUE(host().windows().empty());
    HotKeyMaster() = 7;  // any non-zero counts as on
    host().recorder.clear();
    PressY();  // on -> off with no window open
    EXPECT_EQ(HotKeyMaster(), 0);
    EXPECT_EQ(host().recorder.only({"XPLMSetDatavi", "XPLMDestroyWindow"}),
              Calls({SetOverride(0)}));
    EXPECT_EQ(host().misuses, Calls{});
}

}  // namespace
}  // namespace trovik_test
