// The navigation database as XPLMNavigation.h describes its searches, over the airports a test
// or the demo puts there: the nearest to a point, or the last, among those whose name and id hold
// the fragments given. Only airports: any other type finds nothing.
#include <cstring>

#include "internal.h"

using namespace hostsim;
using namespace hostsim::internal;

namespace {

bool Holds(const std::string& text, const char* fragment) {
    return fragment == nullptr || text.find(fragment) != std::string::npos;
}

}  // namespace

extern "C" {

XPLM_API XPLMNavRef XPLMFindNavAid(const char* inNameFragment, const char* inIDFragment,
                                   float* inLat, float* inLon, int* inFrequency,
                                   XPLMNavType inType) {
    Call* call = RECORD("XPLMFindNavAid", {Arg::Text(inNameFragment), Arg::Text(inIDFragment),
                                           Arg::Float(inLat != nullptr ? *inLat : 0.0f),
                                           Arg::Float(inLon != nullptr ? *inLon : 0.0f),
                                           Arg::Pointer(inFrequency), Arg::Int(inType)});
    const std::vector<Airport>& airports = H().navigation.airports;
    XPLMNavRef found = XPLM_NAV_NOT_FOUND;
    double nearest = 0.0;
    // Airports have no frequency: a search for one finds none.
    for (size_t i = 0;
         (inType & xplm_Nav_Airport) != 0 && inFrequency == nullptr && i < airports.size(); ++i) {
        const Airport& a = airports[i];
        if (!Holds(a.name, inNameFragment) || !Holds(a.id, inIDFragment))
            continue;
        double distance = 0.0;
        if (inLat != nullptr && inLon != nullptr) {
            double x = 0.0, y = 0.0, z = 0.0, ax = 0.0, az = 0.0;
            H().coordinates.toLocal(*inLat, *inLon, 0.0, x, y, z);
            H().coordinates.toLocal(a.latitude, a.longitude, 0.0, ax, y, az);
            distance = (x - ax) * (x - ax) + (z - az) * (z - az);
        }
        if (found == XPLM_NAV_NOT_FOUND || inLat == nullptr || inLon == nullptr ||
            distance < nearest) {
            found = static_cast<XPLMNavRef>(i);
            nearest = distance;
        }
    }
    Result(call, Arg::Int(found));
    return found;
}

XPLM_API void XPLMGetNavAidInfo(XPLMNavRef inRef, XPLMNavType* outType, float* outLatitude,
                                float* outLongitude, float* outHeight, int* outFrequency,
                                float* outHeading, char* outID, char* outName, char* outReg) {
    RECORD("XPLMGetNavAidInfo", {Arg::Int(inRef)});
    const std::vector<Airport>& airports = H().navigation.airports;
    if (inRef < 0 || static_cast<size_t>(inRef) >= airports.size()) {
        Misuse("XPLMGetNavAidInfo of navaid " + std::to_string(inRef) + ", which does not exist");
        return;
    }
    const Airport& a = airports[static_cast<size_t>(inRef)];
    if (outType != nullptr)
        *outType = xplm_Nav_Airport;
    if (outLatitude != nullptr)
        *outLatitude = a.latitude;
    if (outLongitude != nullptr)
        *outLongitude = a.longitude;
    if (outHeight != nullptr)
        *outHeight = a.elevation;
    if (outFrequency != nullptr)
        *outFrequency = 0;
    if (outHeading != nullptr)
        *outHeading = 0.0f;
    // The header asks for 32 bytes for an id and 256 for a name, and promises no more.
    if (outID != nullptr)
        std::snprintf(outID, 32, "%s", a.id.c_str());
    if (outName != nullptr)
        std::snprintf(outName, 256, "%s", a.name.c_str());
    if (outReg != nullptr)
        *outReg = 1;
}

}  // extern "C"
