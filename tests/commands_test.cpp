// The simulator commands and the Plugins menu: each command against its key, held commands,
// the menu's state along every path that changes the mode, disable, and what stop leaves.
#include "support.h"

namespace trovik_test {
namespace {

struct Published {
    const char* name;
    const char* description;
    int key;  // the key that performs the same action, or 0
    int flags;
};

const Published kPublished[] = {
    {"trovik/toggle", "Toggle slew mode", 0, 0},
    {"trovik/forward", "Slew forward", XPLM_VK_NUMPAD8, 0},
    {"trovik/forward_fast", "Slew forward fast", XPLM_VK_NUMPAD8, xplm_ShiftFlag},
    {"trovik/backward", "Slew backward", XPLM_VK_NUMPAD2, 0},
    {"trovik/backward_fast", "Slew backward fast", XPLM_VK_NUMPAD2, xplm_ShiftFlag},
    {"trovik/left", "Slew left", XPLM_VK_NUMPAD4, 0},
    {"trovik/left_fast", "Slew left fast", XPLM_VK_NUMPAD4, xplm_ShiftFlag},
    {"trovik/right", "Slew right", XPLM_VK_NUMPAD6, 0},
    {"trovik/right_fast", "Slew right fast", XPLM_VK_NUMPAD6, xplm_ShiftFlag},
    {"trovik/turn_left", "Turn left", XPLM_VK_NUMPAD1, 0},
    {"trovik/turn_left_fast", "Turn left fast", XPLM_VK_NUMPAD1, xplm_ShiftFlag},
    {"trovik/turn_right", "Turn right", XPLM_VK_NUMPAD3, 0},
    {"trovik/turn_right_fast", "Turn right fast", XPLM_VK_NUMPAD3, xplm_ShiftFlag},
    {"trovik/roll_left", "Roll left", XPLM_VK_NUMPAD7, 0},
    {"trovik/roll_left_fast", "Roll left fast", XPLM_VK_NUMPAD7, xplm_ShiftFlag},
    {"trovik/roll_right", "Roll right", XPLM_VK_NUMPAD9, 0},
    {"trovik/roll_right_fast", "Roll right fast", XPLM_VK_NUMPAD9, xplm_ShiftFlag},
    {"trovik/face_north", "Face north", XPLM_VK_NUMPAD5, 0},
    {"trovik/level", "Face north and level the wings and nose", XPLM_VK_NUMPAD5, xplm_ShiftFlag},
    {"trovik/down", "Slew down", XPLM_VK_F2, 0},
    {"trovik/down_fast", "Slew down fast", XPLM_VK_F1, 0},
    {"trovik/up", "Slew up", XPLM_VK_F3, 0},
    {"trovik/up_fast", "Slew up fast", XPLM_VK_F4, 0},
    {"trovik/nose_up", "Pitch nose up", XPLM_VK_F6, 0},
    {"trovik/nose_up_fast", "Pitch nose up fast", XPLM_VK_F5, 0},
    {"trovik/nose_down", "Pitch nose down", XPLM_VK_F7, 0},
    {"trovik/nose_down_fast", "Pitch nose down fast", XPLM_VK_F8, 0},
    {"trovik/top_down_view", "Top-down view", XPLM_VK_S, 0},
};

class CommandsTest : public PluginTest {
  protected:
    static XPLMCommandRef Ref(const char* name) { return host().findCommand(name); }

    const hostsim::Menu& Submenu() {
        const hostsim::Menu* plugins = host().menu(host().pluginsMenu());
        const hostsim::Menu* ours = host().menu(plugins->items.at(0).submenu);
        EXPECT_NE(ours, nullptr);
        return *ours;
    }

    // "Slew mode"'s check and whether "Top-down view" can be picked, as the user sees them.
    std::pair<int, bool> MenuState() {
        const hostsim::Menu& m = Submenu();
        return {m.items.at(0).check, m.items.at(1).enabled};
    }

    void Place(double y, float agl, float psi) {
        host().setDouble(Pos("local_x"), -1234.5678);
        host().setDouble(Pos("local_y"), y);
        host().setDouble(Pos("local_z"), 9876.125);
        host().setFloat(Pos("y_agl"), agl);
        host().setFloat(Pos("psi"), psi);
        host().setFloat(Pos("theta"), 2.5f);
        host().setFloat(Pos("phi"), -1.25f);
    }

