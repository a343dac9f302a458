// Keys, hot keys, key sniffers, windows and drawing, as the simulator delivers and records them.
#include <cstdio>
#include <cstring>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Keys ----

XPLMHotKeyID Host::addHotKey(const HotKey& key) {
    return Add(hotKeys_, key, nextId_);
}

void Host::removeHotKey(XPLMHotKeyID id) {
    if (!Erase(hotKeys_, id))
        misuse("XPLMUnregisterHotKey of a hot key that is not registered");
}

int Host::addSniffer(const KeySniffer& sniffer) {
    sniffers_.push_back(sniffer);
    return 1;
}

namespace {
bool Same(const KeySniffer& a, const KeySniffer& b) {
    return a.callback == b.callback && (a.beforeWindows != 0) == (b.beforeWindows != 0) &&
           a.refcon == b.refcon;
}
}  // namespace

int Host::removeSniffer(const KeySniffer& sniffer) {
    for (auto it = sniffers_.begin(); it != sniffers_.end(); ++it) {
        if (Same(*it, sniffer)) {
            sniffers_.erase(it);
            return 1;
        }
    }
    misuse(
        "XPLMUnregisterKeySniffer that matches no registration in callback, before flag and "
        "refcon");
    return 0;
}

bool Host::keyEvent(char character, XPLMKeyFlags flags, char virtualKey) {
    // Registrations may change inside a callback: walk a copy, skipping any that went away.
    if (!pluginEnabled)
        return false;
    const std::vector<KeySniffer> sniffers = sniffers_;
    for (int pass = 0; pass < 2; ++pass) {
        const bool before = pass == 0;
        // A window with the keyboard takes the key after the sniffers before it.
        if (!before && windowHasKeyboard)
            return false;
        for (const KeySniffer& s : sniffers) {
            if ((s.beforeWindows != 0) != before)
                continue;
            const bool live = std::any_of(sniffers_.begin(), sniffers_.end(),
                                          [&s](const KeySniffer& c) { return Same(c, s); });
            if (!live)
                continue;
            if (s.callback(character, flags, virtualKey, s.refcon) == 0)
                return true;
        }
    }
    const std::vector<HotKey> keys = hotKeys_;
    for (const HotKey& k : keys) {
        if (k.virtualKey != virtualKey || k.flags != flags)
            continue;
        if (Has(hotKeys_, k.id)) {
            ++hotKeyCalls;
            k.callback(k.refcon);
        }
    }
    return false;
}

void Host::pressKey(char virtualKey, XPLMKeyFlags modifiers, char character) {
    keyEvent(character, modifiers | xplm_DownFlag, virtualKey);
    keyEvent(character, modifiers | xplm_UpFlag, virtualKey);
}

std::vector<HotKey> Host::hotKeys() const {
    return hotKeys_;
}
std::vector<KeySniffer> Host::keySniffers() const {
    return sniffers_;
}

// ---- Windows and drawing ----

XPLMWindowID Host::addWindow(const Window& window) {
    return Add(windows_, window, nextId_);
}

void Host::removeWindow(XPLMWindowID id) {
    if (!Erase(windows_, id))
        misuse("XPLMDestroyWindow of a window that does not exist");
}

std::vector<Window> Host::windows() const {
    return windows_;
}

Frame Host::drawFrame() {
    frame_ = Frame{};
    if (!pluginEnabled)
        return frame_;
    drawing_ = true;
    const std::vector<Window> windows = windows_;
    for (const Window& w : windows) {
        if (Has(windows_, w.id) && w.visible != 0 && w.draw != nullptr)
            w.draw(w.id, w.refcon);
    }
    drawing_ = false;
    return frame_;
}

void Host::addBox(const Box& box) {
    if (drawing_)
        frame_.boxes.push_back(box);
}

void Host::addText(const Text& text) {
    if (drawing_)
        frame_.texts.push_back(text);
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
    XPLMHotKeyID id = inCallback == nullptr ? nullptr : H().addHotKey(key);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMUnregisterHotKey(XPLMHotKeyID inHotKey) {
    RECORD("XPLMUnregisterHotKey", {Arg::Pointer(inHotKey)});
    H().removeHotKey(inHotKey);
}

XPLM_API int XPLMRegisterKeySniffer(XPLMKeySniffer_f inCallback, int inBeforeWindows,
                                    void* inRefcon) {
    Call* call = RECORD("XPLMRegisterKeySniffer",
                        {Fn(inCallback), Arg::Int(inBeforeWindows), Arg::Pointer(inRefcon)});
    const int ok =
        inCallback == nullptr ? 0 : H().addSniffer({inCallback, inBeforeWindows, inRefcon});
    Result(call, Arg::Int(ok));
    return ok;
}

XPLM_API int XPLMUnregisterKeySniffer(XPLMKeySniffer_f inCallback, int inBeforeWindows,
                                      void* inRefcon) {
    Call* call = RECORD("XPLMUnregisterKeySniffer",
                        {Fn(inCallback), Arg::Int(inBeforeWindows), Arg::Pointer(inRefcon)});
    const int ok = H().removeSniffer({inCallback, inBeforeWindows, inRefcon});
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
    w.key = inKeyCallback;
    w.mouse = inMouseCallback;
    w.refcon = inRefcon;
    XPLMWindowID id = H().addWindow(w);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyWindow(XPLMWindowID inWindowID) {
    RECORD("XPLMDestroyWindow", {Arg::Pointer(inWindowID)});
    H().removeWindow(inWindowID);
}

XPLM_API void XPLMGetScreenSize(int* outWidth, int* outHeight) {
    Call* call = RECORD("XPLMGetScreenSize", {});
    if (outWidth != nullptr)
        *outWidth = H().screenWidth;
    if (outHeight != nullptr)
        *outHeight = H().screenHeight;
    if (call != nullptr) {
        call->args = {Arg::Int(H().screenWidth), Arg::Int(H().screenHeight)};
    }
}

XPLM_API void XPLMDrawTranslucentDarkBox(int inLeft, int inTop, int inRight, int inBottom) {
    RECORD("XPLMDrawTranslucentDarkBox",
           {Arg::Int(inLeft), Arg::Int(inTop), Arg::Int(inRight), Arg::Int(inBottom)});
    H().addBox({inLeft, inTop, inRight, inBottom});
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
    if (!H().drawing())
        return;
    hostsim::Text t{};
    if (inColorRGB != nullptr)
        std::memcpy(t.rgb, inColorRGB, sizeof t.rgb);
    t.x = inXOffset;
    t.y = inYOffset;
    t.text = inChar == nullptr ? "" : inChar;
    t.hasWrapWidth = inWordWrapWidth != nullptr;
    t.font = inFontID;
    H().addText(t);
}

}  // extern "C"
