// The keyboard: the Y hot key that switches slew mode, and the key sniffer that turns the
// keypad, F1 to F8 and S into slew actions while slew mode is on.
#ifndef TROVIK_KEYS_H
#define TROVIK_KEYS_H

#include "host/xplm.h"

void MyHotKeyCallback(void* inRefcon);

int MyKeySniffer(char inChar, XPLMKeyFlags inFlags, char inVirtualKey, void* inRefcon);

#endif  // TROVIK_KEYS_H
