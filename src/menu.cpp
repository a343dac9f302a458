#include "menu.h"

namespace {

XPLMMenuID gMenu = nullptr;
int gPluginsItem = -1;  // our item in the Plugins menu, which carries gMenu
int gSlewModeItem = -1;
int gTopDownViewItem = -1;
int gJoystickSlewItem = -1;

XPLMMenuCheck Check(bool on) {
    return on ? xplm_Menu_Checked : xplm_Menu_Unchecked;
}

}  // namespace

void CreateMenu(const MenuCommands& commands, bool slewModeOn, bool joystickSlewOn) {
    XPLMMenuID plugins = XPLMFindPluginsMenu();
    gPluginsItem = XPLMAppendMenuItem(plugins, "Trovik", nullptr, 0);
    gMenu = XPLMCreateMenu("Trovik", plugins, gPluginsItem, nullptr, nullptr);
    gSlewModeItem = XPLMAppendMenuItemWithCommand(gMenu, "Slew mode", commands.slewMode);
    gTopDownViewItem = XPLMAppendMenuItemWithCommand(gMenu, "Top-down view", commands.topDownView);
    gJoystickSlewItem =
        XPLMAppendMenuItemWithCommand(gMenu, "Joystick slew", commands.joystickSlew);
    XPLMAppendMenuItemWithCommand(gMenu, "Slew faster", commands.faster);
    XPLMAppendMenuItemWithCommand(gMenu, "Slew slower", commands.slower);
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
    XPLMCheckMenuItem(gMenu, gSlewModeItem, Check(on));
    XPLMEnableMenuItem(gMenu, gTopDownViewItem, on ? 1 : 0);
}

void ShowJoystickSlewInMenu(bool on) {
    if (gMenu != nullptr)
        XPLMCheckMenuItem(gMenu, gJoystickSlewItem, Check(on));
}
