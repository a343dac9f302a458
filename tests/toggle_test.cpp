// The Y hot key: slew mode on and off, the path override and the overlay window.
#include "support.h"

namespace trovik_test {
namespace {

class ToggleTest : public PluginTest {
  protected:
    // The window calls and the override writes, in order, window ids spelled "id".
    static Calls WindowCalls() {
        Calls out;
        for (hostsim::Call c : host().recorder.calls) {
            if (c.fn == "XPLMCreateWindow")
                c.hasResult = false;
            if (c.fn == "XPLMDestroyWindow")
                c.args[0] = hostsim::Arg::Text("id");
            if (c.fn == "XPLMCreateWindow" || c.fn == "XPLMDestroyWindow" ||
                c.fn == "XPLMSetDatavi" || c.fn == "XPLMGetScreenSize")
                out.push_back(c.str());
        }
        return out;
    }
};

TEST_F(ToggleTest, OnHoldsTheAircraftAndOpensTheOverlayOffUndoesBoth) {
    DownY();
    EXPECT_EQ(HotKeyMaster(), 1);
    ASSERT_EQ(host().display.windows.size(), 1u);
    const hostsim::Window w = host().display.windows[0];
    const std::string draw = hostsim::Arg::Pointer(reinterpret_cast<void*>(w.draw)).str();
    EXPECT_EQ(WindowCalls(),
              Calls({SetOverride(1), "XPLMGetScreenSize(1920, 1080)",
                     "XPLMCreateWindow(935, 25, 985, 555, 1, " + draw + ", null, null, null)"}));

    host().recorder.clear();
    DownY();
    EXPECT_EQ(HotKeyMaster(), 0);
    EXPECT_EQ(WindowCalls(), Calls({SetOverride(0), "XPLMDestroyWindow(\"id\")"}));
    EXPECT_TRUE(host().display.windows.empty());
}

TEST_F(ToggleTest, WindowRectangleHalvesTheScreenByTruncation) {
    struct Case {
        int width, height;
        int left, top, right, bottom;
    };
    const Case cases[] = {
        {1367, 769, 658, 25, 708, 399},  // odd sizes truncate
        {1, 1, -25, 25, 25, 15},         // a tiny screen: top below bottom, passed as is
    };
    for (const Case& c : cases) {
        host().display.screenWidth = c.width;
        host().display.screenHeight = c.height;
        PressY();
        ASSERT_EQ(host().display.windows.size(), 1u);
        const hostsim::Window w = host().display.windows[0];
        EXPECT_EQ((std::vector<int>{w.left, w.top, w.right, w.bottom}),
                  (std::vector<int>{c.left, c.top, c.right, c.bottom}))
            << c.width << "x" << c.height;
        PressY();
    }
}

}  // namespace
}  // namespace trovik_test
