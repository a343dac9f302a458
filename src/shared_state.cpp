#include "shared_state.h"

#include "ground.h"
#include "host/xplm.h"
#include "settings.h"
#include "slew_mode.h"

namespace {

// Each read is a call from another plug-in, up to every frame: no allocation, nothing but the
// value.
int SlewModeNow(void*) {
    return SlewModeOn() ? 1 : 0;
}
int JoystickSlewNow(void*) {
    return Chosen(Choice::kJoystickSlew) ? 1 : 0;
}
float SpeedFactorNow(void*) {
    return static_cast<float>(SpeedFactor());
}
float RestHeightNow(void*) {
    return static_cast<float>(RestHeight());
}
int PlaceCountNow(void*) {
    return PlaceCount();
}

struct Published {
    char* name;  // writable, as a message's parameter is
    XPLMGetDatai_f readInt;
    XPLMGetDataf_f readFloat;
};
char kSlewMode[] = "trovik/slew_mode";
char kJoystickSlew[] = "trovik/joystick_slew";
char kSpeedFactor[] = "trovik/speed_factor";
char kRestHeight[] = "trovik/rest_height";
char kPlaceCount[] = "trovik/place_count";
const Published kPublished[] = {
    {kSlewMode, SlewModeNow, nullptr},       {kJoystickSlew, JoystickSlewNow, nullptr},
    {kSpeedFactor, nullptr, SpeedFactorNow}, {kRestHeight, nullptr, RestHeightNow},
    {kPlaceCount, PlaceCountNow, nullptr},
};
constexpr int kCount = sizeof kPublished / sizeof kPublished[0];
XPLMDataRef gRefs[kCount] = {};

// The browsers users run, and the message each takes to list a plug-in's dataref.
const char* const kBrowsers[] = {"xplanesdk.examples.DataRefEditor", "com.leecbaker.datareftool"};
constexpr int kAddDataRef = 0x01000000;
XPLMFlightLoopID gAnnounce = nullptr;

// Only to a browser that is there: XPLM_NO_PLUGIN_ID would send it to every plug-in.
float Announce(float, float, int, void*) {
    for (const char* signature : kBrowsers) {
        const XPLMPluginID browser = XPLMFindPluginBySignature(signature);
        if (browser == XPLM_NO_PLUGIN_ID)
            continue;
        for (const Published& p : kPublished)
            XPLMSendMessageToPlugin(browser, kAddDataRef, p.name);
    }
    return 0.0f;  // once
}

}  // namespace

void PublishState() {
    for (int i = 0; i < kCount; ++i) {
        const Published& p = kPublished[i];
        gRefs[i] = XPLMRegisterDataAccessor(
            p.name, p.readInt != nullptr ? xplmType_Int : xplmType_Float, 0, p.readInt, nullptr,
            p.readFloat, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
            nullptr, nullptr, nullptr);
    }
    XPLMCreateFlightLoop_t params = {static_cast<int>(sizeof params),
                                     xplm_FlightLoop_Phase_BeforeFlightModel, Announce, nullptr};
    gAnnounce = XPLMCreateFlightLoop(&params);
    if (gAnnounce != nullptr)
        XPLMScheduleFlightLoop(gAnnounce, -1.0f, 1);
}

void WithdrawState() {
    for (XPLMDataRef& ref : gRefs) {
        if (ref != nullptr)
            XPLMUnregisterDataAccessor(ref);
        ref = nullptr;
    }
    if (gAnnounce != nullptr)
        XPLMDestroyFlightLoop(gAnnounce);
    gAnnounce = nullptr;
}
