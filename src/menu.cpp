#include "menu.h"

namespace {

// The items, top to bottom.
struct Item {
    MenuRole role;
    const char* name;
};
constexpr Item kItems[] = {
    {MenuRole::kSlewMode, "Slew mode"},         {MenuRole::kTopDownView, "Top-down view"},
    {MenuRole::kJoystickSlew, "Joystick slew"}, {MenuRole::kFaster, "Slew faster"},
    {MenuRole::kSlower, "Slew slower"},
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

void CreateMenu(const MenuCommands& commands, bool slewModeOn, bool joystickSlewOn) {
    XPLMMenuID plugins = XPLMFindPluginsMenu();
    gPluginsItem = XPLMAppendMenuItem(plugins, "Trovik", nullptr, 0);
    gMenu = XPLMCreateMenu("Trovik", plugins, gPluginsItem, nullptr, nullptr);
    for (const Item& item : kItems) {
        const int role = static_cast<int>(item.role);
        gIndex[role] = XPLMAppendMenuItemWithCommand(gMenu, item.name, commands[role]);
    }
    ShowSlewModeInMenu(slewModeOn);
    ShowJoystickSlewInMenu(joystickSlewOn);
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

void ShowJoystickSlewInMenu(bool on) {
    if (gMenu != nullptr)
        XPLMCheckMenuItem(gMenu, Index(MenuRole::kJoystickSlew), Check(on));
}
