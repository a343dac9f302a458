// The slew key commands: the keypad, F1 to F8 and S place the user's aircraft while slew mode
// is on. One key sniffer sees every key before the simulator's windows do.
#ifndef TROVIK_KEY_COMMANDS_H
#define TROVIK_KEY_COMMANDS_H

#include "host/xplm.h"

int MyKeySniffer(char inChar, XPLMKeyFlags inFlags, char inVirtualKey, void* inRefcon);

// The ground snap, exported by name for other plug-ins.
extern "C" void check_AGL(float y, float agl);

#endif  // TROVIK_KEY_COMMANDS_H
