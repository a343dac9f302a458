#include "action_table.h"

#include "settings.h"

namespace {

constexpr bool Same(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// Every row is named and described; only a slew action has a key or is held, and a held one
// goes at rates above zero. (That each has the function its kind calls, Slew() and Command()
// see to.)
constexpr bool Complete(const Action& a) {
    const bool slew = a.kind == Kind::kSlew;
    const bool held = a.held.fine > 0.0 && a.held.fast > 0.0;
    return a.command != nullptr && a.description != nullptr && *a.description != '\0' &&
           (slew || a.key.virtualKey == 0) &&
           (held ? slew : a.held.fine == 0.0 && a.held.fast == 0.0);
}

// No two rows share a command name, a key event or a menu item.
constexpr bool Apart(const Action& a, const Action& b) {
    const bool sameKey = a.key.virtualKey != 0 && a.key.virtualKey == b.key.virtualKey &&
                         (a.key.shift == Shift::kEither || b.key.shift == Shift::kEither ||
                          a.key.shift == b.key.shift);
    return !Same(a.command, b.command) && !sameKey &&
           (a.menu == MenuRole::kNone || a.menu != b.menu);
}

constexpr bool EveryRowComplete() {
    for (int i = 0; i < kActionCount; ++i) {
        if (!Complete(kActions[i]))
            return false;
        for (int j = i + 1; j < kActionCount; ++j) {
            if (!Apart(kActions[i], kActions[j]))
                return false;
        }
    }
    return true;
}
static_assert(EveryRowComplete(), "every action complete, each name, key and menu item once");

constexpr bool EveryMenuItemHasACommand() {
    for (int role = 1; role < kMenuRoles; ++role) {
        bool found = false;
        for (const Action& a : kActions)
            found = found || static_cast<int>(a.menu) == role;
        if (!found)
            return false;
    }
    return true;
}
static_assert(EveryMenuItemHasACommand(), "a command for every item of the menu");

}  // namespace

namespace {

void Toggle(Choice choice) {
    Choose(choice, !Chosen(choice));
    ShowChoiceInMenu(choice);
}

}  // namespace

void ToggleJoystickSlew() {
    Toggle(Choice::kJoystickSlew);
}

void ToggleOneStepPerTap() {
    Toggle(Choice::kOneStepPerTap);
}

void ToggleSlewKeys() {
    Toggle(Choice::kSlewKeys);
}

// The menu item and the command stay, so Y can always be had back.
void ToggleHotKey() {
    Toggle(Choice::kHotKey);
    UseHotKey(Chosen(Choice::kHotKey));
}

void SavePlaceNumber(int number) {
    SaveHere(number);
    ShowPlaceInMenu(number);
}

void GoToPlaceNumber(int number) {
    if (!SavedPlace(number).saved)
        return;
    if (!SlewModeOn())
        ToggleSlewMode();
    if (ReconcileSlewMode())
        GoThere(number);
}

void Faster() {
    FasterOrSlower(true);
}

void Slower() {
    FasterOrSlower(false);
}

const Action* ActionForKey(int virtualKey, bool shift) {
    for (const Action& a : kActions) {
        if (a.key.virtualKey == 0 || a.key.virtualKey != virtualKey)
            continue;
        if (a.key.shift == Shift::kEither || (a.key.shift == Shift::kWith) == shift)
            return &a;
    }
    return nullptr;
}

FrameShare ShareOf(const Action& action, double seconds, double factor) {
    const double scale = action.held.scaled ? factor : 1.0;
    return {action.held.fine * scale * seconds, action.held.fast * scale * seconds, action.fast};
}