    // Everything that is not a read: what the plug-in changed.
    static Calls Writes() {
        Calls out;
        for (const std::string& c : host().recorder.strings()) {
            if (c.rfind("XPLMGetData", 0) != 0)
                out.push_back(c);
        }
        return out;
    }
};

const std::pair<int, bool> kOffInMenu{xplm_Menu_Unchecked, false};
const std::pair<int, bool> kOnInMenu{xplm_Menu_Checked, true};

TEST_F(CommandsTest, StartPublishesEveryCommandWithOneHandlerAndBuildsTheMenu) {
    plugin.unload();  // to see the start from its first call
    host().reset();
    std::string error;
    ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
    Calls created;
    for (const hostsim::Call& c : host().recorder.calls) {
        if (c.fn == "XPLMCreateCommand")
            created.push_back(c.args[0].text + ": " + c.args[1].text);
    }
    Calls expected;
    for (const Published& p : kPublished)
        expected.push_back(std::string(p.name) + ": " + p.description);
    EXPECT_EQ(created, expected);

    const std::vector<hostsim::CommandHandler> handlers = host().commandHandlers();
    ASSERT_EQ(handlers.size(), std::size(kPublished));
    for (size_t i = 0; i < handlers.size(); ++i) {
        EXPECT_EQ(handlers[i].command, Ref(kPublished[i].name));
        EXPECT_EQ(handlers[i].callback, handlers[0].callback);
        EXPECT_EQ(handlers[i].before, 1);
        EXPECT_EQ(handlers[i].refcon, nullptr);
    }

    const hostsim::Menu* plugins = host().menu(host().pluginsMenu());
    ASSERT_EQ(plugins->items.size(), 1u);
    EXPECT_EQ(plugins->items[0].name, "Trovik");
    const hostsim::Menu& ours = Submenu();
    ASSERT_EQ(ours.items.size(), 2u);
    EXPECT_EQ(ours.items[0].name, "Slew mode");
    EXPECT_EQ(ours.items[0].command, Ref("trovik/toggle"));
    EXPECT_EQ(ours.items[1].name, "Top-down view");
    EXPECT_EQ(ours.items[1].command, Ref("trovik/top_down_view"));
    EXPECT_EQ(MenuState(), kOffInMenu);
}

TEST_F(CommandsTest, EachCommandReadsAndWritesExactlyWhatItsKeyDoes) {
    DownY();
    // In flight at an awkward heading; near the ground, where the descents' floors and the
    // ground snap decide; and just above F1's floor.
    const struct {
        double y;
        float agl, psi;
    } places[] = {{1500.25, 1068.0f, 123.4f}, {432.0f, 0.03f, 271.5f}, {5.0, 2.95f, 30.0f}};
    for (const Published& p : kPublished) {
        if (p.key == 0)
            continue;
        for (const auto& at : places) {
            Place(at.y, at.agl, at.psi);
            host().recorder.clear();
            host().keyEvent(0, xplm_DownFlag | p.flags, static_cast<char>(p.key));
            const Calls byKey = host().recorder.strings();
            host().changeView();

            Place(at.y, at.agl, at.psi);
            host().recorder.clear();
            host().commandBegin(Ref(p.name));
            EXPECT_EQ(host().recorder.strings(), byKey) << p.name << " at y " << at.y;
            host().recorder.clear();
            host().commandEnd(Ref(p.name));
            EXPECT_EQ(host().recorder.strings(), Calls{}) << p.name << ": End does nothing";
            host().changeView();
        }
    }
}

TEST_F(CommandsTest, HeldCommandsStepOncePerFrameButToggleAndViewOnlyOnBegin) {
    Place(100.0, 50.0f, 0.0f);
    host().commandBegin(Ref("trovik/toggle"));
    for (int frame = 0; frame < 3; ++frame)
        host().commandFrame();
    host().commandEnd(Ref("trovik/toggle"));
    EXPECT_EQ(HotKeyMaster(), 1) << "holding the toggle must not flicker the mode";

    host().commandBegin(Ref("trovik/turn_right"));
    EXPECT_EQ(host().getFloat(Pos("psi")), 0.150000006f);
    for (int frame = 0; frame < 3; ++frame)
        host().commandFrame();
    host().commandEnd(Ref("trovik/turn_right"));
    EXPECT_EQ(BitsOf(host().getFloat(Pos("psi"))), BitsOf(0.600000024f));

    host().recorder.clear();
    host().commandBegin(Ref("trovik/top_down_view"));
    host().commandFrame();
    host().commandFrame();
    host().commandEnd(Ref("trovik/top_down_view"));
    EXPECT_EQ(host().recorder.count("XPLMCommandButtonPress"), 1u);
    EXPECT_EQ(host().recorder.count("XPLMControlCamera"), 1u);
}

TEST_F(CommandsTest, WithSlewModeOffOnlyTheToggleDoesAnything) {
    Place(100.0, 50.0f, 10.0f);
    for (const Published& p : kPublished) {
        if (p.key == 0)
            continue;
        host().recorder.clear();
        host().commandBegin(Ref(p.name));
        host().commandFrame();
        host().commandEnd(Ref(p.name));
        EXPECT_EQ(Writes(), Calls{}) << p.name;
    }
    EXPECT_FALSE(host().pickMenuItem("Top-down view")) << "greyed out";
    EXPECT_FALSE(host().cameraControlled());
    host().commandOnce(Ref("trovik/toggle"));
    EXPECT_EQ(HotKeyMaster(), 1);
    EXPECT_EQ(host().getInt(kOverride, 0), 1);
    EXPECT_EQ(host().windows().size(), 1u) << "the overlay, as with the hot key";
}

TEST_F(CommandsTest, MenuFollowsEveryPathThatChangesTheMode) {
    EXPECT_EQ(MenuState(), kOffInMenu);
    DownY();
    EXPECT_EQ(MenuState(), kOnInMenu);
    host().commandOnce(Ref("trovik/toggle"));
    EXPECT_EQ(MenuState(), kOffInMenu);
    EXPECT_TRUE(host().pickMenuItem("Slew mode"));
    EXPECT_EQ(HotKeyMaster(), 1);
    EXPECT_EQ(MenuState(), kOnInMenu);
    EXPECT_TRUE(host().pickMenuItem("Top-down view"));
    EXPECT_TRUE(host().cameraControlled());
    plugin.XPluginDisable();
    EXPECT_EQ(MenuState(), kOffInMenu);
    EXPECT_EQ(plugin.XPluginEnable(), 1);
    EXPECT_EQ(MenuState(), kOffInMenu);

    // Stop unchecks the item before it takes the menu away.
    DownY();
    host().recorder.clear();
    plugin.unload();
    const Calls menu = host().recorder.only({"XPLMCheckMenuItem", "XPLMDestroyMenu"});
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_NE(menu[0].find(", 0, 1)"), std::string::npos) << menu[0];
}

TEST_F(CommandsTest, DisableEndsSlewModeAndGivesBackACameraItStillHolds) {
    DownY();
    host().pressKey(XPLM_VK_S);
    host().recorder.clear();
    plugin.XPluginDisable();
    EXPECT_EQ(HotKeyMaster(), 0);
    EXPECT_EQ(host().getInt(kOverride, 0), 0);
    EXPECT_TRUE(host().windows().empty());
    EXPECT_EQ(host().recorder.count("XPLMDontControlCamera"), 1u);
    EXPECT_FALSE(host().cameraControlled());
    EXPECT_EQ(plugin.XPluginEnable(), 1);
    EXPECT_EQ(HotKeyMaster(), 0) << "enable changes nothing";

    // A camera the simulator took back is not given back again (the host reports that).
    DownY();
    host().pressKey(XPLM_VK_S);
    host().changeView();
    plugin.XPluginDisable();
    EXPECT_EQ(HotKeyMaster(), 0);
    plugin.XPluginEnable();

    // With slew mode off, disable does nothing, even to a camera still held.
    DownY();
    host().pressKey(XPLM_VK_S);
    DownY();
    host().recorder.clear();
    plugin.XPluginDisable();
    EXPECT_EQ(host().recorder.strings(), Calls{});
    EXPECT_TRUE(host().cameraControlled());
    plugin.XPluginEnable();
}

TEST_F(CommandsTest, StopLeavesNoHandlerMenuOrItemAndStartsAgainCleanly) {
    for (int cycle = 0; cycle < 3; ++cycle) {
        DownY();
        host().pressKey(XPLM_VK_S);
        plugin.unload();
        EXPECT_TRUE(host().commandHandlers().empty());
        ASSERT_EQ(host().menus().size(), 1u) << "only the simulator's Plugins menu";
        EXPECT_TRUE(host().menus()[0].items.empty());
        std::string error;
        ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
        EXPECT_EQ(host().commandHandlers().size(), std::size(kPublished));
        EXPECT_EQ(host().menus().size(), 2u);
        EXPECT_EQ(MenuState(), kOffInMenu);
    }
    EXPECT_EQ(host().findCommand("trovik/level"), host().commandHandlers()[18].command)
        << "the commands outlive the plug-in and are found again by name";
}

}  // namespace
}  // namespace trovik_test
