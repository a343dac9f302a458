// Our own declarations of the part of the X-Plane plug-in SDK (XPLM) that Trovik uses, so that
// a clone builds without the SDK.
//
// They must match the published SDK headers in every type, name, parameter order and constant:
// the simulator resolves these symbols at load time and calls our callbacks through these
// signatures, so a mismatch compiles cleanly and fails only inside the real simulator. Every
// build with -DXPLM_SDK_DIR (CI makes one against the official SDK 4.1) compiles them beside the
// official headers (sdk_check.cpp), which turns any difference into a compile error; a test
// plants differences in a copy of this file to prove that it does.
#ifndef TROVIK_HOST_XPLM_DECLARATIONS_H
#define TROVIK_HOST_XPLM_DECLARATIONS_H

// Enumerators and the camera struct cannot be declared twice in one translation unit; when
// checked against the SDK they go into a namespace of their own and are compared value by value.
#undef TROVIK_OWN_BEGIN
#undef TROVIK_OWN_END
#if defined(TROVIK_XPLM_CHECK)
#define TROVIK_OWN_BEGIN namespace trovik_own {
#define TROVIK_OWN_END }
#else
#define TROVIK_OWN_BEGIN
#define TROVIK_OWN_END
#endif

// A host that implements these functions defines XPLM_API itself before including this file.
#if defined(_WIN32)
#ifndef XPLM_API
#define XPLM_API __declspec(dllimport)
#endif
#ifndef PLUGIN_EXPORT
#define PLUGIN_EXPORT __declspec(dllexport)
#endif
#else
#ifndef XPLM_API
#define XPLM_API __attribute__((visibility("default")))
#endif
#ifndef PLUGIN_EXPORT
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
#endif
// What the plug-in exports: the entry points the simulator looks up, and the two names other
// plug-ins may use.
#ifndef PLUGIN_API
#define PLUGIN_API extern "C" PLUGIN_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

// ---- XPLMDefs ----
typedef int XPLMPluginID;
typedef int XPLMKeyFlags;
TROVIK_OWN_BEGIN
enum {
    xplm_ShiftFlag = 1,
    xplm_OptionAltFlag = 2,
    xplm_ControlFlag = 4,
    xplm_DownFlag = 8,
    xplm_UpFlag = 16
};
TROVIK_OWN_END

#define XPLM_VK_S 0x53
#define XPLM_VK_Y 0x59
#define XPLM_VK_NUMPAD0 0x60
#define XPLM_VK_NUMPAD1 0x61
#define XPLM_VK_NUMPAD2 0x62
#define XPLM_VK_NUMPAD3 0x63
#define XPLM_VK_NUMPAD4 0x64
#define XPLM_VK_NUMPAD5 0x65
#define XPLM_VK_NUMPAD6 0x66
#define XPLM_VK_NUMPAD7 0x67
#define XPLM_VK_NUMPAD8 0x68
#define XPLM_VK_NUMPAD9 0x69
#define XPLM_VK_F1 0x70
#define XPLM_VK_F2 0x71
#define XPLM_VK_F3 0x72
#define XPLM_VK_F4 0x73
#define XPLM_VK_F5 0x74
#define XPLM_VK_F6 0x75
#define XPLM_VK_F7 0x76
#define XPLM_VK_F8 0x77

// ---- XPLMPlugin ----
// Messages the simulator sends; for the aircraft ones the parameter is the aircraft's index (0
// the user's), passed as the pointer's value.
#define XPLM_PLUGIN_XPLANE (0)
#define XPLM_MSG_PLANE_CRASHED 101
#define XPLM_MSG_PLANE_LOADED 102
#define XPLM_MSG_AIRPORT_LOADED 103
#define XPLM_MSG_PLANE_UNLOADED 106
#define XPLM_MSG_ENTERED_VR 109
#define XPLM_MSG_EXITING_VR 110

