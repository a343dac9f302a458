// What hostsim's own files share: the recorder's entry for an XPLM call, and registrations
// kept under ids. Not part of hostsim's interface.
#ifndef HOSTSIM_INTERNAL_H
#define HOSTSIM_INTERNAL_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "hostsim.h"

// XPLM 301 functions the host exports, which a plug-in finds with XPLMFindSymbol and never
// imports (our declarations of the SDK leave them out for that reason).
extern "C" {
XPLM_API void XPLMSetWindowGeometryVR(XPLMWindowID inWindowID, int widthBoxels, int heightBoxels);
XPLM_API int XPLMWindowIsInVR(XPLMWindowID inWindowID);
}

namespace hostsim {
namespace internal {

inline Host& H() {
    return Host::get();
}

inline void Misuse(const std::string& what) {
    H().recorder.misuse(what);
}

// Appends a call to the recorder and returns it so that a result can be added.
inline Call* Record(const char* fn, std::initializer_list<Arg> args) {
    Recorder& r = H().recorder;
    r.calls.push_back(Call{fn, args, false, Arg{}});
    return &r.calls.back();
}

inline void Result(Call* call, const Arg& result) {
    if (call == nullptr)
        return;
    call->hasResult = true;
    call->result = result;
}

inline Arg Ref(XPLMDataRef ref) {
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

// Ids are never reused, not even across resets, so a stale id never names a newer registration.
void* NewId();

template <typename T>
void* Add(std::vector<T>& items, const T& item) {
    T added = item;
    added.id = NewId();
    items.push_back(added);
    return added.id;
}

template <typename T>
bool Has(const std::vector<T>& items, const void* id) {
    return std::any_of(items.begin(), items.end(), [id](const T& t) { return t.id == id; });
}

template <typename T>
bool Erase(std::vector<T>& items, const void* id) {
    auto it = std::find_if(items.begin(), items.end(), [id](const T& t) { return t.id == id; });
    if (it == items.end())
        return false;
    items.erase(it);
    return true;
}

}  // namespace internal
}  // namespace hostsim

// With the recorder off the arguments are not even built: a benchmark then sees the plug-in's
// own cost, and an allocation counter sees only the plug-in's allocations. Null when off.
#define RECORD(fn, ...)                                                                       \
    (::hostsim::internal::H().recorder.enabled ? ::hostsim::internal::Record(fn, __VA_ARGS__) \
                                               : nullptr)

#endif  // HOSTSIM_INTERNAL_H
