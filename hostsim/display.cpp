// Keys, hot keys, key sniffers, windows and drawing, as the simulator delivers and records them.
#include <cstdio>
#include <cstring>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Keys ----

namespace {
bool Same(const KeySniffer& a, const KeySniffer& b) {
    return a.callback == b.callback && (a.beforeWindows != 0) == (b.beforeWindows != 0) &&
           a.refcon == b.refcon;
}
}  // namespace

bool Display::keyEvent(char character, XPLMKeyFlags flags, char virtualKey) {
    // Registrations may change inside a callback: walk a copy, skipping any that went away.
    if (!H().pluginEnabled)
        return false;
    const std::vector<KeySniffer> registered = sniffers;
    for (int pass = 0; pass < 2; ++pass) {
        const bool before = pass == 0;
        // A window with the keyboard takes the key after the sniffers before it.
        if (!before && windowHasKeyboard)
            return false;
        for (const KeySniffer& s : registered) {
            if ((s.beforeWindows != 0) != before)
                continue;
            const bool live = std::any_of(sniffers.begin(), sniffers.end(),
                                          [&s](const KeySniffer& c) { return Same(c, s); });
            if (live && s.callback(character, flags, virtualKey, s.refcon) == 0)
                return true;
        }
    }
    const std::vector<HotKey> keys = hotKeys;
    for (const HotKey& k : keys) {
        if (k.virtualKey == virtualKey && k.flags == flags && Has(hotKeys, k.id)) {
            ++hotKeyCalls;
            k.callback(k.refcon);
        }
    }
    return false;
}

void Display::pressKey(char virtualKey, XPLMKeyFlags modifiers, char character) {
    keyEvent(character, modifiers | xplm_DownFlag, virtualKey);
    keyEvent(character, modifiers | xplm_UpFlag, virtualKey);
}

// ---- Windows and drawing ----

