#include "slew_mode.h"

#include "bindings.h"
#include "camera.h"
#include "frame_clock.h"
#include "ground.h"
#include "hand_back.h"
#include "menu.h"
#include "overlay.h"
#include "places.h"

int HotKey_Master = 0;

namespace {

bool gSlewMode = false;
XPLMHotKeyID gHotKey = nullptr;
// Whether element 0 was 0 when slew mode took the aircraft: if another plug-in already held it,
// letting go leaves it held, and the flight is that plug-in's to hand back.
bool gOwnPath = false;

// Element 0 of the array is the user's aircraft; the AI aircraft keep their own entries. A
// simulator without the array cannot tell us: nothing there can take the aircraft back either.
enum class Path { kFree, kHeld, kUnknown };

Path ReadOverride() {
    int value = 0;
    if (XPLMGetDatavi(gPlaneOverride, &value, 0, 1) != 1)
        return Path::kUnknown;
    return value != 0 ? Path::kHeld : Path::kFree;
}

void WriteOverride(int value) {
    int values[1] = {value};
    XPLMSetDatavi(gPlaneOverride, values, 0, 1);
}

bool InReplay() {
    return XPLMGetDatai(gReplay) != 0;
}

void TakeAircraft() {
    // A replay moves the aircraft itself; a request for slew mode then is refused.
    if (InReplay()) {
        HotKey_Master = 0;
        return;
    }
    gOwnPath = ReadOverride() != Path::kHeld;
    gSlewMode = true;
    HotKey_Master = 1;
    WriteOverride(1);
    UpdateRestHeight(!gOwnPath);
    RememberFlight();
    RememberStart();
    ShowWheelsHeight(HeightAboveRestHere());
    OpenOverlay();
    ShowSlewModeInMenu(true);
    RunEveryFrame(true);
}

// Everything of slew mode but the aircraft, which the caller has dealt with.
void EndSlewMode() {
    RecordHoldEnded();
    gSlewMode = false;
    HotKey_Master = 0;
    CloseOverlay();
    ShowSlewModeInMenu(false);
    RunEveryFrame(false);
}

// Hands the aircraft back to the flight model, or to the plug-in that held it before us; if
// someone already let go, the flight model is running and we write nothing.
void LetGo() {
    if (ReadOverride() != Path::kFree) {
        if (gOwnPath) {
            HandBackFlight();
            WriteOverride(0);
        } else {
            WriteOverride(1);
        }
    }
    EndSlewMode();
}

// The simulator has placed the aircraft itself (a new aircraft or airport, a crash, a replay):
// the path goes back without a velocity or an attitude handed back, and so does the camera.
void EndAsPlaced() {
    if (gSlewMode) {
        if (gOwnPath && ReadOverride() != Path::kFree)
            WriteOverride(0);
        EndSlewMode();
    }
    ReleaseCamera();
}

// Slew mode ended by the user, a disable or a stop: the aircraft handed back, unless a replay
// has it now.
void End() {
    if (InReplay()) {
        EndAsPlaced();
    } else {
        LetGo();
    }
}

void MyHotKeyCallback(void* /*inRefcon*/) {
    ToggleSlewMode();
}

}  // namespace

void UseHotKey(bool on) {
    if (on == (gHotKey != nullptr))
        return;
    if (on) {
        gHotKey =
            XPLMRegisterHotKey(XPLM_VK_Y, xplm_DownFlag, "Slew mode", MyHotKeyCallback, nullptr);
    } else {
        XPLMUnregisterHotKey(gHotKey);
        gHotKey = nullptr;
    }
}

void ToggleSlewMode() {
    if (gSlewMode) {
        End();
    } else {
        TakeAircraft();
    }
}

bool SlewModeOn() {
    return gSlewMode;
}

bool ReconcileSlewMode() {
    if (!gSlewMode) {
        if (HotKey_Master != 0)
            TakeAircraft();
        return gSlewMode;
    }
    if (InReplay()) {
        EndAsPlaced();
        return false;
    }
    if (HotKey_Master == 0) {
        LetGo();
        return false;
    }
    if (ReadOverride() == Path::kFree) {
        EndSlewMode();
        return false;
    }
    return true;
}

void HearMessage(int message, bool usersAircraft) {
    const bool aircraft = message == XPLM_MSG_PLANE_LOADED || message == XPLM_MSG_PLANE_UNLOADED;
    if (message == XPLM_MSG_PLANE_LOADED && usersAircraft)
        ForgetRestHeight();
    if (!(aircraft && usersAircraft) && message != XPLM_MSG_AIRPORT_LOADED &&
        message != XPLM_MSG_PLANE_CRASHED) {
        return;
    }
    EndAsPlaced();
}

void EndSlewModeForDisable() {
    if (gSlewMode)
        End();
    ReleaseCamera();
}

void EndSlewModeForStop() {
    if (gSlewMode)
        End();
    HotKey_Master = 0;
}
