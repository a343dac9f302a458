// Loads a plug-in library the way the simulator does and drives its entry points.
#include <sys/stat.h>

#include <cstring>

#include "hostsim.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace hostsim {

namespace {

#if defined(_WIN32)
void* Open(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        char message[512] = "";
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       GetLastError(), 0, message, sizeof message, nullptr);
        error = "cannot load " + path + ": " + message;
    }
    return reinterpret_cast<void*>(module);
}
void* Find(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void Close(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* Open(const std::string& path, std::string& error) {
    // Every symbol is bound now, as the simulator loads plug-ins: an unresolved host function
    // fails here, with its name, instead of at the first call.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = "cannot load " + path + ": " + (why != nullptr ? why : "unknown error");
    }
    return handle;
}
void* Find(void* handle, const char* name) {
    return dlsym(handle, name);
}
void Close(void* handle) {
    dlclose(handle);
}
#endif

template <typename F>
void Bind(void* handle, const char* name, F& slot, std::string& missing) {
    slot = reinterpret_cast<F>(Find(handle, name));
    if (slot == nullptr)
        missing += missing.empty() ? name : std::string(", ") + name;
}

std::string Terminated(const char* buffer, size_t size) {
    return std::string(buffer, strnlen(buffer, size));
}

}  // namespace

Plugin::~Plugin() {
    unload();
}

bool Plugin::load(const std::string& path, std::string& error) {
    unload();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = "no plug-in file at " + path;
        return false;
    }
    void* handle = Open(path, error);
    if (handle == nullptr)
        return false;

    std::string missing;
    Bind(handle, "XPluginStart", XPluginStart, missing);
    Bind(handle, "XPluginStop", XPluginStop, missing);
    Bind(handle, "XPluginEnable", XPluginEnable, missing);
    Bind(handle, "XPluginDisable", XPluginDisable, missing);
    Bind(handle, "XPluginReceiveMessage", XPluginReceiveMessage, missing);
    if (!missing.empty()) {
        error = path + " is not a plug-in: missing entry point " + missing;
        Close(handle);
        XPluginStart = nullptr;
        XPluginStop = nullptr;
        XPluginEnable = nullptr;
        XPluginDisable = nullptr;
        XPluginReceiveMessage = nullptr;
        return false;
    }
    handle_ = handle;

    char outName[256] = {};
    char outSig[256] = {};
    char outDesc[256] = {};
    startResult = XPluginStart(outName, outSig, outDesc);
    name = Terminated(outName, sizeof outName);
    signature = Terminated(outSig, sizeof outSig);
    description = Terminated(outDesc, sizeof outDesc);
    // The simulator enables only a plug-in that started.
    enableResult = startResult != 0 ? XPluginEnable() : 0;
    enabled_ = enableResult != 0;
    return true;
}

void Plugin::unload() {
    if (handle_ == nullptr)
        return;
    if (enabled_)
        XPluginDisable();
    enabled_ = false;
    XPluginStop();
    Close(handle_);
    handle_ = nullptr;
}

void* Plugin::symbol(const char* symbolName) const {
    return handle_ == nullptr ? nullptr : Find(handle_, symbolName);
}

}  // namespace hostsim
