// Compiled only against the official SDK (-DXPLM_SDK_DIR): our declarations beside the SDK's.
// A function, typedef or callback type that differs is a conflicting redeclaration, a constant
// macro that differs is a redefinition, and every enumerator and the camera struct's layout are
// compared below. (A function the SDK lacks altogether is the import check's to find.)
#include <XPLMCamera.h>
#include <XPLMDataAccess.h>
#include <XPLMDefs.h>
#include <XPLMDisplay.h>
#include <XPLMGraphics.h>
#include <XPLMMenus.h>
#include <XPLMNavigation.h>
#include <XPLMPlugin.h>
#include <XPLMProcessing.h>
#include <XPLMScenery.h>
#include <XPLMUtilities.h>

#define TROVIK_XPLM_CHECK 1
#include <cstddef>
#include <type_traits>

#include "host/xplm_declarations.h"

static_assert(int{trovik_own::xplm_ShiftFlag} == int{xplm_ShiftFlag}, "xplm_ShiftFlag");
static_assert(int{trovik_own::xplm_OptionAltFlag} == int{xplm_OptionAltFlag}, "xplm_OptionAltFlag");
static_assert(int{trovik_own::xplm_ControlFlag} == int{xplm_ControlFlag}, "xplm_ControlFlag");
static_assert(int{trovik_own::xplm_DownFlag} == int{xplm_DownFlag}, "xplm_DownFlag");
static_assert(int{trovik_own::xplm_UpFlag} == int{xplm_UpFlag}, "xplm_UpFlag");
static_assert(int{trovik_own::xplmFont_Basic} == int{xplmFont_Basic}, "xplmFont_Basic");
static_assert(int{trovik_own::xplm_ControlCameraUntilViewChanges} ==
                  int{xplm_ControlCameraUntilViewChanges},
              "xplm_ControlCameraUntilViewChanges");
static_assert(int{trovik_own::xplm_ControlCameraForever} == int{xplm_ControlCameraForever},
              "xplm_ControlCameraForever");

static_assert(int{trovik_own::xplm_Nav_Airport} == int{xplm_Nav_Airport}, "xplm_Nav_Airport");
static_assert(int{trovik_own::xplmType_Int} == int{xplmType_Int}, "xplmType_Int");
static_assert(int{trovik_own::xplmType_Float} == int{xplmType_Float}, "xplmType_Float");
static_assert(int{trovik_own::xplmType_Double} == int{xplmType_Double}, "xplmType_Double");
static_assert(int{trovik_own::xplm_CommandBegin} == int{xplm_CommandBegin}, "xplm_CommandBegin");
static_assert(int{trovik_own::xplm_CommandContinue} == int{xplm_CommandContinue},
              "xplm_CommandContinue");
static_assert(int{trovik_own::xplm_CommandEnd} == int{xplm_CommandEnd}, "xplm_CommandEnd");
static_assert(int{trovik_own::xplm_Menu_NoCheck} == int{xplm_Menu_NoCheck}, "xplm_Menu_NoCheck");
static_assert(int{trovik_own::xplm_Menu_Unchecked} == int{xplm_Menu_Unchecked},
              "xplm_Menu_Unchecked");
static_assert(int{trovik_own::xplm_Menu_Checked} == int{xplm_Menu_Checked}, "xplm_Menu_Checked");

static_assert(int{trovik_own::xplm_FlightLoop_Phase_BeforeFlightModel} ==
                  int{xplm_FlightLoop_Phase_BeforeFlightModel},
              "xplm_FlightLoop_Phase_BeforeFlightModel");
static_assert(int{trovik_own::xplm_FlightLoop_Phase_AfterFlightModel} ==
                  int{xplm_FlightLoop_Phase_AfterFlightModel},
              "xplm_FlightLoop_Phase_AfterFlightModel");

static_assert(int{trovik_own::xplm_ProbeY} == int{xplm_ProbeY}, "xplm_ProbeY");
static_assert(int{trovik_own::xplm_ProbeHitTerrain} == int{xplm_ProbeHitTerrain},
              "xplm_ProbeHitTerrain");
static_assert(int{trovik_own::xplm_ProbeError} == int{xplm_ProbeError}, "xplm_ProbeError");
static_assert(int{trovik_own::xplm_ProbeMissed} == int{xplm_ProbeMissed}, "xplm_ProbeMissed");