XPLM_API void XPLMEnableFeature(const char* inFeature, int inEnable);
#define XPLM_NO_PLUGIN_ID (-1)
XPLM_API XPLMPluginID XPLMFindPluginBySignature(const char* inSignature);
XPLM_API void XPLMSendMessageToPlugin(XPLMPluginID inPlugin, int inMessage, void* inParam);

// ---- XPLMDataAccess ----
typedef void* XPLMDataRef;

XPLM_API XPLMDataRef XPLMFindDataRef(const char* inDataRefName);
XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef);
XPLM_API void XPLMSetDataf(XPLMDataRef inDataRef, float inValue);
XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef);
XPLM_API void XPLMSetDatad(XPLMDataRef inDataRef, double inValue);
XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef);
XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int* outValues, int inOffset, int inMax);
XPLM_API void XPLMSetDatavi(XPLMDataRef inDataRef, int* inValues, int inOffset, int inCount);
XPLM_API int XPLMGetDatavf(XPLMDataRef inDataRef, float* outValues, int inOffset, int inMax);
XPLM_API void XPLMSetDatavf(XPLMDataRef inDataRef, float* inValues, int inoffset, int inCount);

// Datarefs a plug-in publishes: read (and written) through its own functions.
typedef int XPLMDataTypeID;
TROVIK_OWN_BEGIN
enum { xplmType_Int = 1, xplmType_Float = 2, xplmType_Double = 4 };
TROVIK_OWN_END
typedef int (*XPLMGetDatai_f)(void* inRefcon);
typedef void (*XPLMSetDatai_f)(void* inRefcon, int inValue);
typedef float (*XPLMGetDataf_f)(void* inRefcon);
typedef void (*XPLMSetDataf_f)(void* inRefcon, float inValue);
typedef double (*XPLMGetDatad_f)(void* inRefcon);
typedef void (*XPLMSetDatad_f)(void* inRefcon, double inValue);
typedef int (*XPLMGetDatavi_f)(void* inRefcon, int* outValues, int inOffset, int inMax);
typedef void (*XPLMSetDatavi_f)(void* inRefcon, int* inValues, int inOffset, int inCount);
typedef int (*XPLMGetDatavf_f)(void* inRefcon, float* outValues, int inOffset, int inMax);
typedef void (*XPLMSetDatavf_f)(void* inRefcon, float* inValues, int inOffset, int inCount);
typedef int (*XPLMGetDatab_f)(void* inRefcon, void* outValue, int inOffset, int inMaxLength);
typedef void (*XPLMSetDatab_f)(void* inRefcon, void* inValue, int inOffset, int inLength);

XPLM_API XPLMDataRef XPLMRegisterDataAccessor(
    const char* inDataName, XPLMDataTypeID inDataType, int inIsWritable, XPLMGetDatai_f inReadInt,
    XPLMSetDatai_f inWriteInt, XPLMGetDataf_f inReadFloat, XPLMSetDataf_f inWriteFloat,
    XPLMGetDatad_f inReadDouble, XPLMSetDatad_f inWriteDouble, XPLMGetDatavi_f inReadIntArray,
    XPLMSetDatavi_f inWriteIntArray, XPLMGetDatavf_f inReadFloatArray,
    XPLMSetDatavf_f inWriteFloatArray, XPLMGetDatab_f inReadData, XPLMSetDatab_f inWriteData,
    void* inReadRefcon, void* inWriteRefcon);
XPLM_API void XPLMUnregisterDataAccessor(XPLMDataRef inDataRef);

// ---- XPLMDisplay ----
typedef void* XPLMWindowID;
typedef void* XPLMHotKeyID;
typedef int XPLMMouseStatus;
TROVIK_OWN_BEGIN
enum { xplm_MouseDown = 1, xplm_MouseDrag = 2, xplm_MouseUp = 3 };
TROVIK_OWN_END

typedef void (*XPLMHotKey_f)(void* inRefcon);
typedef int (*XPLMKeySniffer_f)(char inChar, XPLMKeyFlags inFlags, char inVirtualKey,
                                void* inRefcon);
