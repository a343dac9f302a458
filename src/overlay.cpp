#include "overlay.h"

#include <stdio.h>

#include "bindings.h"
#include "settings.h"

namespace {

constexpr int kTopBandHeight = 30;
constexpr int kBottomBandHeight = 50;
// One translucent box is too faint over a bright sky; five stacked read as a solid band.
constexpr int kBandLayers = 5;
constexpr double kMetresPerFoot = 0.3048;

float kRed[3] = {1.0f, 0.0f, 0.0f};
float kWhite[3] = {1.0f, 1.0f, 1.0f};

XPLMWindowID gWindow = nullptr;

}  // namespace

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

void MyDrawWindowCallback(XPLMWindowID /*inWindowID*/, void* /*inRefcon*/) {
    const double latitude = XPLMGetDatad(gPlaneLat);
    const double longitude = XPLMGetDatad(gPlaneLon);
    const double elevation = XPLMGetDatad(gPlaneAlt);  // metres; the line shows feet
    const float magneticHeading = XPLMGetDataf(gPlaneMpsi);

    int width = 0;
    int height = 0;
    XPLMGetScreenSize(&width, &height);

    for (int i = 0; i < kBandLayers; ++i) {
        XPLMDrawTranslucentDarkBox(0, height, width, height - kTopBandHeight);
        XPLMDrawTranslucentDarkBox(0, kBottomBandHeight, width, 0);
    }

    // Bounded: an absurd value cuts the line short rather than overrunning the buffer.
    char text[256];
    snprintf(text, sizeof text, "Lat: %f   Lon: %f   Alt: %.0f ft. MSL   Mag:%.0f Deg", latitude,
             longitude, elevation / kMetresPerFoot, static_cast<double>(magneticHeading));

    XPLMDrawString(kRed, 20, height - 18, text, nullptr, xplmFont_Basic);
    // A writable buffer: older SDKs declare the text as char *, not const char *. The speed
    // factor shows only when it is not 1.
    char label[24];
    if (SpeedFactor() == 1.0)
        snprintf(label, sizeof label, "Slew Mode");
    else
        snprintf(label, sizeof label, "Slew Mode x%s", SpeedFactorText());
    XPLMDrawString(kWhite, width / 2 - 20, 20, label, nullptr, xplmFont_Basic);
}
