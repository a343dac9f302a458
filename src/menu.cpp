#include "menu.h"

namespace {

// The items, top to bottom: the mode and the view, how slewing goes, then behind a separator the
// choices of which keys are Trovik's. A choice's item carries its check mark.
constexpr Choice kNoChoice = Choice::kCount;
struct Item {
    MenuRole role;
    const char* name;
    Choice choice;
    bool separatorBefore;
};
constexpr Item kItems[] = {
    {MenuRole::kSlewMode, "Slew mode", kNoChoice, false},
    {MenuRole::kTopDownView, "Top-down view", kNoChoice, false},
    {MenuRole::kJoystickSlew, "Joystick slew", Choice::kJoystickSlew, false},
    {MenuRole::kFaster, "Slew faster", kNoChoice, false},
    {MenuRole::kSlower, "Slew slower", kNoChoice, false},
    {MenuRole::kOneStepPerTap, "One step per tap", Choice::kOneStepPerTap, true},
    {MenuRole::kSlewKeys, "Keypad and F-keys", Choice::kSlewKeys, false},
    {MenuRole::kHotKey, "Y toggles slew mode", Choice::kHotKey, false},
};

constexpr bool EveryRoleOnce() {
    for (int role = 1; role < kMenuRoles; ++role) {
        int items = 0;
        for (const Item& item : kItems)
            items += static_cast<int>(item.role) == role ? 1 : 0;
        if (items != 1)
            return false;
    }
    return true;
}
static_assert(EveryRoleOnce(), "one item for every role");

XPLMMenuID gMenu = nullptr;
int gPluginsItem = -1;  // our item in the Plugins menu, which carries gMenu
// Each role's index in gMenu.
int gIndex[kMenuRoles] = {};

XPLMMenuCheck Check(bool on) {
    return on ? xplm_Menu_Checked : xplm_Menu_Unchecked;
}

int Index(MenuRole role) {
    return gIndex[static_cast<int>(role)];
}

}  // namespace

void CreateMenu(const MenuCommands& commands, bool slewModeOn) {
    XPLMMenuID plugins = XPLMFindPluginsMenu();
    gPluginsItem = XPLMAppendMenuItem(plugins, "Trovik", nullptr, 0);
    gMenu = XPLMCreateMenu("Trovik", plugins, gPluginsItem, nullptr, nullptr);
    for (const Item& item : kItems) {
        const int role = static_cast<int>(item.role);
        if (item.separatorBefore)
            XPLMAppendMenuSeparator(gMenu);
        gIndex[role] = XPLMAppendMenuItemWithCommand(gMenu, item.name, commands[role]);
    }
    ShowSlewModeInMenu(slewModeOn);
    for (const Item& item : kItems) {
        if (item.choice != kNoChoice)
            ShowChoiceInMenu(item.choice);
    }
}

void DestroyMenu() {
    if (gMenu == nullptr)
        return;
    XPLMDestroyMenu(gMenu);
    XPLMRemoveMenuItem(XPLMFindPluginsMenu(), gPluginsItem);
    gMenu = nullptr;
}

void ShowSlewModeInMenu(bool on) {
    if (gMenu == nullptr)
        return;
    XPLMCheckMenuItem(gMenu, Index(MenuRole::kSlewMode), Check(on));
    XPLMEnableMenuItem(gMenu, Index(MenuRole::kTopDownView), on ? 1 : 0);
}

void ShowChoiceInMenu(Choice choice) {
    if (gMenu == nullptr)
        return;
    for (const Item& item : kItems) {
        if (item.choice == choice)
            XPLMCheckMenuItem(gMenu, Index(item.role), Check(Chosen(choice)));
    }
}