// A struct field at the same place and of the same type in ours and in the SDK's.
#define TROVIK_SAME_FIELD(Own, Sdk, f)                                           \
    static_assert(offsetof(Own, f) == offsetof(Sdk, f), #Sdk "::" #f " offset"); \
    static_assert(std::is_same<decltype(Own::f), decltype(Sdk::f)>::value, #Sdk "::" #f " type")

using OwnCamera = trovik_own::XPLMCameraPosition_t;
static_assert(sizeof(OwnCamera) == sizeof(XPLMCameraPosition_t), "XPLMCameraPosition_t size");
TROVIK_SAME_FIELD(OwnCamera, XPLMCameraPosition_t, x);
TROVIK_SAME_FIELD(OwnCamera, XPLMCameraPosition_t, y);
TROVIK_SAME_FIELD(OwnCamera, XPLMCameraPosition_t, z);
TROVIK_SAME_FIELD(OwnCamera, XPLMCameraPosition_t, pitch);
TROVIK_SAME_FIELD(OwnCamera, XPLMCameraPosition_t, heading);
TROVIK_SAME_FIELD(OwnCamera, XPLMCameraPosition_t, roll);
TROVIK_SAME_FIELD(OwnCamera, XPLMCameraPosition_t, zoom);

static_assert(int{trovik_own::xplm_MouseDown} == int{xplm_MouseDown}, "xplm_MouseDown");
static_assert(int{trovik_own::xplm_MouseDrag} == int{xplm_MouseDrag}, "xplm_MouseDrag");
static_assert(int{trovik_own::xplm_MouseUp} == int{xplm_MouseUp}, "xplm_MouseUp");
static_assert(int{trovik_own::xplm_CursorDefault} == int{xplm_CursorDefault}, "xplm_CursorDefault");
static_assert(int{trovik_own::xplm_WindowLayerFlightOverlay} == int{xplm_WindowLayerFlightOverlay},
              "xplm_WindowLayerFlightOverlay");
static_assert(int{trovik_own::xplm_WindowDecorationNone} == int{xplm_WindowDecorationNone},
              "xplm_WindowDecorationNone");
static_assert(int{trovik_own::xplm_WindowFullScreenOnMonitor} ==
                  int{xplm_WindowFullScreenOnMonitor},
              "xplm_WindowFullScreenOnMonitor");
static_assert(int{trovik_own::xplm_WindowVR} == int{xplm_WindowVR}, "xplm_WindowVR");

using OwnWindow = trovik_own::XPLMCreateWindow_t;
static_assert(sizeof(OwnWindow) == sizeof(XPLMCreateWindow_t), "XPLMCreateWindow_t size");
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, structSize);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, left);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, top);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, right);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, bottom);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, visible);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, drawWindowFunc);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, handleMouseClickFunc);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, handleKeyFunc);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, handleCursorFunc);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, handleMouseWheelFunc);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, refcon);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, decorateAsFloatingWindow);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, layer);
TROVIK_SAME_FIELD(OwnWindow, XPLMCreateWindow_t, handleRightClickFunc);

using OwnLoop = trovik_own::XPLMCreateFlightLoop_t;
static_assert(sizeof(OwnLoop) == sizeof(XPLMCreateFlightLoop_t), "XPLMCreateFlightLoop_t size");
TROVIK_SAME_FIELD(OwnLoop, XPLMCreateFlightLoop_t, structSize);
TROVIK_SAME_FIELD(OwnLoop, XPLMCreateFlightLoop_t, phase);
TROVIK_SAME_FIELD(OwnLoop, XPLMCreateFlightLoop_t, callbackFunc);
TROVIK_SAME_FIELD(OwnLoop, XPLMCreateFlightLoop_t, refcon);

using OwnProbeInfo = trovik_own::XPLMProbeInfo_t;
static_assert(sizeof(OwnProbeInfo) == sizeof(XPLMProbeInfo_t), "XPLMProbeInfo_t size");
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, structSize);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, locationX);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, locationY);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, locationZ);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, normalX);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, normalY);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, normalZ);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, velocityX);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, velocityY);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, velocityZ);
TROVIK_SAME_FIELD(OwnProbeInfo, XPLMProbeInfo_t, is_wet);
