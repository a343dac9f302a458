// The Trovik submenu of the Plugins menu. Its items run the commands that the commands module
// hands over by role when it builds the menu, so the menu shows the keys a user bound to them.
#ifndef TROVIK_MENU_H
#define TROVIK_MENU_H

#include "host/xplm.h"
#include "settings.h"

// What a command is to the menu: the item that runs it, if any.
enum class MenuRole {
    kNone,
    kSlewMode,
    kTopDownView,
    kJoystickSlew,
    kFaster,
    kSlower,
    kOneStepPerTap,
    kSlewKeys,
    kHotKey,
    // The Places submenu's.
    kBackToStart,
    kGoTo1,
    kSave1 = kGoTo1 + kPlaces,
    kCount = kSave1 + kPlaces
};
constexpr MenuRole GoToRole(int number) {
    return static_cast<MenuRole>(static_cast<int>(MenuRole::kGoTo1) + number - 1);
}
constexpr MenuRole SaveRole(int number) {
    return static_cast<MenuRole>(static_cast<int>(MenuRole::kSave1) + number - 1);
}
constexpr int kMenuRoles = static_cast<int>(MenuRole::kCount);

// The command each item runs, indexed by its role.
using MenuCommands = XPLMCommandRef[kMenuRoles];

// Builds the submenu and shows slew mode and every choice as they stand.
void CreateMenu(const MenuCommands& commands, bool slewModeOn);

// Removes the submenu and its Plugins-menu item.
void DestroyMenu();

// "Slew mode" checked and "Top-down view" enabled exactly while slew mode is on.
void ShowSlewModeInMenu(bool on);

// The choice's item checked exactly while it is on.
void ShowChoiceInMenu(Choice choice);

// Place `number`'s item named for it ("Go to 1: LSZH", "Go to 1", "Go to 1 (empty)"), and
// enabled only when it is saved.
void ShowPlaceInMenu(int number);

#endif  // TROVIK_MENU_H
