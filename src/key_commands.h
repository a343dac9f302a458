// The slew actions and the key sniffer that performs them: the keypad, F1 to F8 and S place the
// user's aircraft while slew mode is on. The simulator commands perform the same actions.
#ifndef TROVIK_KEY_COMMANDS_H
#define TROVIK_KEY_COMMANDS_H

#include "host/xplm.h"

// Each action has a fine and a fast form: Shift on the keypad, or the second key of a pair of
// function keys. Fast north also levels the wings and the nose.
enum SlewAction {
    kSlewForward,
    kSlewBackward,
    kSlewLeft,
    kSlewRight,
    kTurnLeft,
    kTurnRight,
    kRollLeft,
    kRollRight,
    kFaceNorth,
    kSlewDown,
    kSlewUp,
    kNoseUp,
    kNoseDown,
    kTopDownView,
    kSlewActionCount
};

// Reads the aircraft as a key event does and, in slew mode, performs the action exactly as its
// key would: the same reads, the same writes in the same order.
void PerformSlewAction(SlewAction action, bool fast);

int MyKeySniffer(char inChar, XPLMKeyFlags inFlags, char inVirtualKey, void* inRefcon);

// The ground snap, exported by name for other plug-ins.
extern "C" void check_AGL(float y, float agl);

#endif  // TROVIK_KEY_COMMANDS_H
