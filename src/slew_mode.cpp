#include "slew_mode.h"

#include "bindings.h"
#include "camera.h"
#include "ground.h"
#include "menu.h"
#include "overlay.h"

int HotKey_Master = 0;

static XPLMWindowID gWindow = nullptr;

static XPLMFlightLoopID gFlightLoop = nullptr;
static bool gJoystickSlew = true;
static unsigned gFlightLoopRuns = 0;

// Every frame while it can move the aircraft; suspended otherwise, so that it costs the
// simulator nothing.
static void ScheduleFlightLoop() {
    constexpr float kEveryFrame = -1.0f;
    constexpr float kSuspended = 0.0f;
    constexpr int kRelativeToNow = 1;
    if (gFlightLoop == nullptr)
        return;
    const bool run = HotKey_Master != 0 && gJoystickSlew;
    if (run)
        ++gFlightLoopRuns;
    XPLMScheduleFlightLoop(gFlightLoop, run ? kEveryFrame : kSuspended, kRelativeToNow);
}

static void WriteOverride(int value) {
    // Element 0 of the array is the user's aircraft; the AI aircraft keep their own entries.
    int values[1] = {value};
    XPLMSetDatavi(gPlaneOverride, values, 0, 1);
}

static void OpenOverlay() {
    // HotKey_Master is exported, so another plug-in may have cleared it while our window is
    // still open: one overlay is enough.
    if (gWindow != nullptr)
        return;
    int width = 0;
    int height = 0;
    XPLMGetScreenSize(&width, &height);
    // The window only carries the draw callback and the overlay draws in screen coordinates, so
    // this rectangle is only what the simulator is given: nothing reads it back, and its top
    // lies below its bottom on any real screen.
    gWindow = XPLMCreateWindow(width / 2 - 25, 25, width / 2 + 25, height / 2 + 15, 1,
                               MyDrawWindowCallback, nullptr, nullptr, nullptr);
}

static void CloseOverlay() {
    if (gWindow == nullptr)
        return;
    XPLMDestroyWindow(gWindow);
    gWindow = nullptr;
}

static void SwitchOff() {
    HotKey_Master = 0;
    WriteOverride(0);
    CloseOverlay();
    ShowSlewModeInMenu(false);
    ScheduleFlightLoop();
}

void ToggleSlewMode() {
    if (HotKey_Master == 0) {
        HotKey_Master = 1;
        WriteOverride(1);
        UpdateRestHeight();
        OpenOverlay();
        ShowSlewModeInMenu(true);
        ScheduleFlightLoop();
    } else {
        SwitchOff();
    }
}

void CreateSlewFlightLoop(XPLMFlightLoop_f callback) {
    // After the flight model: a slew move then stands for the rest of the frame.
    XPLMCreateFlightLoop_t params = {static_cast<int>(sizeof params),
                                     xplm_FlightLoop_Phase_AfterFlightModel, callback, nullptr};
    gFlightLoop = XPLMCreateFlightLoop(&params);
    gJoystickSlew = true;
}

void DestroySlewFlightLoop() {
    if (gFlightLoop == nullptr)
        return;
    XPLMDestroyFlightLoop(gFlightLoop);
    gFlightLoop = nullptr;
}

void ToggleJoystickSlew() {
    gJoystickSlew = !gJoystickSlew;
    ShowJoystickSlewInMenu(gJoystickSlew);
    ScheduleFlightLoop();
}

bool JoystickSlewEnabled() {
    return gJoystickSlew;
}

unsigned SlewFlightLoopRuns() {
    return gFlightLoopRuns;
}

void EndSlewModeForDisable() {
    if (HotKey_Master == 0)
        return;
    SwitchOff();
    ReleaseCamera();
}

void EndSlewModeForStop() {
    if (HotKey_Master != 0) {
        SwitchOff();
    } else {
        CloseOverlay();
    }
}
