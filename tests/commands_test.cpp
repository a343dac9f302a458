// The simulator commands and the Plugins menu: each command against its key, held commands,
// the menu's state along every path that changes the mode, disable, and what stop leaves.
#include <functional>

#include "support.h"

namespace trovik_test {
namespace {

class CommandsTest : public PluginTest {
  protected:
    static XPLMCommandRef Ref(const char* name) { return host().commands.find(name); }

    const hostsim::Menu& Submenu() {
        const hostsim::Menu* plugins = host().commands.menu(host().commands.pluginsMenu);
        const hostsim::Menu* ours = host().commands.menu(plugins->items.at(0).submenu);
        EXPECT_NE(ours, nullptr);
        return *ours;
    }

    // "Slew mode"'s check and whether "Top-down view" can be picked, as the user sees them.
    std::pair<int, bool> MenuState() {
        const hostsim::Menu& m = Submenu();
        return {m.items.at(0).check, m.items.at(1).enabled};
    }
};

const std::pair<int, bool> kOffInMenu{xplm_Menu_Unchecked, false};
const std::pair<int, bool> kOnInMenu{xplm_Menu_Checked, true};

TEST_F(CommandsTest, StartPublishesEveryCommandWithOneHandlerAndBuildsTheMenu) {
    // Made and registered in this order, one handler for all, before the simulator's own.
    const std::vector<hostsim::CommandHandler> handlers = host().commands.handlers;
    ASSERT_EQ(handlers.size(), std::size(kPublished));
    for (size_t i = 0; i < handlers.size(); ++i) {
        const hostsim::Command* command = host().commands.command(handlers[i].command);
        ASSERT_NE(command, nullptr);
        EXPECT_EQ(command->name + ": " + command->description,
                  std::string(kPublished[i].name) + ": " + kPublished[i].description);
        EXPECT_EQ(handlers[i].callback, handlers[0].callback);
        EXPECT_EQ(handlers[i].before, 1);
        EXPECT_EQ(handlers[i].refcon, nullptr);
        // Every phase goes on to whoever else listens.
        EXPECT_EQ(handlers[i].callback(handlers[i].command, xplm_CommandEnd, nullptr), 1);
    }

    const hostsim::Menu* plugins = host().commands.menu(host().commands.pluginsMenu);
    ASSERT_EQ(plugins->items.size(), 1u);
    EXPECT_EQ(plugins->items[0].name, "Trovik");
    // Each item runs its command; the choices show the defaults. Whether the separator takes an
    // index or not, which the SDK does not say, each check mark is on its own item.
    for (const bool indexed : {true, false}) {
        host().commands.separatorsIndexed = indexed;
        StopAndStart();
        Calls items;
        for (const hostsim::MenuItem& item : Submenu().items) {
            if (item.separator || item.submenu != nullptr) {
                items.push_back(item.separator ? "---" : item.name + " >");
                continue;
            }
            items.push_back(item.name + ": " + host().commands.command(item.command)->name +
                            ", check " + std::to_string(item.check) +
                            (item.enabled ? "" : ", greyed"));
        }
        EXPECT_EQ(items, Calls({"Slew mode: trovik/toggle, check 1",
                                "Top-down view: trovik/top_down_view, check 0, greyed",
                                "Joystick slew: trovik/joystick, check 2",
                                "Slew faster: trovik/faster, check 0",
                                "Slew slower: trovik/slower, check 0", "---",
                                "One step per tap: trovik/one_step_per_tap, check 1",
                                "Keypad and F-keys: trovik/slew_keys, check 2",
                                "Y toggles slew mode: trovik/hot_key, check 2", "---", "Places >"}))
            << indexed;
        EXPECT_EQ(host().recorder.misuses, Calls{});
    }
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
            Place(-1234.5678, at.y, 9876.125, at.agl, at.psi);
            host().recorder.clear();
            host().display.keyEvent(0, xplm_DownFlag | p.flags, static_cast<char>(p.key));
            const Calls byKey = host().recorder.strings();
            host().camera.changeView();

            Place(-1234.5678, at.y, 9876.125, at.agl, at.psi);
            host().recorder.clear();
            host().commands.begin(Ref(p.name));
            EXPECT_EQ(host().recorder.strings(), byKey) << p.name << " at y " << at.y;
            host().commands.end(Ref(p.name));
            host().camera.changeView();
        }
    }
}

