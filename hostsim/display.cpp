// Keys, hot keys, key sniffers, windows and drawing, as the simulator delivers and records them.
#include <algorithm>
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
        const bool inVR = w.positioning == xplm_WindowVR;
        if (!Has(windows, w.id) || w.visible == 0 || w.draw == nullptr || inVR != vr)
            continue;
        const size_t boxes = frame.boxes.size();
        const size_t texts = frame.texts.size();
        w.draw(w.id, w.refcon);
        for (size_t i = boxes; i < frame.boxes.size(); ++i)
            frame.boxes[i].vr = inVR;
        for (size_t i = texts; i < frame.texts.size(); ++i)
            frame.texts[i].vr = inVR;
    }
    drawing = false;
    return frame;
}

std::vector<Box> Display::fullScreenMonitors() const {
    if (windowed)
        return {};
    if (!monitors.empty())
        return monitors;
    return {
        {0, static_cast<int>(screenHeight / uiScale), static_cast<int>(screenWidth / uiScale), 0}};
}

Box Display::desktop() const {
    const std::vector<Box> all = fullScreenMonitors();
    if (all.empty())
        return windowBounds;
    Box b = all[0];
    for (const Box& m : all) {
        b.left = std::min(b.left, m.left);
        b.top = std::max(b.top, m.top);
        b.right = std::max(b.right, m.right);
        b.bottom = std::min(b.bottom, m.bottom);
    }
    return b;
}

XPLMWindowID Display::click(int x, int y) {
    // The newest first, then the top layer first: within a layer the later window is on top.
    std::vector<Window> under;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        const Window& w = *it;
        const bool shown = w.visible != 0 && (w.positioning == xplm_WindowVR) == vr;
        const bool passesThrough =
            w.modern && w.decoration == xplm_WindowDecorationNone && !undecoratedClicks;
        if (shown && !passesThrough && w.click != nullptr && x >= w.left && x < w.right &&
            y >= w.bottom && y < w.top) {
            under.push_back(w);
        }
    }
    std::stable_sort(under.begin(), under.end(),
                     [](const Window& a, const Window& b) { return a.layer > b.layer; });
    for (const Window& w : under) {
        const int taken = w.click(w.id, x, y, xplm_MouseDown, w.refcon);
        w.click(w.id, x, y, xplm_MouseUp, w.refcon);
        if (taken != 0)
            return w.id;
    }
    return nullptr;
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

XPLM_API XPLMWindowID XPLMCreateWindowEx(XPLMCreateWindow_t* inParams) {
    Call* call = RECORD("XPLMCreateWindowEx", {Arg::Pointer(inParams)});
    if (inParams == nullptr || inParams->structSize != static_cast<int>(sizeof *inParams)) {
        Misuse("XPLMCreateWindowEx without a struct of the size it knows");
        return nullptr;
    }
    const XPLMCreateWindow_t& p = *inParams;
    if (call != nullptr) {
        call->args = {
            Arg::Int(p.left),           Arg::Int(p.top),      Arg::Int(p.right),
            Arg::Int(p.bottom),         Arg::Int(p.visible),  Arg::Int(p.decorateAsFloatingWindow),
            Arg::Int(p.layer),          Fn(p.drawWindowFunc), Fn(p.handleMouseClickFunc),
            Fn(p.handleRightClickFunc), Fn(p.handleKeyFunc),  Fn(p.handleCursorFunc),
            Fn(p.handleMouseWheelFunc)};
    }
    // "You must provide functions for every callback---you may not leave them null!"
    if (p.drawWindowFunc == nullptr || p.handleMouseClickFunc == nullptr ||
        p.handleRightClickFunc == nullptr || p.handleKeyFunc == nullptr ||
        p.handleCursorFunc == nullptr || p.handleMouseWheelFunc == nullptr) {
        Misuse("XPLMCreateWindowEx with a null callback");
    }
    hostsim::Window w;
    w.modern = true;
    w.left = p.left;
    w.top = p.top;
    w.right = p.right;
    w.bottom = p.bottom;
    w.visible = p.visible;
    w.draw = p.drawWindowFunc;
    w.click = p.handleMouseClickFunc;
    w.rightClick = p.handleRightClickFunc;
    w.key = p.handleKeyFunc;
    w.cursor = p.handleCursorFunc;
    w.wheel = p.handleMouseWheelFunc;
    w.refcon = p.refcon;
    w.layer = p.layer;
    w.decoration = p.decorateAsFloatingWindow;
    XPLMWindowID id = Add(H().display.windows, w);
    Result(call, Arg::Pointer(id));
    return id;
}

