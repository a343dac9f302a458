#include "menu.h"

#include <stdio.h>

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

// Every role before the Places submenu's has one item here; the submenu makes its own.
constexpr bool EveryRoleOnce() {
    for (int role = 1; role < kMenuRoles; ++role) {
        int items = 0;
        for (const Item& item : kItems)
            items += static_cast<int>(item.role) == role ? 1 : 0;
        if (items != (role < static_cast<int>(MenuRole::kBackToStart) ? 1 : 0))
            return false;
    }
    return true;
}
static_assert(EveryRoleOnce(), "one item for every role");

XPLMMenuID gMenu = nullptr;
XPLMMenuID gPlaces = nullptr;  // the Places submenu, whose items' indices gIndex holds too
int gPluginsItem = -1;         // our item in the Plugins menu, which carries gMenu
// Each role's index in gMenu.
int gIndex[kMenuRoles] = {};

XPLMMenuCheck Check(bool on) {
    return on ? xplm_Menu_Checked : xplm_Menu_Unchecked;
}

int Index(MenuRole role) {
    return gIndex[static_cast<int>(role)];
}

void PlaceName(int number, char (&name)[40]) {
    const Place& p = SavedPlace(number);
    if (!p.saved)
        snprintf(name, sizeof name, "Go to %d (empty)", number);
    else if (p.airport[0] != '\0')
        snprintf(name, sizeof name, "Go to %d: %s", number, p.airport);
    else
        snprintf(name, sizeof name, "Go to %d", number);
}

// Back to start, going to each place, then saving each.
void CreatePlacesMenu(const MenuCommands& commands) {
    const int item = XPLMAppendMenuItem(gMenu, "Places", nullptr, 0);
    gPlaces = XPLMCreateMenu("Places", gMenu, item, nullptr, nullptr);
    const auto append = [&](MenuRole role, const char* name) {
        gIndex[static_cast<int>(role)] =
            XPLMAppendMenuItemWithCommand(gPlaces, name, commands[static_cast<int>(role)]);
    };
    append(MenuRole::kBackToStart, "Back to start");
    for (int n = 1; n <= kPlaces; ++n) {
        char name[40];
        PlaceName(n, name);
        append(GoToRole(n), name);
        XPLMEnableMenuItem(gPlaces, Index(GoToRole(n)), SavedPlace(n).saved ? 1 : 0);
    }
    XPLMAppendMenuSeparator(gPlaces);
    for (int n = 1; n <= kPlaces; ++n) {
        char name[40];
        snprintf(name, sizeof name, "Save place %d", n);
        append(SaveRole(n), name);
    }
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
    XPLMAppendMenuSeparator(gMenu);
    CreatePlacesMenu(commands);
    ShowSlewModeInMenu(slewModeOn);
    for (const Item& item : kItems) {
        if (item.choice != kNoChoice)
            ShowChoiceInMenu(item.choice);
    }
}

void DestroyMenu() {
    if (gMenu == nullptr)
        return;
    XPLMDestroyMenu(gPlaces);
    gPlaces = nullptr;
    XPLMDestroyMenu(gMenu);
    XPLMRemoveMenuItem(XPLMFindPluginsMenu(), gPluginsItem);
    gMenu = nullptr;
}

void ShowSlewModeInMenu(bool on) {
    if (gMenu == nullptr)
        return;
    XPLMCheckMenuItem(gMenu, Index(MenuRole::kSlewMode), Check(on));
    XPLMEnableMenuItem(gMenu, Index(MenuRole::kTopDownView), on ? 1 : 0);
    XPLMEnableMenuItem(gPlaces, Index(MenuRole::kBackToStart), on ? 1 : 0);
}

void ShowPlaceInMenu(int number) {
    if (gPlaces == nullptr || number < 1 || number > kPlaces)
        return;
    char name[40];
    PlaceName(number, name);
    XPLMSetMenuItemName(gPlaces, Index(GoToRole(number)), name, 0);
    XPLMEnableMenuItem(gPlaces, Index(GoToRole(number)), SavedPlace(number).saved ? 1 : 0);
}

void ShowChoiceInMenu(Choice choice) {
    if (gMenu == nullptr)
        return;
    for (const Item& item : kItems) {
        if (item.choice == choice)
            XPLMCheckMenuItem(gMenu, Index(item.role), Check(Chosen(choice)));
    }
}
