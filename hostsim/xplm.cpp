// The XPLM functions, as the simulator exports them, over hostsim's state. Each one records
// itself first, with its arguments as the plug-in passed them.
#include <cstdio>
#include <cstring>

#include "hostsim.h"

using hostsim::Arg;
using hostsim::Call;
using hostsim::DataRefValue;
using hostsim::DataType;
using hostsim::Host;

namespace {

Host& H() {
    return Host::get();
}

// Appends a call to the recorder and returns it so that a result can be added.
Call* Record(const char* fn, std::initializer_list<Arg> args) {
    hostsim::Recorder& r = H().recorder;
    r.calls.push_back(Call{fn, args, false, Arg{}});
    return &r.calls.back();
}

// With the recorder off the arguments are not even built: a benchmark then sees the plug-in's
// own cost, and an allocation counter sees only the plug-in's allocations. Null when off.
#define RECORD(fn, ...) (H().recorder.enabled ? Record(fn, __VA_ARGS__) : nullptr)

void Result(Call* call, const Arg& result) {
    if (call == nullptr)
        return;
    call->hasResult = true;
    call->result = result;
}

Arg Ref(XPLMDataRef ref) {
    Arg a;
    a.kind = Arg::Kind::Bare;
    a.p = ref;
    a.text = ref == nullptr ? "<null>" : static_cast<const DataRefValue*>(ref)->path;
    return a;
}

template <typename F>
Arg Fn(F f) {
    return Arg::Pointer(reinterpret_cast<const void*>(f));
}

DataRefValue* Value(XPLMDataRef ref) {
    return static_cast<DataRefValue*>(ref);
}

}  // namespace

extern "C" {

XPLM_API XPLMDataRef XPLMFindDataRef(const char* inDataRefName) {
    Call* call = RECORD("XPLMFindDataRef", {Arg::Text(inDataRefName)});
    XPLMDataRef ref = H().find(inDataRefName);
    Result(call, Ref(ref));
    return ref;
}

// A double dataref answers float reads and writes too, rounding and widening; a float one
// answers only as float and an int array only through the array calls. A mismatch reads 0 and
// drops the write, as the simulator does.
XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef) {
    Call* call = RECORD("XPLMGetDataf", {Ref(inDataRef)});
    float v = 0.0f;
    if (DataRefValue* r = Value(inDataRef)) {
        if (r->type == DataType::Float)
            v = r->f;
        if (r->type == DataType::Double)
            v = static_cast<float>(r->d);
    }
    Result(call, Arg::Float(v));
    return v;
}

XPLM_API void XPLMSetDataf(XPLMDataRef inDataRef, float inValue) {
    RECORD("XPLMSetDataf", {Ref(inDataRef), Arg::Float(inValue)});
    if (DataRefValue* r = Value(inDataRef)) {
        if (r->type == DataType::Float)
            r->f = inValue;
        if (r->type == DataType::Double)
            r->d = inValue;
    }
}

XPLM_API double XPLMGetDatad(XPLMDataRef inDataRef) {
    Call* call = RECORD("XPLMGetDatad", {Ref(inDataRef)});
    double v = 0.0;
    if (DataRefValue* r = Value(inDataRef)) {
        if (r->type == DataType::Double)
            v = r->d;
    }
    Result(call, Arg::Double(v));
    return v;
}

XPLM_API void XPLMSetDatad(XPLMDataRef inDataRef, double inValue) {
    RECORD("XPLMSetDatad", {Ref(inDataRef), Arg::Double(inValue)});
    if (DataRefValue* r = Value(inDataRef)) {
        if (r->type == DataType::Double)
            r->d = inValue;
    }
}

XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int* outValues, int inOffset, int inMax) {
    Call* call = RECORD("XPLMGetDatavi", {Ref(inDataRef), Arg::Pointer(outValues),
                                          Arg::Int(inOffset), Arg::Int(inMax)});
    int n = 0;
    DataRefValue* r = Value(inDataRef);
    if (r != nullptr && r->type == DataType::IntArray) {
        const int size = static_cast<int>(r->ints.size());
        if (outValues == nullptr) {
            n = size;
        } else if (inOffset >= 0 && inOffset < size && inMax > 0) {
            n = inMax < size - inOffset ? inMax : size - inOffset;
            std::memcpy(outValues, r->ints.data() + inOffset, sizeof(int) * n);
        }
    }
    Result(call, Arg::Int(n));
    return n;
}

XPLM_API void XPLMSetDatavi(XPLMDataRef inDataRef, int* inValues, int inOffset, int inCount) {
    DataRefValue* r = Value(inDataRef);
    const int size =
        r != nullptr && r->type == DataType::IntArray ? static_cast<int>(r->ints.size()) : 0;
    int n = 0;
    if (inValues != nullptr && inOffset >= 0 && inOffset < size && inCount > 0) {
        n = inCount < size - inOffset ? inCount : size - inOffset;
    }
    // Only the elements that land are recorded: a wild count must not make us read far away.
    RECORD("XPLMSetDatavi",
           {Ref(inDataRef), Arg::Ints(inValues, n), Arg::Int(inOffset), Arg::Int(inCount)});
    if (n > 0)
        std::memcpy(r->ints.data() + inOffset, inValues, sizeof(int) * n);
}

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

XPLM_API void XPLMCommandButtonPress(XPLMCommandButtonID inButton) {
    RECORD("XPLMCommandButtonPress", {Arg::Int(inButton)});
    H().buttonsDown.push_back(inButton);
}

XPLM_API void XPLMCommandButtonRelease(XPLMCommandButtonID inButton) {
    RECORD("XPLMCommandButtonRelease", {Arg::Int(inButton)});
    auto& down = H().buttonsDown;
    for (auto it = down.begin(); it != down.end(); ++it) {
        if (*it == inButton) {
            down.erase(it);
            break;
        }
    }
}

XPLM_API XPLMCommandRef XPLMFindCommand(const char* inName) {
    Call* call = RECORD("XPLMFindCommand", {Arg::Text(inName)});
    XPLMCommandRef ref = inName == nullptr ? nullptr : H().findCommand(inName);
    Result(call, Arg::Pointer(ref));
    return ref;
}

XPLM_API void XPLMCommandBegin(XPLMCommandRef inCommand) {
    RECORD("XPLMCommandBegin", {Arg::Pointer(inCommand)});
    H().commandBegin(inCommand);
}

XPLM_API void XPLMCommandEnd(XPLMCommandRef inCommand) {
    RECORD("XPLMCommandEnd", {Arg::Pointer(inCommand)});
    H().commandEnd(inCommand);
}

XPLM_API void XPLMCommandOnce(XPLMCommandRef inCommand) {
    RECORD("XPLMCommandOnce", {Arg::Pointer(inCommand)});
    H().commandOnce(inCommand);
}

XPLM_API XPLMCommandRef XPLMCreateCommand(const char* inName, const char* inDescription) {
    Call* call = RECORD("XPLMCreateCommand", {Arg::Text(inName), Arg::Text(inDescription)});
    XPLMCommandRef ref = H().createCommand(inName, inDescription);
    Result(call, Arg::Pointer(ref));
    return ref;
}

XPLM_API void XPLMRegisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                         int inBefore, void* inRefcon) {
    RECORD("XPLMRegisterCommandHandler",
           {Arg::Pointer(inComand), Fn(inHandler), Arg::Int(inBefore), Arg::Pointer(inRefcon)});
    H().addCommandHandler({inComand, inHandler, inBefore, inRefcon});
}