typedef void (*XPLMDrawWindow_f)(XPLMWindowID inWindowID, void* inRefcon);
typedef void (*XPLMHandleKey_f)(XPLMWindowID inWindowID, char inKey, XPLMKeyFlags inFlags,
                                char inVirtualKey, void* inRefcon, int losingFocus);
typedef int (*XPLMHandleMouseClick_f)(XPLMWindowID inWindowID, int x, int y,
                                      XPLMMouseStatus inMouse, void* inRefcon);

XPLM_API XPLMHotKeyID XPLMRegisterHotKey(char inVirtualKey, XPLMKeyFlags inFlags,
                                         const char* inDescription, XPLMHotKey_f inCallback,
                                         void* inRefcon);
XPLM_API void XPLMUnregisterHotKey(XPLMHotKeyID inHotKey);
XPLM_API int XPLMRegisterKeySniffer(XPLMKeySniffer_f inCallback, int inBeforeWindows,
                                    void* inRefcon);
XPLM_API int XPLMUnregisterKeySniffer(XPLMKeySniffer_f inCallback, int inBeforeWindows,
                                      void* inRefcon);
XPLM_API XPLMWindowID XPLMCreateWindow(int inLeft, int inTop, int inRight, int inBottom,
                                       int inIsVisible, XPLMDrawWindow_f inDrawCallback,
                                       XPLMHandleKey_f inKeyCallback,
                                       XPLMHandleMouseClick_f inMouseCallback, void* inRefcon);
XPLM_API void XPLMDestroyWindow(XPLMWindowID inWindowID);
XPLM_API void XPLMGetScreenSize(int* outWidth, int* outHeight);

// Modern windows (XPLM300): positions in boxels on the global desktop, whose origin need not be
// (0, 0).
typedef int XPLMCursorStatus;
typedef int XPLMWindowLayer;
typedef int XPLMWindowDecoration;
typedef int XPLMWindowPositioningMode;
TROVIK_OWN_BEGIN
enum { xplm_CursorDefault = 0 };
enum { xplm_WindowLayerFlightOverlay = 0 };
enum { xplm_WindowDecorationNone = 0 };
enum { xplm_WindowFullScreenOnMonitor = 2, xplm_WindowVR = 5 };
TROVIK_OWN_END
typedef XPLMCursorStatus (*XPLMHandleCursor_f)(XPLMWindowID inWindowID, int x, int y,
                                               void* inRefcon);
typedef int (*XPLMHandleMouseWheel_f)(XPLMWindowID inWindowID, int x, int y, int wheel, int clicks,
                                      void* inRefcon);
typedef void (*XPLMReceiveMonitorBoundsGlobal_f)(int inMonitorIndex, int inLeftBx, int inTopBx,
                                                 int inRightBx, int inBottomBx, void* inRefcon);

TROVIK_OWN_BEGIN
// The XPLM301 layout. An XPLM300 host reads the decoration's place as the layer and the layer's
// as padding: both 0 here, the same bytes mean the same to either.
typedef struct {
    int structSize;
    int left;
    int top;
    int right;
    int bottom;
    int visible;
    XPLMDrawWindow_f drawWindowFunc;
    XPLMHandleMouseClick_f handleMouseClickFunc;
    XPLMHandleKey_f handleKeyFunc;
    XPLMHandleCursor_f handleCursorFunc;
    XPLMHandleMouseWheel_f handleMouseWheelFunc;
    void* refcon;
    XPLMWindowDecoration decorateAsFloatingWindow;
    XPLMWindowLayer layer;
    XPLMHandleMouseClick_f handleRightClickFunc;
} XPLMCreateWindow_t;
TROVIK_OWN_END

XPLM_API XPLMWindowID XPLMCreateWindowEx(XPLMCreateWindow_t* inParams);
XPLM_API void XPLMGetScreenBoundsGlobal(int* outLeft, int* outTop, int* outRight, int* outBottom);
XPLM_API void XPLMGetAllMonitorBoundsGlobal(
    XPLMReceiveMonitorBoundsGlobal_f inMonitorBoundsCallback, void* inRefcon);
