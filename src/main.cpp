// The simulator's entry points and the table of every dataref the plug-in touches.
#include <string.h>

#include "bindings.h"
#include "camera.h"
#include "commands.h"
#include "frame_clock.h"
#include "ground.h"
#include "host/xplm.h"
#include "joystick.h"
#include "keys.h"
#include "overlay.h"
#include "settings.h"
#include "shared_state.h"
#include "slew_mode.h"

XPLMDataRef gPlaneOverride = nullptr;
XPLMDataRef gPlaneX = nullptr;
XPLMDataRef gPlaneY = nullptr;
XPLMDataRef gPlaneZ = nullptr;
XPLMDataRef gPlaneY_AGL = nullptr;
XPLMDataRef gPlanePSI = nullptr;
XPLMDataRef gPlaneTHETA = nullptr;
XPLMDataRef gPlanePHI = nullptr;
XPLMDataRef gPlaneLat = nullptr;
XPLMDataRef gPlaneLon = nullptr;
XPLMDataRef gPlaneAlt = nullptr;
XPLMDataRef gPlaneMpsi = nullptr;
XPLMDataRef gYokePitchRatio = nullptr;
XPLMDataRef gYokeRollRatio = nullptr;
XPLMDataRef gYokeHeadingRatio = nullptr;
XPLMDataRef gPlaneOnGround = nullptr;
XPLMDataRef gPlaneTireY = nullptr;
XPLMDataRef gPlaneQ = nullptr;
XPLMDataRef gPlaneVX = nullptr;
XPLMDataRef gPlaneVY = nullptr;
XPLMDataRef gPlaneVZ = nullptr;
XPLMDataRef gPlaneP = nullptr;
XPLMDataRef gPlaneQRate = nullptr;
XPLMDataRef gPlaneR = nullptr;
XPLMDataRef gReplay = nullptr;
XPLMDataRef gFlightTime = nullptr;
XPLMDataRef gPlanePrad = nullptr;
XPLMDataRef gPlaneQrad = nullptr;
XPLMDataRef gPlaneRrad = nullptr;
XPLMDataRef gPlaneAX = nullptr;
XPLMDataRef gPlaneAY = nullptr;
XPLMDataRef gPlaneAZ = nullptr;
XPLMDataRef gStickOverride = nullptr;
XPLMDataRef gPitchOverride = nullptr;
XPLMDataRef gRollOverride = nullptr;
XPLMDataRef gHeadingOverride = nullptr;
XPLMDataRef gAxisValues = nullptr;
XPLMDataRef gAxisAvailable = nullptr;
XPLMDataRef gStallSpeed = nullptr;
XPLMDataRef gAirDensity = nullptr;
XPLMDataRef gVrEnabled = nullptr;
XPLMDataRef gLatRef = nullptr;
XPLMDataRef gLonRef = nullptr;

