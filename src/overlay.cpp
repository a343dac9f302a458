#include "overlay.h"

#include <math.h>
#include <stdio.h>

#include "bindings.h"
#include "settings.h"

namespace {

constexpr int kTopBandHeight = 30;
constexpr int kBottomBandHeight = 50;
// One translucent box is too faint over a bright sky; five stacked read as a solid band.
constexpr int kBandLayers = 5;
constexpr double kMetresPerFoot = 0.3048;
// In the headset: one compact panel, both lines on it.
constexpr int kPanelWidth = 600;
constexpr int kPanelHeight = 60;
// The height follows the label on the panel's second line, clear of "Slew Mode x1/8".
constexpr int kPanelAglLeft = 160;

float kRed[3] = {1.0f, 0.0f, 0.0f};
float kWhite[3] = {1.0f, 1.0f, 1.0f};

XPLMWindowID gWindow = nullptr;
double gWheelsHeight = static_cast<double>(NAN);
// Its text, made again by the first draw after it changes (moves and held climbs change it
// often, and stay cheap); empty while it is not known.
char gHeightText[40] = "";
bool gHeightChanged = true;
// Whether the window is the headset's panel rather than the bands on the main monitor.
bool gInVR = false;

// XPLM 301 (X-Plane 11.20 on): looked up, so that the plug-in still loads where it is missing.
using SetWindowGeometryVR = void (*)(XPLMWindowID, int, int);
SetWindowGeometryVR gSetWindowGeometryVR = nullptr;

// The overlay takes no input: an undecorated window lets clicks pass through its bounds, and
// these say so if they are asked all the same. None may be null.
int NoClick(XPLMWindowID, int, int, XPLMMouseStatus, void*) {
    return 0;
}
void NoKey(XPLMWindowID, char, XPLMKeyFlags, char, void*, int) {}
XPLMCursorStatus NoCursor(XPLMWindowID, int, int, void*) {
    return xplm_CursorDefault;
}
int NoWheel(XPLMWindowID, int, int, int, int, void*) {
    return 0;
}

// Full screen on the main monitor (X-Plane's own window when it is not full screen), or in the
// headset.
void Position() {
    if (gInVR) {
        XPLMSetWindowPositioningMode(gWindow, xplm_WindowVR, -1);
        gSetWindowGeometryVR(gWindow, kPanelWidth, kPanelHeight);
    } else {
        XPLMSetWindowPositioningMode(gWindow, xplm_WindowFullScreenOnMonitor, -1);
    }
}

void Label(char (&label)[24]) {
    // A writable buffer: older SDKs declare the text as char *, not const char *. The speed
    // factor shows only when it is not 1.
    if (SpeedFactor() == 1.0)
        snprintf(label, sizeof label, "Slew Mode");
    else
        snprintf(label, sizeof label, "Slew Mode x%s", SpeedFactorText());
}

// "AGL 12 ft", rounded, never "-0".
void FormatHeight() {
    gHeightText[0] = '\0';
    if (!isfinite(gWheelsHeight))
        return;
    double feet = gWheelsHeight / kMetresPerFoot;
    if (fabs(feet) <= 0.5)
        feet = 0.0;
    snprintf(gHeightText, sizeof gHeightText, "AGL %.0f ft", feet);
}

}  // namespace

void FindOverlayFunctions() {
    int xplane = 0;
    int xplm = 0;
    XPLMHostApplicationID host = 0;
    XPLMGetVersions(&xplane, &xplm, &host);
    // The header asks for both: the version, and the symbol found.
    gSetWindowGeometryVR =
        xplm >= 301
            ? reinterpret_cast<SetWindowGeometryVR>(XPLMFindSymbol("XPLMSetWindowGeometryVR"))
            : nullptr;
}

void OpenOverlay() {
    XPLMCreateWindow_t params;
    params.structSize = static_cast<int>(sizeof params);
    XPLMGetScreenBoundsGlobal(&params.left, &params.top, &params.right, &params.bottom);
    params.visible = 1;
    params.drawWindowFunc = MyDrawWindowCallback;
    params.handleMouseClickFunc = NoClick;
    params.handleKeyFunc = NoKey;
    params.handleCursorFunc = NoCursor;
    params.handleMouseWheelFunc = NoWheel;
    params.refcon = nullptr;
    params.decorateAsFloatingWindow = xplm_WindowDecorationNone;
    params.layer = xplm_WindowLayerFlightOverlay;
    params.handleRightClickFunc = NoClick;
    gWindow = XPLMCreateWindowEx(&params);
    gInVR = gSetWindowGeometryVR != nullptr && XPLMGetDatai(gVrEnabled) != 0;
    if (gWindow != nullptr)
        Position();
}

void CloseOverlay() {
    if (gWindow == nullptr)
        return;
    XPLMDestroyWindow(gWindow);
    gWindow = nullptr;
}

void OverlayInVR(bool entering) {
    if (gSetWindowGeometryVR == nullptr || gInVR == entering)
        return;
    gInVR = entering;
    if (gWindow != nullptr)
        Position();
}

void ShowWheelsHeight(double metres) {
    gWheelsHeight = metres;
    gHeightChanged = true;
}

void ShowClimb(double metres) {
    gWheelsHeight += metres;
    gHeightChanged = true;
}

void MyDrawWindowCallback(XPLMWindowID inWindowID, void* /*inRefcon*/) {
    const double latitude = XPLMGetDatad(gPlaneLat);
    const double longitude = XPLMGetDatad(gPlaneLon);
    const double elevation = XPLMGetDatad(gPlaneAlt);  // metres; the line shows feet
    const float magneticHeading = XPLMGetDataf(gPlaneMpsi);

    // In boxels, on the global desktop: its origin need not be (0, 0), nor the headset's.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    XPLMGetWindowGeometry(inWindowID, &left, &top, &right, &bottom);

    for (int i = 0; i < kBandLayers; ++i) {
        if (gInVR) {
            XPLMDrawTranslucentDarkBox(left, top, right, bottom);
        } else {
            XPLMDrawTranslucentDarkBox(left, top, right, top - kTopBandHeight);
            XPLMDrawTranslucentDarkBox(left, bottom + kBottomBandHeight, right, bottom);
        }
    }

    // Bounded: an absurd value cuts the line short rather than overrunning the buffer.
    char text[256];
    snprintf(text, sizeof text, "Lat: %f   Lon: %f   Alt: %.0f ft. MSL   Mag:%.0f Deg", latitude,
             longitude, elevation / kMetresPerFoot, static_cast<double>(magneticHeading));
    char label[24];
    Label(label);
    if (gHeightChanged)
        FormatHeight();
    gHeightChanged = false;
    const bool known = gHeightText[0] != '\0';
    if (gInVR) {
        XPLMDrawString(kRed, left + 10, top - 22, text, nullptr, xplmFont_Basic);
        XPLMDrawString(kWhite, left + 10, bottom + 12, label, nullptr, xplmFont_Basic);
        if (known)
            XPLMDrawString(kWhite, left + kPanelAglLeft, bottom + 12, gHeightText, nullptr,
                           xplmFont_Basic);
    } else {
        XPLMDrawString(kRed, left + 20, top - 18, text, nullptr, xplmFont_Basic);
        XPLMDrawString(kWhite, left + (right - left) / 2 - 20, bottom + 20, label, nullptr,
                       xplmFont_Basic);
        if (known)
            XPLMDrawString(kWhite, left + (right - left) / 2 + 100, bottom + 20, gHeightText,
                           nullptr, xplmFont_Basic);
    }
}
