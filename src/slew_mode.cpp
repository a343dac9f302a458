#include "slew_mode.h"

#include <math.h>

#include "bindings.h"
#include "camera.h"
#include "ground.h"
#include "hand_back.h"
#include "menu.h"
#include "overlay.h"
#include "settings.h"

int HotKey_Master = 0;

namespace {

bool gSlewMode = false;
// Whether element 0 was 0 when slew mode took the aircraft: if another plug-in already held it,
// letting go leaves it held, and the flight is that plug-in's to hand back.
bool gOwnPath = false;

XPLMWindowID gWindow = nullptr;

XPLMFlightLoopID gFlightLoop = nullptr;
// Set when the loop is set running: its next call is told the whole pause since its last.
bool gResumed = false;
double gFrameSeconds = 0.0;

void ScheduleFlightLoop() {
    constexpr float kEveryFrame = -1.0f;
    constexpr float kSuspended = 0.0f;
    constexpr int kRelativeToNow = 1;
    if (gFlightLoop == nullptr)
        return;
    if (gSlewMode) {
        gResumed = true;
        gFrameSeconds = 0.0;
    }
    XPLMScheduleFlightLoop(gFlightLoop, gSlewMode ? kEveryFrame : kSuspended, kRelativeToNow);
}

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

void OpenOverlay() {
    int width = 0;
    int height = 0;
    XPLMGetScreenSize(&width, &height);
    // The window only carries the draw callback and the overlay draws in screen coordinates, so
    // this rectangle is only what the simulator is given: nothing reads it back, and its top
    // lies below its bottom on any real screen.
    gWindow = XPLMCreateWindow(width / 2 - 25, 25, width / 2 + 25, height / 2 + 15, 1,
                               MyDrawWindowCallback, nullptr, nullptr, nullptr);
}

void CloseOverlay() {
    if (gWindow == nullptr)
        return;
    XPLMDestroyWindow(gWindow);
    gWindow = nullptr;
}

void TakeAircraft() {
    // A replay moves the aircraft itself; a request for slew mode then is refused.
    if (XPLMGetDatai(gReplay) != 0) {
        HotKey_Master = 0;
        return;
    }
    gOwnPath = ReadOverride() != Path::kHeld;
    gSlewMode = true;
    HotKey_Master = 1;
    WriteOverride(1);
    UpdateRestHeight();
    RememberFlight();
    OpenOverlay();
    ShowSlewModeInMenu(true);
    ScheduleFlightLoop();
}

// Everything of slew mode but the aircraft, which the caller has dealt with.
void EndSlewMode() {
    gSlewMode = false;
    HotKey_Master = 0;
    CloseOverlay();
    ShowSlewModeInMenu(false);
    ScheduleFlightLoop();
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

}  // namespace

void ToggleSlewMode() {
    if (gSlewMode) {
        LetGo();
    } else {
        TakeAircraft();
    }
}

bool SlewModeOn() {
    return gSlewMode;
}

bool SlewModeHeld() {
    if (!gSlewMode) {
        if (HotKey_Master != 0)
            TakeAircraft();
        return gSlewMode;
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
    if (gSlewMode) {
        if (gOwnPath && ReadOverride() != Path::kFree)
            WriteOverride(0);
        EndSlewMode();
    }
    ReleaseCamera();
}

void EndSlewModeForDisable() {
    if (gSlewMode)
        LetGo();
    ReleaseCamera();
}

void EndSlewModeForStop() {
    if (gSlewMode)
        LetGo();
    HotKey_Master = 0;
}

void CreateSlewFlightLoop(XPLMFlightLoop_f callback) {
    // After the flight model: a slew move then stands for the rest of the frame.
    XPLMCreateFlightLoop_t params = {static_cast<int>(sizeof params),
                                     xplm_FlightLoop_Phase_AfterFlightModel, callback, nullptr};
    gFlightLoop = XPLMCreateFlightLoop(&params);
}

void DestroySlewFlightLoop() {
    if (gFlightLoop == nullptr)
        return;
    XPLMDestroyFlightLoop(gFlightLoop);
    gFlightLoop = nullptr;
}

double RecordFrame(float elapsedSinceLastCall) {
    // A stutter or a long frame slows the aircraft instead of throwing it hundreds of metres.
    constexpr double kLongestFrame = 0.1;
    const double elapsed = static_cast<double>(elapsedSinceLastCall);
    const bool resumed = gResumed;
    gResumed = false;
    gFrameSeconds = resumed || !(elapsed > 0.0) ? 0.0 : fmin(elapsed, kLongestFrame);
    return gFrameSeconds;
}

double FrameSeconds() {
    return gFrameSeconds;
}

void ToggleJoystickSlew() {
    SetJoystickSlewSetting(!JoystickSlewSetting());
    ShowJoystickSlewInMenu(JoystickSlewSetting());
}