XPLM_API void XPLMUnregisterCommandHandler(XPLMCommandRef inComand, XPLMCommandCallback_f inHandler,
                                           int inBefore, void* inRefcon) {
    RECORD("XPLMUnregisterCommandHandler",
           {Arg::Pointer(inComand), Fn(inHandler), Arg::Int(inBefore), Arg::Pointer(inRefcon)});
    H().removeCommandHandler({inComand, inHandler, inBefore, inRefcon});
}

XPLM_API XPLMMenuID XPLMFindPluginsMenu(void) {
    Call* call = RECORD("XPLMFindPluginsMenu", {});
    Result(call, Arg::Pointer(H().pluginsMenu()));
    return H().pluginsMenu();
}

XPLM_API XPLMMenuID XPLMCreateMenu(const char* inName, XPLMMenuID inParentMenu, int inParentItem,
                                   XPLMMenuHandler_f inHandler, void* inMenuRef) {
    Call* call =
        RECORD("XPLMCreateMenu", {Arg::Text(inName), Arg::Pointer(inParentMenu),
                                  Arg::Int(inParentItem), Fn(inHandler), Arg::Pointer(inMenuRef)});
    hostsim::Menu m;
    m.name = inName == nullptr ? "" : inName;
    m.parent = inParentMenu;
    m.parentItem = inParentItem;
    m.handler = inHandler;
    m.ref = inMenuRef;
    XPLMMenuID id = H().addMenu(m);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyMenu(XPLMMenuID inMenuID) {
    RECORD("XPLMDestroyMenu", {Arg::Pointer(inMenuID)});
    H().removeMenu(inMenuID);
}

namespace {
int AppendItem(const char* fn, XPLMMenuID menu, const char* name, void* ref,
               XPLMCommandRef command) {
    hostsim::Menu* m = H().editMenu(menu, fn);
    if (m == nullptr)
        return -1;
    hostsim::MenuItem item;
    item.name = name == nullptr ? "" : name;
    item.ref = ref;
    item.command = command;
    m->items.push_back(item);
    return static_cast<int>(m->items.size()) - 1;
}
}  // namespace

XPLM_API int XPLMAppendMenuItem(XPLMMenuID inMenu, const char* inItemName, void* inItemRef,
                                int inDeprecatedAndIgnored) {
    Call* call =
        RECORD("XPLMAppendMenuItem", {Arg::Pointer(inMenu), Arg::Text(inItemName),
                                      Arg::Pointer(inItemRef), Arg::Int(inDeprecatedAndIgnored)});
    const int index = AppendItem("XPLMAppendMenuItem", inMenu, inItemName, inItemRef, nullptr);
    Result(call, Arg::Int(index));
    return index;
}

XPLM_API int XPLMAppendMenuItemWithCommand(XPLMMenuID inMenu, const char* inItemName,
                                           XPLMCommandRef inCommandToExecute) {
    Call* call =
        RECORD("XPLMAppendMenuItemWithCommand",
               {Arg::Pointer(inMenu), Arg::Text(inItemName), Arg::Pointer(inCommandToExecute)});
    if (H().command(inCommandToExecute) == nullptr)
        H().misuse("XPLMAppendMenuItemWithCommand with an unknown command");
    const int index = AppendItem("XPLMAppendMenuItemWithCommand", inMenu, inItemName, nullptr,
                                 inCommandToExecute);
    Result(call, Arg::Int(index));
    return index;
}

XPLM_API void XPLMCheckMenuItem(XPLMMenuID inMenu, int index, XPLMMenuCheck inCheck) {
    RECORD("XPLMCheckMenuItem", {Arg::Pointer(inMenu), Arg::Int(index), Arg::Int(inCheck)});
    if (hostsim::MenuItem* item = H().editItem(inMenu, index, "XPLMCheckMenuItem"))
        item->check = inCheck;
}

XPLM_API void XPLMCheckMenuItemState(XPLMMenuID inMenu, int index, XPLMMenuCheck* outCheck) {
    RECORD("XPLMCheckMenuItemState", {Arg::Pointer(inMenu), Arg::Int(index)});
    hostsim::MenuItem* item = H().editItem(inMenu, index, "XPLMCheckMenuItemState");
    if (item != nullptr && outCheck != nullptr)
        *outCheck = item->check;
}

XPLM_API void XPLMEnableMenuItem(XPLMMenuID inMenu, int index, int enabled) {
    RECORD("XPLMEnableMenuItem", {Arg::Pointer(inMenu), Arg::Int(index), Arg::Int(enabled)});
    if (hostsim::MenuItem* item = H().editItem(inMenu, index, "XPLMEnableMenuItem"))
        item->enabled = enabled != 0;
}

XPLM_API void XPLMRemoveMenuItem(XPLMMenuID inMenu, int inIndex) {
    RECORD("XPLMRemoveMenuItem", {Arg::Pointer(inMenu), Arg::Int(inIndex)});
    if (H().editItem(inMenu, inIndex, "XPLMRemoveMenuItem") != nullptr) {
        auto& items = H().editMenu(inMenu, "XPLMRemoveMenuItem")->items;
        items.erase(items.begin() + inIndex);
    }
}

XPLM_API XPLMFlightLoopID XPLMCreateFlightLoop(XPLMCreateFlightLoop_t* inParams) {
    Call* call = RECORD("XPLMCreateFlightLoop", {Arg::Pointer(inParams)});
    if (call != nullptr && inParams != nullptr) {
        Arg params;
        params.kind = Arg::Kind::Bare;
        params.text = "{" + std::to_string(inParams->structSize) + ", " +
                      std::to_string(inParams->phase) + ", " + Fn(inParams->callbackFunc).str() +
                      ", " + Arg::Pointer(inParams->refcon).str() + "}";
        call->args = {params};
    }
    // The struct may grow in later SDKs; one smaller than this SDK's is not one we can read.
    if (inParams == nullptr || inParams->callbackFunc == nullptr ||
        inParams->structSize < static_cast<int>(sizeof(XPLMCreateFlightLoop_t))) {
        H().misuse("XPLMCreateFlightLoop without a callback or with a short struct");
        Result(call, Arg::Pointer(nullptr));
        return nullptr;
    }
    hostsim::FlightLoop loop;
    loop.phase = inParams->phase;
    loop.callback = inParams->callbackFunc;
    loop.refcon = inParams->refcon;
    XPLMFlightLoopID id = H().createFlightLoop(loop);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyFlightLoop(XPLMFlightLoopID inFlightLoopID) {
    RECORD("XPLMDestroyFlightLoop", {Arg::Pointer(inFlightLoopID)});
    H().destroyFlightLoop(inFlightLoopID);
}

XPLM_API void XPLMScheduleFlightLoop(XPLMFlightLoopID inFlightLoopID, float inInterval,
                                     int inRelativeToNow) {
    RECORD("XPLMScheduleFlightLoop",
           {Arg::Pointer(inFlightLoopID), Arg::Float(inInterval), Arg::Int(inRelativeToNow)});
    H().scheduleFlightLoop(inFlightLoopID, inInterval, inRelativeToNow);
}

XPLM_API void XPLMControlCamera(XPLMCameraControlDuration inHowLong,
                                XPLMCameraControl_f inControlFunc, void* inRefcon) {
    RECORD("XPLMControlCamera", {Arg::Int(inHowLong), Fn(inControlFunc), Arg::Pointer(inRefcon)});
    // Whoever held the camera before is told it lost it.
    const hostsim::Camera previous = H().camera();
    H().takeCamera({inControlFunc, inHowLong, inRefcon});
    if (previous.callback != nullptr)
        previous.callback(nullptr, 1, previous.refcon);
}

XPLM_API void XPLMDontControlCamera(void) {
    RECORD("XPLMDontControlCamera", {});
    if (!H().cameraControlled())
        H().misuse("XPLMDontControlCamera while no plug-in holds the camera");
    H().releaseCamera();
}

}  // extern "C"
