#include "commands.h"

#include "action_table.h"
#include "frame_clock.h"
#include "menu.h"
#include "settings.h"
#include "slew_mode.h"

namespace {

// Before the simulator's own handling, which our commands do not have anyway.
constexpr int kBefore = 1;

// Each row's command, as the simulator made it.
XPLMCommandRef gCommandRefs[kActionCount];

// A slew action: the key's step at the press, and a held one's share of each frame after it.
void Slew(const Action& action, bool begin) {
    // Read as a key event reads, whatever the mode.
    const Snapshot aircraft = ReadSnapshot();
    if (!ReconcileSlewMode())
        return;
    if (begin) {
        action.step(aircraft, action.fast);
        return;
    }
    const FrameShare share = ShareOf(action, FrameSeconds(), SpeedFactor());
    if (share.amount() > 0.0)
        action.held.frame(aircraft, share);
}

}  // namespace

int MyCommandHandler(XPLMCommandRef inCommand, XPLMCommandPhase inPhase, void* /*inRefcon*/) {
    for (int i = 0; i < kActionCount; ++i) {
        if (gCommandRefs[i] != inCommand)
            continue;
        const Action& action = kActions[i];
        // Toggles and steps act at the press alone: holding the binding must not flicker the
        // mode or retake the camera every frame. A held slew action goes on at every Continue.
        const bool begin = inPhase == xplm_CommandBegin;
        const bool held = inPhase == xplm_CommandContinue && action.held.frame != nullptr;
        if (begin && action.kind == Kind::kCommand) {
            action.act();
        } else if (begin || held) {
            Slew(action, begin);
        }
        break;
    }
    // Every phase goes on: another plug-in that listens to our commands still hears them.
    return 1;
}

void CreateCommandsAndMenu() {
    MenuCommands menu = {};
    for (int i = 0; i < kActionCount; ++i) {
        gCommandRefs[i] = XPLMCreateCommand(kActions[i].command, kActions[i].description);
        XPLMRegisterCommandHandler(gCommandRefs[i], MyCommandHandler, kBefore, nullptr);
        if (kActions[i].menu != MenuRole::kNone)
            menu[static_cast<int>(kActions[i].menu)] = gCommandRefs[i];
    }
    CreateMenu(menu, SlewModeOn());
}

void RemoveCommandsAndMenu() {
    for (int i = 0; i < kActionCount; ++i)
        XPLMUnregisterCommandHandler(gCommandRefs[i], MyCommandHandler, kBefore, nullptr);
    DestroyMenu();
}