TEST_F(CommandsTest, EveryCommandInEveryPhaseInAndOutOfSlewMode) {
    // Every command made, key or not: a slew action acts at its press and, held, at every
    // Continue, in slew mode only; a Continue to any other reads nothing; End does nothing.
    const std::vector<hostsim::CommandHandler> handlers = host().commands.handlers;
    ASSERT_EQ(handlers.size(), std::size(kPublished));
    for (size_t i = 0; i < handlers.size(); ++i) {
        const Published& p = kPublished[i];
        for (const bool on : {false, true}) {
            if ((HotKeyMaster() != 0) != on)
                DownY();
            Frame();
            Frame();  // the first frame of slew mode measures no time to move by
            Place(0.0, 1500.0, 0.0, 1068.0f, 10.0f);
            const auto phase = [](const std::function<void()>& run) {
                host().recorder.clear();
                run();
                return std::make_pair(host().recorder.strings(), !Effects().empty());
            };
            const auto pressed = phase([&] { host().commands.begin(handlers[i].command); });
            const auto held = phase([] { host().commands.frame(); });
            EXPECT_EQ(phase([&] { host().commands.end(handlers[i].command); }).first, Calls{})
                << p.name;
            if (p.acts != Acts::kAnyMode) {
                EXPECT_EQ(pressed.second, on) << p.name << (on ? " in" : " out of") << " slew mode";
                EXPECT_EQ(held.second, on && p.acts == Acts::kHeld) << p.name << " held";
            }
            if (p.acts != Acts::kHeld) {
                EXPECT_EQ(held.first, Calls{}) << p.name << ": a Continue reads nothing";
            }
            host().camera.changeView();
            if (p.acts == Acts::kAnyMode)
                host().commands.once(handlers[i].command);  // toggled back
        }
    }
}

TEST_F(CommandsTest, MenuFollowsEveryPathThatChangesTheMode) {
    EXPECT_EQ(MenuState(), kOffInMenu);
    DownY();
    EXPECT_EQ(MenuState(), kOnInMenu);
    host().commands.once(Ref("trovik/toggle"));
    EXPECT_EQ(MenuState(), kOffInMenu);
    EXPECT_TRUE(host().commands.pickMenuItem("Slew mode"));
    EXPECT_EQ(HotKeyMaster(), 1);
    EXPECT_EQ(MenuState(), kOnInMenu);
    EXPECT_TRUE(host().commands.pickMenuItem("Top-down view"));
    EXPECT_TRUE(host().camera.controlled());
    plugin.disable();
    EXPECT_EQ(MenuState(), kOffInMenu);
    EXPECT_EQ(plugin.enable(), 1);
    EXPECT_EQ(MenuState(), kOffInMenu);

    // Stop unchecks the item before it takes the menus away, the Places submenu first.
    DownY();
    host().recorder.clear();
    plugin.unload();
    const Calls menu = host().recorder.only({"XPLMCheckMenuItem", "XPLMDestroyMenu"});
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_NE(menu[0].find(", 0, 1)"), std::string::npos) << menu[0];
}

TEST_F(CommandsTest, DisableEndsSlewModeAndGivesBackACameraItStillHoldsInOrOutOfSlewMode) {
    DownY();
    host().display.pressKey(XPLM_VK_S);
    host().recorder.clear();
    EXPECT_EQ(plugin.XPluginEnable(), 1);
    EXPECT_EQ(host().recorder.strings(), Calls{}) << "enable changes nothing";
    plugin.disable();
    EXPECT_EQ(HotKeyMaster(), 0);
    EXPECT_EQ(host().datarefs.getInt(kOverride, 0), 0);
    EXPECT_TRUE(host().display.windows.empty());
    EXPECT_EQ(host().recorder.count("XPLMDontControlCamera"), 1u);
    EXPECT_FALSE(host().camera.controlled());
    EXPECT_EQ(plugin.enable(), 1);
    EXPECT_EQ(HotKeyMaster(), 0);

    // Slew mode off, the camera still held: disable gives it back too, and nothing else.
    DownY();
    host().display.pressKey(XPLM_VK_S);
    DownY();
    host().recorder.clear();
    plugin.disable();
    EXPECT_EQ(host().recorder.strings(),
              Calls({"XPLMIsCameraBeingControlled(null) = 1", "XPLMDontControlCamera()"}));
    EXPECT_FALSE(host().camera.controlled());
    plugin.enable();
}

}  // namespace
}  // namespace trovik_test