Frame Display::drawFrame() {
    frame = Frame{};
    if (!H().pluginEnabled)
        return frame;
    drawing = true;
    const std::vector<Window> drawn = windows;
    for (const Window& w : drawn) {
        if (Has(windows, w.id) && w.visible != 0 && w.draw != nullptr)
            w.draw(w.id, w.refcon);
    }
    drawing = false;
    return frame;
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API XPLMHotKeyID XPLMRegisterHotKey(char inVirtualKey, XPLMKeyFlags inFlags,
                                         const char* inDescription, XPLMHotKey_f inCallback,
                                         void* inRefcon) {
    Call* call = RECORD("XPLMRegisterHotKey",
                        {Arg::Int(inVirtualKey), Arg::Int(inFlags), Arg::Text(inDescription),
                         Fn(inCallback), Arg::Pointer(inRefcon)});
    hostsim::HotKey key;
    key.virtualKey = inVirtualKey;
    key.flags = inFlags;
    key.description = inDescription == nullptr ? "" : inDescription;
    key.callback = inCallback;
    key.refcon = inRefcon;
    XPLMHotKeyID id = inCallback == nullptr ? nullptr : Add(H().display.hotKeys, key);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMUnregisterHotKey(XPLMHotKeyID inHotKey) {
    RECORD("XPLMUnregisterHotKey", {Arg::Pointer(inHotKey)});
    if (!Erase(H().display.hotKeys, inHotKey))
        Misuse("XPLMUnregisterHotKey of a hot key that is not registered");
}

XPLM_API int XPLMRegisterKeySniffer(XPLMKeySniffer_f inCallback, int inBeforeWindows,
                                    void* inRefcon) {
    Call* call = RECORD("XPLMRegisterKeySniffer",
                        {Fn(inCallback), Arg::Int(inBeforeWindows), Arg::Pointer(inRefcon)});
    const int ok = inCallback == nullptr ? 0 : 1;
    if (ok != 0)
        H().display.sniffers.push_back({inCallback, inBeforeWindows, inRefcon});
    Result(call, Arg::Int(ok));
    return ok;
}

XPLM_API int XPLMUnregisterKeySniffer(XPLMKeySniffer_f inCallback, int inBeforeWindows,
                                      void* inRefcon) {
    Call* call = RECORD("XPLMUnregisterKeySniffer",
                        {Fn(inCallback), Arg::Int(inBeforeWindows), Arg::Pointer(inRefcon)});
    auto& sniffers = H().display.sniffers;
    const KeySniffer gone{inCallback, inBeforeWindows, inRefcon};
    auto it = std::find_if(sniffers.begin(), sniffers.end(),
                           [&gone](const KeySniffer& s) { return Same(s, gone); });
    const int ok = it != sniffers.end() ? 1 : 0;
    if (ok != 0) {
        sniffers.erase(it);
    } else {
        Misuse(
            "XPLMUnregisterKeySniffer that matches no registration in callback, before flag and "
            "refcon");
    }
    Result(call, Arg::Int(ok));
    return ok;
}

XPLM_API XPLMWindowID XPLMCreateWindow(int inLeft, int inTop, int inRight, int inBottom,
                                       int inIsVisible, XPLMDrawWindow_f inDrawCallback,
                                       XPLMHandleKey_f inKeyCallback,
                                       XPLMHandleMouseClick_f inMouseCallback, void* inRefcon) {
    Call* call = RECORD("XPLMCreateWindow",
                        {Arg::Int(inLeft), Arg::Int(inTop), Arg::Int(inRight), Arg::Int(inBottom),
                         Arg::Int(inIsVisible), Fn(inDrawCallback), Fn(inKeyCallback),
                         Fn(inMouseCallback), Arg::Pointer(inRefcon)});
    hostsim::Window w;
    w.left = inLeft;
    w.top = inTop;
    w.right = inRight;
    w.bottom = inBottom;
    w.visible = inIsVisible;
    w.draw = inDrawCallback;
    w.refcon = inRefcon;
    XPLMWindowID id = Add(H().display.windows, w);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyWindow(XPLMWindowID inWindowID) {
    RECORD("XPLMDestroyWindow", {Arg::Pointer(inWindowID)});
    if (!Erase(H().display.windows, inWindowID))
        Misuse("XPLMDestroyWindow of a window that does not exist");
}

XPLM_API void XPLMGetScreenSize(int* outWidth, int* outHeight) {
    Call* call = RECORD("XPLMGetScreenSize", {});
    const Display& d = H().display;
    if (outWidth != nullptr)
        *outWidth = d.screenWidth;
    if (outHeight != nullptr)
        *outHeight = d.screenHeight;
    if (call != nullptr)
        call->args = {Arg::Int(d.screenWidth), Arg::Int(d.screenHeight)};
}

XPLM_API void XPLMDrawTranslucentDarkBox(int inLeft, int inTop, int inRight, int inBottom) {
    RECORD("XPLMDrawTranslucentDarkBox",
           {Arg::Int(inLeft), Arg::Int(inTop), Arg::Int(inRight), Arg::Int(inBottom)});
    if (H().display.drawing)
        H().display.frame.boxes.push_back({inLeft, inTop, inRight, inBottom});
}

XPLM_API void XPLMDrawString(float* inColorRGB, int inXOffset, int inYOffset, const char* inChar,
                             int* inWordWrapWidth, XPLMFontID inFontID) {
    if (Call* call = RECORD("XPLMDrawString", {})) {
        Arg colour = Arg::Pointer(inColorRGB);
        if (inColorRGB != nullptr) {
            colour.kind = Arg::Kind::Bare;
            char buf[96];
            std::snprintf(buf, sizeof buf, "rgb(%.9g, %.9g, %.9g)",
                          static_cast<double>(inColorRGB[0]), static_cast<double>(inColorRGB[1]),
                          static_cast<double>(inColorRGB[2]));
            colour.text = buf;
        }
        call->args = {colour,
                      Arg::Int(inXOffset),
                      Arg::Int(inYOffset),
                      Arg::Text(inChar),
                      Arg::Pointer(inWordWrapWidth),
                      Arg::Int(inFontID)};
    }
    if (!H().display.drawing)
        return;
    hostsim::Text t{};
    if (inColorRGB != nullptr)
        std::memcpy(t.rgb, inColorRGB, sizeof t.rgb);
    t.x = inXOffset;
    t.y = inYOffset;
    t.text = inChar == nullptr ? "" : inChar;
    H().display.frame.texts.push_back(t);
}

}  // extern "C"
