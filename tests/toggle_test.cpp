// The Y hot key: slew mode on and off, the path override and the overlay window.
#include "support.h"

namespace trovik_test {
namespace {

class ToggleTest : public PluginTest {
  protected:
    // The window calls and the override writes, in order, the window's id spelled "id" and the
    // plug-in's callbacks by their place in its struct.
    static Calls WindowCalls() {
        Calls out;
        for (hostsim::Call c : host().recorder.calls) {
            if (c.fn == "XPLMCreateWindowEx")
                c.hasResult = false;
            if (c.fn == "XPLMDestroyWindow" || c.fn == "XPLMSetWindowPositioningMode")
                c.args[0] = hostsim::Arg::Text("id");
            if (c.fn == "XPLMCreateWindowEx" || c.fn == "XPLMDestroyWindow" ||
                c.fn == "XPLMSetDatavi" || c.fn == "XPLMGetScreenBoundsGlobal" ||
                c.fn == "XPLMSetWindowPositioningMode")
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
    const auto fn = [](auto f) { return hostsim::Arg::Pointer(reinterpret_cast<void*>(f)).str(); };
    // Visible, undecorated (0), in the flight overlay layer (0), every callback given: the click
    // callback serves both buttons. Then full screen (2) on the main monitor (-1).
    EXPECT_EQ(WindowCalls(), Calls({SetOverride(1), "XPLMGetScreenBoundsGlobal(0, 1080, 1920, 0)",
                                    "XPLMCreateWindowEx(0, 1080, 1920, 0, 1, 0, 0, " + fn(w.draw) +
                                        ", " + fn(w.click) + ", " + fn(w.click) + ", " + fn(w.key) +
                                        ", " + fn(w.cursor) + ", " + fn(w.wheel) + ")",
                                    "XPLMSetWindowPositioningMode(\"id\", 2, -1)"}));
    EXPECT_EQ(host().recorder.misuses, Calls{});
    // They take nothing: a click and the wheel go on, the cursor is the simulator's.
    EXPECT_EQ(w.click(w.id, 5, 5, xplm_MouseDown, nullptr), 0);
    EXPECT_EQ(w.wheel(w.id, 5, 5, 0, 1, nullptr), 0);
    EXPECT_EQ(w.cursor(w.id, 5, 5, nullptr), xplm_CursorDefault);

    host().recorder.clear();
    DownY();
    EXPECT_EQ(HotKeyMaster(), 0);
    EXPECT_EQ(WindowCalls(), Calls({SetOverride(0), "XPLMDestroyWindow(\"id\")"}));
    EXPECT_TRUE(host().display.windows.empty());
}

}  // namespace
}  // namespace trovik_test
