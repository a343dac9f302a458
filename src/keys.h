// The keyboard: the key sniffer that turns the keypad, F1 to F8 and S into slew actions while
// slew mode is on, unless the user left those keys to the simulator. (The Y hot key is slew
// mode's own.)
#ifndef TROVIK_KEYS_H
#define TROVIK_KEYS_H

#include "host/xplm.h"

int MyKeySniffer(char inChar, XPLMKeyFlags inFlags, char inVirtualKey, void* inRefcon);

#endif  // TROVIK_KEYS_H
