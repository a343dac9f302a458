// Datarefs: typed in-memory values under the simulator's paths, and the XPLM functions that
// read and write them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "internal.h"
#include "paths.h"

namespace hostsim {

using namespace internal;

using paths::kOverride;

// ---- Datarefs ----

const std::vector<KnownDataRef>& KnownDataRefs() {
    // Types and sizes as the simulator publishes them, grouped as its own list groups them.
    static const std::vector<KnownDataRef> known = {
        {"sim/aircraft/view/acf_Vs", DataType::Float, 1},
        // Set by the flight model while it runs; frozen while the flight path is held.
        {"sim/flightmodel/failures/onground_any", DataType::Int, 1},
        {"sim/flightmodel/failures/onground_all", DataType::Int, 1},
        // Each wheel's height below (negative) the reference point, uncompressed; 0 where the
        // aircraft has no such wheel. No gear at all by default.
        {"sim/flightmodel/parts/tire_y_no_deflection", DataType::FloatArray, 10},
        {"sim/flightmodel/position/local_x", DataType::Double, 1},
        {"sim/flightmodel/position/local_y", DataType::Double, 1},
        {"sim/flightmodel/position/local_z", DataType::Double, 1},
        {"sim/flightmodel/position/lat_ref", DataType::Float, 1},
        {"sim/flightmodel/position/lon_ref", DataType::Float, 1},
        {"sim/flightmodel/position/theta", DataType::Float, 1},
        {"sim/flightmodel/position/phi", DataType::Float, 1},
        {"sim/flightmodel/position/psi", DataType::Float, 1},
        {"sim/flightmodel/position/magpsi", DataType::Float, 1},
        {"sim/flightmodel/position/true_theta", DataType::Float, 1},
        {"sim/flightmodel/position/true_phi", DataType::Float, 1},
        {"sim/flightmodel/position/true_psi", DataType::Float, 1},
        {"sim/flightmodel/position/mag_psi", DataType::Float, 1},
        // What the flight model carries on from: the velocity and acceleration in local axes,
        // the rotation rates (twice) and its attitude quaternion {1, i, j, k}.
        {"sim/flightmodel/position/local_vx", DataType::Float, 1},
        {"sim/flightmodel/position/local_vy", DataType::Float, 1},
        {"sim/flightmodel/position/local_vz", DataType::Float, 1},
        {"sim/flightmodel/position/local_ax", DataType::Float, 1},
        {"sim/flightmodel/position/local_ay", DataType::Float, 1},
        {"sim/flightmodel/position/local_az", DataType::Float, 1},
        {"sim/flightmodel/position/alpha", DataType::Float, 1},
        {"sim/flightmodel/position/beta", DataType::Float, 1},
        {"sim/flightmodel/position/vpath", DataType::Float, 1},
        {"sim/flightmodel/position/hpath", DataType::Float, 1},
        {"sim/flightmodel/position/groundspeed", DataType::Float, 1},
        {"sim/flightmodel/position/indicated_airspeed", DataType::Float, 1},
        {"sim/flightmodel/position/true_airspeed", DataType::Float, 1},
        {"sim/flightmodel/position/P", DataType::Float, 1},
        {"sim/flightmodel/position/Q", DataType::Float, 1},
        {"sim/flightmodel/position/R", DataType::Float, 1},
        {"sim/flightmodel/position/Prad", DataType::Float, 1},
        {"sim/flightmodel/position/Qrad", DataType::Float, 1},
        {"sim/flightmodel/position/Rrad", DataType::Float, 1},
        {"sim/flightmodel/position/q", DataType::FloatArray, 4},
        {"sim/flightmodel/position/latitude", DataType::Double, 1},
        {"sim/flightmodel/position/longitude", DataType::Double, 1},
        {"sim/flightmodel/position/elevation", DataType::Double, 1},
        {"sim/flightmodel/position/y_agl", DataType::Float, 1},
        {"sim/flightmodel/weight/m_total", DataType::Float, 1},
        {"sim/graphics/VR/enabled", DataType::Int, 1},
        {"sim/graphics/view/view_type", DataType::Int, 1},
        // The stick, -1 to 1, as the simulator reports it even while the flight path is held, and
        // the hardware's processed axes.
        {"sim/joystick/yoke_pitch_ratio", DataType::Float, 1},
        {"sim/joystick/yoke_roll_ratio", DataType::Float, 1},
        {"sim/joystick/yoke_heading_ratio", DataType::Float, 1},
        {"sim/joystick/joy_mapped_axis_value", DataType::FloatArray, 79},
        {"sim/joystick/joy_mapped_axis_avail", DataType::IntArray, 79},
        {"sim/joystick/mouse_is_joystick", DataType::Int, 1},
        // An entry per aircraft slot.
        {"sim/operation/override/override_planepath", DataType::IntArray, 20},
        {"sim/operation/override/override_joystick", DataType::Int, 1},
        {"sim/operation/override/override_joystick_pitch", DataType::Int, 1},
        {"sim/operation/override/override_joystick_roll", DataType::Int, 1},
        {"sim/operation/override/override_joystick_heading", DataType::Int, 1},
        {"sim/time/total_running_time_sec", DataType::Float, 1},
        {"sim/time/total_flight_time_sec", DataType::Float, 1},
        {"sim/time/paused", DataType::Int, 1},
        {"sim/time/is_in_replay", DataType::Int, 1},
        {"sim/time/sim_speed", DataType::Int, 1},
        {"sim/weather/rho", DataType::Float, 1},
    };
    return known;
}

DataRefs::DataRefs() {
    for (const KnownDataRef& k : KnownDataRefs())
        define(k.path, k.type, k.size);
}

void DataRefs::define(const std::string& path, DataType type, int size) {
    // A path defined again reuses its old storage, so that a stale handle still names it.
    std::unique_ptr<DataRefValue> value;
    auto it = values_.find(path);
    if (it != values_.end()) {
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
    // A single int is an array of one, so that the int calls and the array calls share storage
    // rules; only the type decides which calls it answers.
    if (type == DataType::IntArray || type == DataType::Int)
        value->ints.assign(type == DataType::Int ? 1 : std::max(size, 0), 0);
    if (type == DataType::FloatArray)
        value->floats.assign(std::max(size, 0), 0.0f);
    values_[path] = std::move(value);
    pathOverride_ = static_cast<const DataRefValue*>(find(kOverride));
}

bool DataRefs::aircraftHeld() const {
    return pathOverride_ == nullptr || pathOverride_->ints.empty() || pathOverride_->ints[0] != 0;
}

void DataRefs::remove(const std::string& path) {
    auto it = values_.find(path);
    if (it == values_.end())
        return;
    retired_.push_back(std::move(it->second));
    values_.erase(it);
    if (path == kOverride)
        pathOverride_ = nullptr;
}

bool DataRefs::has(const std::string& path) const {
    return values_.count(path) != 0;
}

DataRefValue& DataRefs::at(const std::string& path) {
    auto it = values_.find(path);
    if (it == values_.end()) {
        std::fprintf(stderr, "hostsim: no dataref %s\n", path.c_str());
        std::abort();
    }
    return *it->second;
}

std::vector<std::string> DataRefs::registered() const {
    std::vector<std::string> out;
    for (const auto& [path, value] : values_) {
        if (value->registered)
            out.push_back(path);
    }
    return out;
}

XPLMDataRef DataRefs::find(const char* path) const {
    if (path == nullptr)
        return nullptr;
    auto it = values_.find(path);
    return it == values_.end() ? nullptr : it->second.get();
}

void DataRefs::setDouble(const std::string& path, double v) {
    DataRefValue& r = at(path);
    if (r.type == DataType::Double)
        r.d = v;
    if (r.type == DataType::Float)
        r.f = static_cast<float>(v);
}

void DataRefs::setFloat(const std::string& path, float v) {
    DataRefValue& r = at(path);
    if (r.type == DataType::Double)
        r.d = v;
    if (r.type == DataType::Float)
        r.f = v;
}

void DataRefs::setInt(const std::string& path, int index, int v) {
    DataRefValue& r = at(path);
    if (index >= 0 && static_cast<size_t>(index) < r.ints.size())
        r.ints[index] = v;
}

void DataRefs::setFloatAt(const std::string& path, int index, float v) {
    DataRefValue& r = at(path);
    if (index >= 0 && static_cast<size_t>(index) < r.floats.size())
        r.floats[index] = v;
}

float DataRefs::getFloatAt(const std::string& path, int index) {
    const DataRefValue& r = at(path);
    if (index < 0 || static_cast<size_t>(index) >= r.floats.size())
        return 0.0f;
    return r.floats[index];
}

double DataRefs::getDouble(const std::string& path) {
    const DataRefValue& r = at(path);
    return r.type == DataType::Double ? r.d : r.type == DataType::Float ? r.f : 0.0;
}

float DataRefs::getFloat(const std::string& path) {
    const DataRefValue& r = at(path);
    return r.type == DataType::Double  ? static_cast<float>(r.d)
           : r.type == DataType::Float ? r.f
                                       : 0.0f;
}

int DataRefs::getInt(const std::string& path, int index) {
    const DataRefValue& r = at(path);
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

// The simulator's note on positioning aircraft: with the flight model running, a plug-in that
// keeps writing the aircraft's position or attitude "will thrash the aircraft around".
void CheckHeld(const DataRefValue* r, const char* fn) {
    const char kPosition[] = "sim/flightmodel/position/";
    if (r == nullptr || r->path.compare(0, sizeof kPosition - 1, kPosition) != 0)
        return;
    if (H().datarefs.aircraftHeld())
        return;
    Misuse(std::string(fn) + " of " + r->path +
           " while the flight model runs (element 0 of the path override is 0)");
}

std::vector<int>& Elements(DataRefValue& r, int*) {
    return r.ints;
}
std::vector<float>& Elements(DataRefValue& r, float*) {
    return r.floats;
}

// How many of `count` elements from `offset` an array of `type` holds: 0 for any other type.
template <typename T>
int Landing(DataRefValue* r, DataType type, T* values, int offset, int count) {
    if (r == nullptr || r->type != type || values == nullptr)
        return 0;
    const int size = static_cast<int>(Elements(*r, values).size());
    if (offset < 0 || offset >= size || count <= 0)
        return 0;
    return count < size - offset ? count : size - offset;
}

// With a null buffer, the array's size; otherwise the elements copied.
template <typename T>
int GetArray(const char* fn, XPLMDataRef ref, DataType type, T* out, int offset, int max) {
    Call* call = RECORD(fn, {Ref(ref), Arg::Pointer(out), Arg::Int(offset), Arg::Int(max)});
    DataRefValue* r = Value(ref);
    int n = 0;
    if (out == nullptr && r != nullptr && r->type == type) {
        n = static_cast<int>(Elements(*r, out).size());
    } else {
        n = Landing(r, type, out, offset, max);
        if (n > 0)
            std::memcpy(out, Elements(*r, out).data() + offset, sizeof(T) * n);
        // The elements read, not the buffer's address, which changes from call to call.
        if (call != nullptr && out != nullptr)
            call->args[1] = Arg::Array(out, n);
    }
    Result(call, Arg::Int(n));
    return n;
}

template <typename T>
void SetArray(const char* fn, XPLMDataRef ref, DataType type, T* values, int offset, int count) {
    DataRefValue* r = Value(ref);
    const int n = Landing(r, type, values, offset, count);
    // Only the elements that land are recorded: a wild count must not make us read far away.
    RECORD(fn, {Ref(ref), Arg::Array(values, n), Arg::Int(offset), Arg::Int(count)});
    CheckHeld(r, fn);
    if (n > 0)
        std::memcpy(Elements(*r, values).data() + offset, values, sizeof(T) * n);
}

}  // namespace

extern "C" {

XPLM_API XPLMDataRef XPLMFindDataRef(const char* inDataRefName) {
    Call* call = RECORD("XPLMFindDataRef", {Arg::Text(inDataRefName)});
    XPLMDataRef ref = H().datarefs.find(inDataRefName);
    Result(call, Ref(ref));
    return ref;
}

// A double dataref answers float reads and writes too, rounding and widening; a float one
// answers only as float and an int array only through the array calls. A mismatch reads 0 and
// drops the write, as the simulator does.
XPLM_API float XPLMGetDataf(XPLMDataRef inDataRef) {
    Call* call = RECORD("XPLMGetDataf", {Ref(inDataRef)});
    float v = 0.0f;
    if (DataRefValue* r = Value(inDataRef); r != nullptr && r->registered) {
        v = r->readFloat != nullptr ? r->readFloat(r->refcon) : 0.0f;
    } else if (r != nullptr) {
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
    CheckHeld(Value(inDataRef), "XPLMSetDataf");
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
    if (DataRefValue* r = Value(inDataRef); r != nullptr && r->registered) {
        v = r->readDouble != nullptr ? r->readDouble(r->refcon) : 0.0;
    } else if (r != nullptr) {
        if (r->type == DataType::Double)
            v = r->d;
    }
    Result(call, Arg::Double(v));
    return v;
}

XPLM_API void XPLMSetDatad(XPLMDataRef inDataRef, double inValue) {
    RECORD("XPLMSetDatad", {Ref(inDataRef), Arg::Double(inValue)});
    CheckHeld(Value(inDataRef), "XPLMSetDatad");
    if (DataRefValue* r = Value(inDataRef)) {
        if (r->type == DataType::Double)
            r->d = inValue;
    }
}

XPLM_API int XPLMGetDatai(XPLMDataRef inDataRef) {
    Call* call = RECORD("XPLMGetDatai", {Ref(inDataRef)});
    DataRefValue* r = Value(inDataRef);
    int v = r != nullptr && r->type == DataType::Int && !r->ints.empty() ? r->ints[0] : 0;
    if (r != nullptr && r->registered)
        v = r->readInt != nullptr ? r->readInt(r->refcon) : 0;
    Result(call, Arg::Int(v));
    return v;
}

XPLM_API int XPLMGetDatavi(XPLMDataRef inDataRef, int* outValues, int inOffset, int inMax) {
    return GetArray("XPLMGetDatavi", inDataRef, DataType::IntArray, outValues, inOffset, inMax);
}

XPLM_API void XPLMSetDatavi(XPLMDataRef inDataRef, int* inValues, int inOffset, int inCount) {
    SetArray("XPLMSetDatavi", inDataRef, DataType::IntArray, inValues, inOffset, inCount);
}

XPLM_API int XPLMGetDatavf(XPLMDataRef inDataRef, float* outValues, int inOffset, int inMax) {
    return GetArray("XPLMGetDatavf", inDataRef, DataType::FloatArray, outValues, inOffset, inMax);
}

XPLM_API void XPLMSetDatavf(XPLMDataRef inDataRef, float* inValues, int inOffset, int inCount) {
    SetArray("XPLMSetDatavf", inDataRef, DataType::FloatArray, inValues, inOffset, inCount);
}

// Read-only datarefs a plug-in publishes; the host reads them through its functions and never
// writes them. A name that is already a dataref is misuse: the simulator has one per name.
XPLM_API XPLMDataRef XPLMRegisterDataAccessor(const char* inDataName, XPLMDataTypeID inDataType,
                                              int inIsWritable, XPLMGetDatai_f inReadInt,
                                              XPLMSetDatai_f, XPLMGetDataf_f inReadFloat,
                                              XPLMSetDataf_f, XPLMGetDatad_f inReadDouble,
                                              XPLMSetDatad_f, XPLMGetDatavi_f, XPLMSetDatavi_f,
                                              XPLMGetDatavf_f, XPLMSetDatavf_f, XPLMGetDatab_f,
                                              XPLMSetDatab_f, void* inReadRefcon, void*) {
    Call* call =
        RECORD("XPLMRegisterDataAccessor",
               {Arg::Text(inDataName), Arg::Int(inDataType), Arg::Int(inIsWritable), Fn(inReadInt),
                Fn(inReadFloat), Fn(inReadDouble), Arg::Pointer(inReadRefcon)});
    DataRefs& d = H().datarefs;
    if (inDataName == nullptr || d.has(inDataName)) {
        Misuse(std::string("XPLMRegisterDataAccessor of ") +
               (inDataName != nullptr ? inDataName : "a null name") +
               ", which is already a dataref");
        Result(call, Ref(nullptr));
        return nullptr;
    }
    d.define(inDataName, (inDataType & xplmType_Int) != 0      ? DataType::Int
                         : (inDataType & xplmType_Double) != 0 ? DataType::Double
                                                               : DataType::Float);
    DataRefValue& r = d.at(inDataName);
    r.registered = true;
    r.readInt = inReadInt;
    r.readFloat = inReadFloat;
    r.readDouble = inReadDouble;
    r.refcon = inReadRefcon;
    Result(call, Ref(&r));
    return &r;
}

XPLM_API void XPLMUnregisterDataAccessor(XPLMDataRef inDataRef) {
    RECORD("XPLMUnregisterDataAccessor", {Ref(inDataRef)});
    DataRefValue* r = Value(inDataRef);
    if (r == nullptr || !r->registered || !H().datarefs.has(r->path)) {
        Misuse("XPLMUnregisterDataAccessor of a dataref no plug-in registered");
        return;
    }
    r->registered = false;
    H().datarefs.remove(r->path);
}

}  // extern "C"
