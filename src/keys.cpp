#include "keys.h"

#include "action_table.h"
#include "settings.h"
#include "slew_actions.h"
#include "slew_mode.h"

namespace {

signed char gVirtualKey = 0;
int gFlags = 0;

}  // namespace

int MyKeySniffer(char /*inChar*/, XPLMKeyFlags inFlags, char inVirtualKey, void* /*inRefcon*/) {
    // Left to the simulator: every key passes on as if we were not here, in slew mode or not.
    if (!Chosen(Choice::kSlewKeys))
        return 1;
    gVirtualKey = static_cast<signed char>(inVirtualKey);
    gFlags = inFlags;
    // Read before the mode test, on every event, so that each event costs the host the same reads
    // whatever the mode. By default neither the down nor the up bit is tested: holding a key
    // repeats the step, and a press and its release each perform it.
    const Snapshot aircraft = ReadSnapshot();
    const Action* action = ActionForKey(gVirtualKey, (gFlags & xplm_ShiftFlag) != 0);
    // A key that is none of ours, or slew mode off (another plug-in may just have let the
    // aircraft go): the key passes on untouched.
    if (action == nullptr || !ReconcileSlewMode())
        return 1;
    // One step per tap: the press and its repeats step, the release is still ours but does
    // nothing (the simulator must not act on it either).
    if ((gFlags & xplm_UpFlag) == 0 || !Chosen(Choice::kOneStepPerTap))
        action->step(aircraft, action->fast);
    // Consumed, so that the simulator does not act on the key as well; S excepted.
    return action->key.passesOn ? 1 : 0;
}