namespace {

struct Binding {
    XPLMDataRef* handle;
    const char* path;
};

// Looked up in this order. A path the simulator does not know binds a null handle, which the
// simulator's accessors treat as reading 0 and ignoring writes.
const Binding kBindings[] = {
    {&gPlaneOverride, "sim/operation/override/override_planepath"},
    {&gPlaneX, "sim/flightmodel/position/local_x"},
    {&gPlaneY, "sim/flightmodel/position/local_y"},
    {&gPlaneZ, "sim/flightmodel/position/local_z"},
    {&gPlaneY_AGL, "sim/flightmodel/position/y_agl"},
    {&gPlanePSI, "sim/flightmodel/position/psi"},
    {&gPlaneTHETA, "sim/flightmodel/position/theta"},
    {&gPlanePHI, "sim/flightmodel/position/phi"},
    {&gPlaneLat, "sim/flightmodel/position/latitude"},
    {&gPlaneLon, "sim/flightmodel/position/longitude"},
    {&gPlaneAlt, "sim/flightmodel/position/elevation"},
    {&gPlaneMpsi, "sim/flightmodel/position/mag_psi"},
    // The stick, for joystick slew: the simulator keeps reporting it while the flight path is
    // held. A simulator without them reads 0, a centred stick.
    {&gYokePitchRatio, "sim/joystick/yoke_pitch_ratio"},
    {&gYokeRollRatio, "sim/joystick/yoke_roll_ratio"},
    {&gYokeHeadingRatio, "sim/joystick/yoke_heading_ratio"},
    // The ground: whether the aircraft stands on it, and how far its wheels reach below the
    // reference point.
    {&gPlaneOnGround, "sim/flightmodel/failures/onground_any"},
    {&gPlaneTireY, "sim/flightmodel/parts/tire_y_no_deflection"},
    // What the flight model resumes from when we let go: it neither uses nor updates them while
    // the path is held.
    {&gPlaneQ, "sim/flightmodel/position/q"},
    {&gPlaneVX, "sim/flightmodel/position/local_vx"},
    {&gPlaneVY, "sim/flightmodel/position/local_vy"},
    {&gPlaneVZ, "sim/flightmodel/position/local_vz"},
    {&gPlaneP, "sim/flightmodel/position/P"},
    {&gPlaneQRate, "sim/flightmodel/position/Q"},
    {&gPlaneR, "sim/flightmodel/position/R"},
    // A replay places the aircraft itself: no slew mode then.
    {&gReplay, "sim/time/is_in_replay"},
    // Whether the simulator has flown since the path was last held: only then is its on-ground
    // flag news. It stands still while the simulator is paused.
    {&gFlightTime, "sim/time/total_flight_time_sec"},
    // The rates again, in radians (nothing says which set the flight model carries on from), and
    // the accelerations: none of them may come back when we let go.
    {&gPlanePrad, "sim/flightmodel/position/Prad"},
    {&gPlaneQrad, "sim/flightmodel/position/Qrad"},
    {&gPlaneRrad, "sim/flightmodel/position/Rrad"},
    {&gPlaneAX, "sim/flightmodel/position/local_ax"},
    {&gPlaneAY, "sim/flightmodel/position/local_ay"},
    {&gPlaneAZ, "sim/flightmodel/position/local_az"},
    // A plug-in that overrides the stick (all of it, or one axis) owns the yoke ratios; the
    // user's hand is then in the hardware's processed axes.
    {&gStickOverride, "sim/operation/override/override_joystick"},
    {&gPitchOverride, "sim/operation/override/override_joystick_pitch"},
    {&gRollOverride, "sim/operation/override/override_joystick_roll"},
    {&gHeadingOverride, "sim/operation/override/override_joystick_heading"},
    {&gAxisValues, "sim/joystick/joy_mapped_axis_value"},
    {&gAxisAvailable, "sim/joystick/joy_mapped_axis_avail"},
    {&gStallSpeed, "sim/aircraft/view/acf_Vs"},
    {&gAirDensity, "sim/weather/rho"},
    {&gVrEnabled, "sim/graphics/VR/enabled"},
    // Where the local coordinates' origin is: when it moves, a place kept in local coordinates
    // is somewhere else.
    {&gLatRef, "sim/flightmodel/position/lat_ref"},
    {&gLonRef, "sim/flightmodel/position/lon_ref"},
};

// After the windows: a key typed into a text field (the map's search, another plug-in's window)
// belongs to the field, and must not move the aircraft too.
constexpr int kBeforeWindows = 0;

}  // namespace

PLUGIN_API int XPluginStart(char* outName, char* outSig, char* outDesc) {
    strcpy(outName, "Trovik");
    strcpy(outSig, "kervanold.trovik");
    strcpy(outDesc, "Slew mode for X-Plane");

    for (const Binding& binding : kBindings)
        *binding.handle = XPLMFindDataRef(binding.path);

    // Y first, as always; given back below if the settings say so.
    UseHotKey(true);
    XPLMRegisterKeySniffer(MyKeySniffer, kBeforeWindows, nullptr);
    CreateFrameLoop(MyJoystickFlightLoop);
    CreateGroundProbe();
    FindOverlayFunctions();
    LoadSettings();
    UseHotKey(Chosen(Choice::kHotKey));
    CreateCommandsAndMenu();
    PublishState();
    return 1;
}

PLUGIN_API void XPluginStop(void) {
    UseHotKey(false);
    WithdrawState();
    XPLMUnregisterKeySniffer(MyKeySniffer, kBeforeWindows, nullptr);
    EndSlewModeForStop();
    ReleaseCamera();
    RemoveCommandsAndMenu();
    DestroyFrameLoop();
    DestroyGroundProbe();
}

PLUGIN_API int XPluginEnable(void) {
    return 1;
}

PLUGIN_API void XPluginDisable(void) {
    EndSlewModeForDisable();
}

PLUGIN_API void XPluginReceiveMessage(XPLMPluginID inFrom, int inMessage, void* inParam) {
    // The parameter is the aircraft's index, passed as the pointer's value; 0 is the user's.
    HearMessage(inMessage, inParam == nullptr);
    // Only the simulator knows when it enters or leaves VR; the messages come just before, when
    // the dataref may still read the old state.
    if (inFrom == XPLM_PLUGIN_XPLANE &&
        (inMessage == XPLM_MSG_ENTERED_VR || inMessage == XPLM_MSG_EXITING_VR)) {
        OverlayInVR(inMessage == XPLM_MSG_ENTERED_VR);
    }
}
