// The simulator commands that publish every slew action, so that a user can bind them to any key
// or joystick button; the Trovik submenu of the Plugins menu runs them.
#ifndef TROVIK_COMMANDS_H
#define TROVIK_COMMANDS_H

#include "host/xplm.h"

int MyCommandHandler(XPLMCommandRef inCommand, XPLMCommandPhase inPhase, void* inRefcon);

// Creates the commands, registers their handler and builds the menu, showing slew mode off.
void CreateCommandsAndMenu();

// Unregisters every handler and removes the menu and its Plugins-menu item.
void RemoveCommandsAndMenu();

#endif  // TROVIK_COMMANDS_H
