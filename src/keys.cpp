#include "keys.h"

#include "slew_actions.h"
#include "slew_mode.h"

namespace {

signed char gVirtualKey = 0;
int gFlags = 0;

// The event is consumed: the simulator does not act on the key as well. If the aircraft is no
// longer ours (another plug-in let it go), the key passes on untouched.
int Consume(SlewAction action, bool fast, const Snapshot& a) {
    if (!SlewModeHeld())
        return 1;
    PerformSlewAction(action, fast, a);
    return 0;
}

// Returns the sniffer's result for a listed key, or 1 for one that is not listed.
int Command(const Snapshot& a) {
    const bool shift = (gFlags & xplm_ShiftFlag) != 0;
    switch (gVirtualKey) {
        case XPLM_VK_S:
            if (SlewModeHeld())
                PerformSlewAction(kTopDownView, shift, a);
            return 1;  // the simulator still sees S
        case XPLM_VK_NUMPAD1:
            return Consume(kTurnLeft, shift, a);
        case XPLM_VK_NUMPAD2:
            return Consume(kSlewBackward, shift, a);
        case XPLM_VK_NUMPAD3:
            return Consume(kTurnRight, shift, a);
        case XPLM_VK_NUMPAD4:
            return Consume(kSlewLeft, shift, a);
        case XPLM_VK_NUMPAD5:
            return Consume(kFaceNorth, shift, a);
        case XPLM_VK_NUMPAD6:
            return Consume(kSlewRight, shift, a);
        case XPLM_VK_NUMPAD7:
            return Consume(kRollLeft, shift, a);
        case XPLM_VK_NUMPAD8:
            return Consume(kSlewForward, shift, a);
        case XPLM_VK_NUMPAD9:
            return Consume(kRollRight, shift, a);
        // The function keys come in pairs, the outer key of each pair the fast one.
        case XPLM_VK_F1:
            return Consume(kSlewDown, true, a);
        case XPLM_VK_F2:
            return Consume(kSlewDown, false, a);
        case XPLM_VK_F3:
            return Consume(kSlewUp, false, a);
        case XPLM_VK_F4:
            return Consume(kSlewUp, true, a);
        case XPLM_VK_F5:
            return Consume(kNoseUp, true, a);
        case XPLM_VK_F6:
            return Consume(kNoseUp, false, a);
        case XPLM_VK_F7:
            return Consume(kNoseDown, false, a);
        case XPLM_VK_F8:
            return Consume(kNoseDown, true, a);
        default:
            return 1;
    }
}

}  // namespace

void MyHotKeyCallback(void* /*inRefcon*/) {
    ToggleSlewMode();
}

int MyKeySniffer(char /*inChar*/, XPLMKeyFlags inFlags, char inVirtualKey, void* /*inRefcon*/) {
    gVirtualKey = static_cast<signed char>(inVirtualKey);
    gFlags = inFlags;
    // Read before the mode test (each listed key asks whether slew mode holds the aircraft), on
    // every event, so that each event costs the host the same reads whatever the mode. Neither
    // the down nor the up bit is tested: holding a key repeats the command, and a press and its
    // release each perform it.
    return Command(ReadSnapshot());
}