namespace {

hostsim::Window* Find(XPLMWindowID id, const char* caller) {
    for (hostsim::Window& w : H().display.windows) {
        if (w.id == id)
            return &w;
    }
    Misuse(std::string(caller) + " of a window that does not exist");
    return nullptr;
}

// A rectangle into the caller's variables (any of them may be null), and into the call's record.
void GiveBox(const hostsim::Box& b, int* left, int* top, int* right, int* bottom, Call* call) {
    for (auto [out, v] : {std::pair{left, b.left}, std::pair{top, b.top}, std::pair{right, b.right},
                          std::pair{bottom, b.bottom}}) {
        if (out != nullptr)
            *out = v;
        if (call != nullptr)
            call->args.push_back(Arg::Int(v));
    }
}

}  // namespace

XPLM_API void XPLMSetWindowPositioningMode(XPLMWindowID inWindowID,
                                           XPLMWindowPositioningMode inPositioningMode,
                                           int inMonitorIndex) {
    RECORD("XPLMSetWindowPositioningMode",
           {Arg::Pointer(inWindowID), Arg::Int(inPositioningMode), Arg::Int(inMonitorIndex)});
    hostsim::Window* w = Find(inWindowID, "XPLMSetWindowPositioningMode");
    // A legacy window is always free.
    if (w == nullptr || !w->modern)
        return;
    if (inPositioningMode == xplm_WindowVR && !H().utilities.xplm301)
        Misuse("xplm_WindowVR on an XPLM 300 host");
    w->positioning = inPositioningMode;
    if (inPositioningMode != xplm_WindowFullScreenOnMonitor)
        return;
    const hostsim::Display& d = H().display;
    const std::vector<hostsim::Box> monitors = d.fullScreenMonitors();
    // A negative index: the main monitor; windowed, X-Plane's own window.
    const hostsim::Box on =
        monitors.empty() ? d.windowBounds
        : inMonitorIndex >= 0 && inMonitorIndex < static_cast<int>(monitors.size())
            ? monitors[static_cast<size_t>(inMonitorIndex)]
            : monitors[0];
    w->left = on.left;
    w->top = on.top;
    w->right = on.right;
    w->bottom = on.bottom;
}

XPLM_API void XPLMGetWindowGeometry(XPLMWindowID inWindowID, int* outLeft, int* outTop,
                                    int* outRight, int* outBottom) {
    Call* call = RECORD("XPLMGetWindowGeometry", {Arg::Pointer(inWindowID)});
    const hostsim::Window* w = Find(inWindowID, "XPLMGetWindowGeometry");
    hostsim::Box b{0, 0, 0, 0};
    if (w != nullptr && w->positioning == xplm_WindowVR) {
        b = {hostsim::Display::kVrLeft, hostsim::Display::kVrBottom + w->vrHeight,
             hostsim::Display::kVrLeft + w->vrWidth, hostsim::Display::kVrBottom};
    } else if (w != nullptr) {
        b = {w->left, w->top, w->right, w->bottom};
    }
    GiveBox(b, outLeft, outTop, outRight, outBottom, call);
}

XPLM_API void XPLMSetWindowGeometryVR(XPLMWindowID inWindowID, int widthBoxels, int heightBoxels) {
    RECORD("XPLMSetWindowGeometryVR",
           {Arg::Pointer(inWindowID), Arg::Int(widthBoxels), Arg::Int(heightBoxels)});
    hostsim::Window* w = Find(inWindowID, "XPLMSetWindowGeometryVR");
    if (w == nullptr)
        return;
    if (w->positioning != xplm_WindowVR)
        Misuse("XPLMSetWindowGeometryVR of a window that is not in VR");
    w->vrWidth = widthBoxels;
    w->vrHeight = heightBoxels;
}

XPLM_API int XPLMWindowIsInVR(XPLMWindowID inWindowID) {
    Call* call = RECORD("XPLMWindowIsInVR", {Arg::Pointer(inWindowID)});
    const hostsim::Window* w = Find(inWindowID, "XPLMWindowIsInVR");
    const int in = w != nullptr && w->positioning == xplm_WindowVR ? 1 : 0;
    Result(call, Arg::Int(in));
    return in;
}

XPLM_API void XPLMGetScreenBoundsGlobal(int* outLeft, int* outTop, int* outRight, int* outBottom) {
    Call* call = RECORD("XPLMGetScreenBoundsGlobal", {});
    GiveBox(H().display.desktop(), outLeft, outTop, outRight, outBottom, call);
}

XPLM_API void XPLMGetAllMonitorBoundsGlobal(
    XPLMReceiveMonitorBoundsGlobal_f inMonitorBoundsCallback, void* inRefcon) {
    RECORD("XPLMGetAllMonitorBoundsGlobal", {Fn(inMonitorBoundsCallback), Arg::Pointer(inRefcon)});
    const std::vector<hostsim::Box> monitors = H().display.fullScreenMonitors();
    for (size_t i = 0; i < monitors.size() && inMonitorBoundsCallback != nullptr; ++i) {
        const hostsim::Box& m = monitors[i];
        inMonitorBoundsCallback(static_cast<int>(i), m.left, m.top, m.right, m.bottom, inRefcon);
    }
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
