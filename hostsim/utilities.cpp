// The simulator's utilities a plug-in leans on: its preferences folder, its features and its log.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

#include "internal.h"

namespace fs = std::filesystem;

namespace hostsim {

using namespace internal;

namespace {

// One folder a process, removed when it ends.
struct Scratch {
    fs::path folder;
    ~Scratch() {
        std::error_code ignored;
        if (!folder.empty())
            fs::remove_all(folder, ignored);
    }
};

}  // namespace

std::string DefaultPrefsFolder() {
    static Scratch scratch;
    if (scratch.folder.empty()) {
#if defined(_WIN32)
        const unsigned long id = GetCurrentProcessId();
#else
        const unsigned long id = static_cast<unsigned long>(getpid());
#endif
        std::error_code ignored;
        scratch.folder = fs::temp_directory_path(ignored) / ("hostsim-prefs-" + std::to_string(id));
    }
    return scratch.folder.u8string();
}

void Utilities::emptyPrefsFolder() const {
    const fs::path folder = fs::u8path(prefsFolder);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    // One level first: zig's libc++ (the arm64 build) does not always make a folder that
    // create_directories finds missing right after remove_all took it away.
    if (!fs::create_directory(folder, ignored))
        fs::create_directories(folder, ignored);
}

bool Utilities::featureEnabled(const std::string& feature) const {
    return std::find(features.begin(), features.end(), feature) != features.end();
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API void XPLMGetPrefsPath(char* outPrefsPath) {
    RECORD("XPLMGetPrefsPath", {});
    if (outPrefsPath == nullptr)
        return;
    // Native paths only where the plug-in asked for them; otherwise the old Mac style, folders
    // separated by colons, which no plug-in can open as it stands.
    std::string path = H().utilities.prefsFolder + "/Set X-Plane.prf";
    if (!H().utilities.featureEnabled("XPLM_USE_NATIVE_PATHS")) {
        std::replace(path.begin(), path.end(), '/', ':');
        std::replace(path.begin(), path.end(), '\\', ':');
        path = "Macintosh HD" + path;
    }
    // The SDK promises nothing beyond 512 bytes.
    const size_t n = std::min(path.size(), size_t{511});
    std::memcpy(outPrefsPath, path.data(), n);
    outPrefsPath[n] = '\0';
}

XPLM_API void XPLMEnableFeature(const char* inFeature, int inEnable) {
    RECORD("XPLMEnableFeature", {Arg::Text(inFeature), Arg::Int(inEnable)});
    if (inFeature == nullptr)
        return;
    std::vector<std::string>& features = H().utilities.features;
    features.erase(std::remove(features.begin(), features.end(), inFeature), features.end());
    if (inEnable != 0)
        features.push_back(inFeature);
}

XPLM_API void XPLMGetVersions(int* outXPlaneVersion, int* outXPLMVersion,
                              XPLMHostApplicationID* outHostID) {
    Call* call = RECORD("XPLMGetVersions", {});
    // X-Plane 12.1 with SDK 4.1, or 11.10 with SDK 3.00.
    const bool modern = H().utilities.xplm301;
    const int xplane = modern ? 12100 : 11100;
    const int xplm = modern ? 410 : 300;
    if (outXPlaneVersion != nullptr)
        *outXPlaneVersion = xplane;
    if (outXPLMVersion != nullptr)
        *outXPLMVersion = xplm;
    if (outHostID != nullptr)
        *outHostID = 1;  // xplm_Host_XPlane
    if (call != nullptr)
        call->args = {Arg::Int(xplane), Arg::Int(xplm)};
}

XPLM_API void* XPLMFindSymbol(const char* inString) {
    Call* call = RECORD("XPLMFindSymbol", {Arg::Text(inString)});
    // Any XPLM function this library exports, looked up in the library itself; an XPLM 300 host
    // (X-Plane 11.10) has none of those that came with 301.
    const char* const newer[] = {"XPLMSetWindowGeometryVR", "XPLMWindowIsInVR"};
    void* found = nullptr;
    const bool hidden = !H().utilities.xplm301 &&
                        std::any_of(std::begin(newer), std::end(newer), [&](const char* name) {
                            return inString != nullptr && std::strcmp(inString, name) == 0;
                        });
    if (inString != nullptr && std::strncmp(inString, "XPLM", 4) == 0 && !hidden) {
#if defined(_WIN32)
        HMODULE self = nullptr;
        GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCSTR>(&XPLMFindSymbol), &self);
        found = self != nullptr ? reinterpret_cast<void*>(GetProcAddress(self, inString)) : nullptr;
#else
        Dl_info info{};
        void* self = dladdr(reinterpret_cast<void*>(&XPLMFindSymbol), &info) != 0
                         ? dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD)
                         : nullptr;
        found = self != nullptr ? dlsym(self, inString) : nullptr;
        if (self != nullptr)
            dlclose(self);
#endif
    }
    Result(call, Arg::Pointer(found));
    return found;
}

XPLM_API void XPLMDebugString(const char* inString) {
    RECORD("XPLMDebugString", {Arg::Text(inString)});
    if (inString != nullptr)
        H().utilities.log.push_back(inString);
}

}  // extern "C"
