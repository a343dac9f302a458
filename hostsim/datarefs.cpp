// Datarefs: typed in-memory values under the simulator's paths, and the XPLM functions that
// read and write them.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Datarefs ----

const std::vector<KnownDataRef>& DefaultDataRefs() {
    // Types as the simulator publishes them. The override array has an entry per aircraft slot.
    static const std::vector<KnownDataRef> known = {
        {"sim/operation/override/override_planepath", DataType::IntArray, 20},
        {"sim/flightmodel/position/local_x", DataType::Double, 1},
        {"sim/flightmodel/position/local_y", DataType::Double, 1},
        {"sim/flightmodel/position/local_z", DataType::Double, 1},
        {"sim/flightmodel/position/y_agl", DataType::Float, 1},
        {"sim/flightmodel/position/psi", DataType::Float, 1},
        {"sim/flightmodel/position/theta", DataType::Float, 1},
        {"sim/flightmodel/position/phi", DataType::Float, 1},
        {"sim/flightmodel/position/latitude", DataType::Double, 1},
        {"sim/flightmodel/position/longitude", DataType::Double, 1},
        {"sim/flightmodel/position/elevation", DataType::Double, 1},
        {"sim/flightmodel/position/mag_psi", DataType::Float, 1},
        // The stick, -1 to 1, as the simulator reports it even while the flight path is held.
        {"sim/joystick/yoke_pitch_ratio", DataType::Float, 1},
        {"sim/joystick/yoke_roll_ratio", DataType::Float, 1},
        {"sim/joystick/yoke_heading_ratio", DataType::Float, 1},
    };
    return known;
}

Host::Host() {
    reset();
}

void Host::defineDataRef(const std::string& path, DataType type, int size) {
    // A path defined again reuses its old storage, so that a stale handle still names it and a
    // long run of resets does not grow.
    std::unique_ptr<DataRefValue> value;
    auto it = datarefs_.find(path);
    if (it != datarefs_.end()) {
        value = std::move(it->second);
    } else {
        for (auto r = retired_.begin(); r != retired_.end(); ++r) {
            if ((*r)->path == path) {
                value = std::move(*r);
                retired_.erase(r);
                break;
            }
        }
    }
    if (!value)
        value = std::make_unique<DataRefValue>();
    *value = DataRefValue{};
    value->path = path;
    value->type = type;
    if (type == DataType::IntArray)
        value->ints.assign(size > 0 ? size : 0, 0);
    datarefs_[path] = std::move(value);
}

void Host::removeDataRef(const std::string& path) {
    auto it = datarefs_.find(path);
    if (it == datarefs_.end())
        return;
    retired_.push_back(std::move(it->second));
    datarefs_.erase(it);
}

bool Host::hasDataRef(const std::string& path) const {
    return datarefs_.count(path) != 0;
}

DataRefValue& Host::dataRef(const std::string& path) {
    auto it = datarefs_.find(path);
    if (it == datarefs_.end()) {
        std::fprintf(stderr, "hostsim: no dataref %s\n", path.c_str());
        std::abort();
    }
    return *it->second;
}

XPLMDataRef Host::find(const char* path) {
    if (path == nullptr)
        return nullptr;
    auto it = datarefs_.find(path);
    return it == datarefs_.end() ? nullptr : it->second.get();
}

// Test-side access goes through the same typed rules as the plug-in's.
void Host::setDouble(const std::string& path, double v) {
    DataRefValue& r = dataRef(path);
    if (r.type == DataType::Double)
        r.d = v;
    if (r.type == DataType::Float)
        r.f = static_cast<float>(v);
}

void Host::setFloat(const std::string& path, float v) {
    DataRefValue& r = dataRef(path);
    if (r.type == DataType::Double)
        r.d = v;
    if (r.type == DataType::Float)
        r.f = v;
}

void Host::setInt(const std::string& path, int index, int v) {
    DataRefValue& r = dataRef(path);
    if (index >= 0 && static_cast<size_t>(index) < r.ints.size())
        r.ints[index] = v;
}

double Host::getDouble(const std::string& path) {
    const DataRefValue& r = dataRef(path);
    return r.type == DataType::Double ? r.d : r.type == DataType::Float ? r.f : 0.0;
}

float Host::getFloat(const std::string& path) {
    const DataRefValue& r = dataRef(path);
    return r.type == DataType::Double  ? static_cast<float>(r.d)
           : r.type == DataType::Float ? r.f
                                       : 0.0f;
}

int Host::getInt(const std::string& path, int index) {
    const DataRefValue& r = dataRef(path);
    if (index < 0 || static_cast<size_t>(index) >= r.ints.size())
        return 0;
    return r.ints[index];
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

namespace {
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

}  // extern "C"
