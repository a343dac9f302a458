#include "commands.h"

#include "menu.h"
#include "settings.h"
#include "slew_actions.h"
#include "slew_mode.h"

namespace {

enum class Kind {
    kToggle,          // Begin only: holding the binding must not flicker the mode
    kToggleJoystick,  // Begin only, for the same reason
    kFaster,          // Begin only: one step of the speed factor a press
    kSlower,
    kOnce,  // Begin only: holding it must not retake the camera every frame
    kHeld,  // the key's step at Begin, then at every Continue a frame's worth of a
            // steady rate: a held button slews smoothly, at any frame rate
};

struct Command {
    const char* name;
    const char* description;  // shown in the simulator's keyboard and joystick settings
    Kind kind;
    SlewAction action;
    bool fast;
};

// Each row names an action of the key table and the form its key performs.
const Command kCommands[] = {
    {"trovik/toggle", "Toggle slew mode", Kind::kToggle, kSlewActionCount, false},
    {"trovik/forward", "Slew forward", Kind::kHeld, kSlewForward, false},
    {"trovik/forward_fast", "Slew forward fast", Kind::kHeld, kSlewForward, true},
    {"trovik/backward", "Slew backward", Kind::kHeld, kSlewBackward, false},
    {"trovik/backward_fast", "Slew backward fast", Kind::kHeld, kSlewBackward, true},
    {"trovik/left", "Slew left", Kind::kHeld, kSlewLeft, false},
    {"trovik/left_fast", "Slew left fast", Kind::kHeld, kSlewLeft, true},
    {"trovik/right", "Slew right", Kind::kHeld, kSlewRight, false},
    {"trovik/right_fast", "Slew right fast", Kind::kHeld, kSlewRight, true},
    {"trovik/turn_left", "Turn left", Kind::kHeld, kTurnLeft, false},
    {"trovik/turn_left_fast", "Turn left fast", Kind::kHeld, kTurnLeft, true},
    {"trovik/turn_right", "Turn right", Kind::kHeld, kTurnRight, false},
    {"trovik/turn_right_fast", "Turn right fast", Kind::kHeld, kTurnRight, true},
    {"trovik/roll_left", "Roll left", Kind::kHeld, kRollLeft, false},
    {"trovik/roll_left_fast", "Roll left fast", Kind::kHeld, kRollLeft, true},
    {"trovik/roll_right", "Roll right", Kind::kHeld, kRollRight, false},
    {"trovik/roll_right_fast", "Roll right fast", Kind::kHeld, kRollRight, true},
    {"trovik/face_north", "Face north", Kind::kOnce, kFaceNorth, false},
    {"trovik/level", "Face north and level the wings and nose", Kind::kOnce, kFaceNorth, true},
    {"trovik/down", "Slew down", Kind::kHeld, kSlewDown, false},
    {"trovik/down_fast", "Slew down fast", Kind::kHeld, kSlewDown, true},
    {"trovik/up", "Slew up", Kind::kHeld, kSlewUp, false},
    {"trovik/up_fast", "Slew up fast", Kind::kHeld, kSlewUp, true},
    {"trovik/nose_up", "Pitch nose up", Kind::kHeld, kNoseUp, false},
    {"trovik/nose_up_fast", "Pitch nose up fast", Kind::kHeld, kNoseUp, true},
    {"trovik/nose_down", "Pitch nose down", Kind::kHeld, kNoseDown, false},
    {"trovik/nose_down_fast", "Pitch nose down fast", Kind::kHeld, kNoseDown, true},
    {"trovik/top_down_view", "Top-down view", Kind::kOnce, kTopDownView, false},
    {"trovik/joystick", "Toggle joystick slew", Kind::kToggleJoystick, kSlewActionCount, false},
    {"trovik/faster", "Slew faster", Kind::kFaster, kSlewActionCount, false},
    {"trovik/slower", "Slew slower", Kind::kSlower, kSlewActionCount, false},
};
constexpr int kCommandCount = sizeof kCommands / sizeof kCommands[0];
constexpr int kToggleRow = 0;
constexpr int kTopDownViewRow = kCommandCount - 4;
constexpr int kJoystickRow = kCommandCount - 3;
constexpr int kFasterRow = kCommandCount - 2;
constexpr int kSlowerRow = kCommandCount - 1;

// Before the simulator's own handling, which our commands do not have anyway.
constexpr int kBefore = 1;

XPLMCommandRef gCommandRefs[kCommandCount];

}  // namespace

int MyCommandHandler(XPLMCommandRef inCommand, XPLMCommandPhase inPhase, void* /*inRefcon*/) {
    for (int i = 0; i < kCommandCount; ++i) {
        if (gCommandRefs[i] != inCommand)
            continue;
        const Command& command = kCommands[i];
        const bool begin = inPhase == xplm_CommandBegin;
        const bool held = inPhase == xplm_CommandContinue && command.kind == Kind::kHeld;
        if (begin && command.kind == Kind::kToggle) {
            ToggleSlewMode();
        } else if (begin && command.kind == Kind::kToggleJoystick) {
            ToggleJoystickSlew();
        } else if (begin && (command.kind == Kind::kFaster || command.kind == Kind::kSlower)) {
            FasterOrSlower(command.kind == Kind::kFaster);
        } else if (begin || held) {
            // Read as a key event reads, whatever the mode.
            const Snapshot aircraft = ReadSnapshot();
            if (SlewModeHeld()) {
                if (begin) {
                    PerformSlewAction(command.action, command.fast, aircraft);
                } else {
                    SlewForFrame(command.action, command.fast, aircraft, FrameSeconds(),
                                 SpeedFactor());
                }
            }
        }
        break;
    }
    // Every phase goes on: another plug-in that listens to our commands still hears them.
    return 1;
}

void CreateCommandsAndMenu() {
    for (int i = 0; i < kCommandCount; ++i) {
        gCommandRefs[i] = XPLMCreateCommand(kCommands[i].name, kCommands[i].description);
        XPLMRegisterCommandHandler(gCommandRefs[i], MyCommandHandler, kBefore, nullptr);
    }
    const MenuCommands menu = {gCommandRefs[kToggleRow], gCommandRefs[kTopDownViewRow],
                               gCommandRefs[kJoystickRow], gCommandRefs[kFasterRow],
                               gCommandRefs[kSlowerRow]};
    CreateMenu(menu, SlewModeOn(), JoystickSlewSetting());
}

void RemoveCommandsAndMenu() {
    for (int i = 0; i < kCommandCount; ++i)
        XPLMUnregisterCommandHandler(gCommandRefs[i], MyCommandHandler, kBefore, nullptr);
    DestroyMenu();
}