XPLM_API void XPLMGetWindowGeometry(XPLMWindowID inWindowID, int* outLeft, int* outTop,
                                    int* outRight, int* outBottom);
XPLM_API void XPLMSetWindowPositioningMode(XPLMWindowID inWindowID,
                                           XPLMWindowPositioningMode inPositioningMode,
                                           int inMonitorIndex);

// ---- XPLMGraphics ----
typedef int XPLMFontID;
TROVIK_OWN_BEGIN
enum { xplmFont_Basic = 0 };
TROVIK_OWN_END

XPLM_API void XPLMDrawTranslucentDarkBox(int inLeft, int inTop, int inRight, int inBottom);
XPLM_API void XPLMDrawString(float* inColorRGB, int inXOffset, int inYOffset, const char* inChar,
                             int* inWordWrapWidth, XPLMFontID inFontID);

// ---- XPLMUtilities ----
// An enum in the SDK; only its numbers cross the boundary.
typedef int XPLMCommandButtonID;

// A path to a file in the simulator's preferences folder, into a buffer of at least 512 bytes.
XPLM_API void XPLMGetPrefsPath(char* outPrefsPath);
// One line into the simulator's Log.txt.
XPLM_API void XPLMDebugString(const char* inString);

typedef int XPLMHostApplicationID;
XPLM_API void XPLMGetVersions(int* outXPlaneVersion, int* outXPLMVersion,
                              XPLMHostApplicationID* outHostID);
XPLM_API void* XPLMFindSymbol(const char* inString);

// Deprecated since SDK 2.0 in favour of commands, but still exported by every simulator.
XPLM_API void XPLMCommandButtonPress(XPLMCommandButtonID inButton);
XPLM_API void XPLMCommandButtonRelease(XPLMCommandButtonID inButton);

typedef int XPLMCommandPhase;
TROVIK_OWN_BEGIN
enum { xplm_CommandBegin = 0, xplm_CommandContinue = 1, xplm_CommandEnd = 2 };
TROVIK_OWN_END
typedef void* XPLMCommandRef;
typedef int (*XPLMCommandCallback_f)(XPLMCommandRef inCommand, XPLMCommandPhase inPhase,
                                     void* inRefcon);

XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand);
XPLM_API XPLMCommandRef XPLMCreateCommand(const char* inName, const char* inDescription);
XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                         int inBefore, void* inRefcon);
XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                           int inBefore, void* inRefcon);

// ---- XPLMMenus ----
typedef int XPLMMenuCheck;
TROVIK_OWN_BEGIN
enum { xplm_Menu_NoCheck = 0, xplm_Menu_Unchecked = 1, xplm_Menu_Checked = 2 };
TROVIK_OWN_END
typedef void* XPLMMenuID;
typedef void (*XPLMMenuHandler_f)(void* inMenuRef, void* inItemRef);

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void);
XPLM_API XPLMMenuID XPLMCreateMenu(const char* inName, XPLMMenuID inParentMenu, int inParentItem,
                                   XPLMMenuHandler_f inHandler, void* inMenuRef);
XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID);
XPLM_API int XPLMAppendMenuItem(XPLMMenuID inMenu, const char* inItemName, void* inItemRef,
                                int inDeprecatedAndIgnored);
XPLM_API int XPLMAppendMenuItemWithCommand(XPLMMenuID inMenu, const char* inItemName,
                                           XPLMCommandRef inCommandToExecute);
XPLM_API void XPLMAppendMenuSeparator(XPLMMenuID inMenu);
XPLM_API void XPLMSetMenuItemName(XPLMMenuID inMenu, int inIndex, const char* inItemName,
                                  int inDeprecatedAndIgnored);
XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck);
XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled);
XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex);

#ifdef __cplusplus
}
#endif

// Flight loops, terrain probes and the camera, in a file of their own.
#include "host/xplm_world_declarations.h"

#endif  // TROVIK_HOST_XPLM_DECLARATIONS_H
