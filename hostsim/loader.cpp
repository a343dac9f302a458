// Loads a plug-in library the way the simulator does and drives its entry points.
#include <sys/stat.h>

#include <cstring>

#include "hostsim.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <elf.h>

#include <algorithm>
#include <fstream>
#endif

namespace hostsim {

namespace {

#if defined(_WIN32)
// Windows reports a missing import only as "procedure not found", and Wine even loads the
// library and aborts at the first call. Walk the import table first, so that the error names the
// function and the library, and nothing runs.
std::string MissingImports(const std::string& path) {
    HMODULE image = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (image == nullptr)
        return "";
    const auto* base = reinterpret_cast<const unsigned char*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::string missing;
    if (dir.VirtualAddress != 0) {
        const auto* desc =
            reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
        for (; desc->Name != 0; ++desc) {
            const char* dll = reinterpret_cast<const char*>(base + desc->Name);
            HMODULE module = GetModuleHandleA(dll);
            if (module == nullptr)
                module = LoadLibraryA(dll);
            if (module == nullptr) {
                missing += std::string(missing.empty() ? "" : ", ") + dll;
                continue;
            }
            const DWORD first =
                desc->OriginalFirstThunk != 0 ? desc->OriginalFirstThunk : desc->FirstThunk;
            const auto* thunk = reinterpret_cast<const IMAGE_THUNK_DATA64*>(base + first);
            for (; thunk->u1.AddressOfData != 0; ++thunk) {
                if (IMAGE_SNAP_BY_ORDINAL64(thunk->u1.Ordinal))
                    continue;
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + thunk->u1.AddressOfData);
                const char* fn = reinterpret_cast<const char*>(byName->Name);
                if (GetProcAddress(module, fn) == nullptr) {
                    missing += std::string(missing.empty() ? "" : ", ") + fn + " (" + dll + ")";
                }
            }
        }
    }
    FreeLibrary(image);
    return missing;
}

void* Open(const std::string& path, std::string& error) {
    // A bare file name is one in this folder, as the user means it, not one for Windows to look
    // for along its search path.
    const std::string named = path.find_first_of("/\\") == std::string::npos ? ".\\" + path : path;
    const std::string missing = MissingImports(named);
    if (!missing.empty()) {
        error = "cannot load " + path + ": undefined symbol " + missing;
        return nullptr;
    }
    HMODULE module = LoadLibraryA(named.c_str());
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
// A file cut short (a copy that did not finish) maps with holes where its headers say code is,
// and the first touch of one kills the process with SIGBUS inside dlopen: check the headers
// against the file's size first, and say what is wrong.
std::string CutShort(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const auto size = static_cast<unsigned long long>(file.tellg());
    Elf64_Ehdr header{};
    file.seekg(0);
    if (!file.read(reinterpret_cast<char*>(&header), sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        return "";  // not a 64-bit ELF file at all: dlopen says so
    unsigned long long needed =
        std::max<unsigned long long>(header.e_phoff + 1ULL * header.e_phnum * header.e_phentsize,
                                     header.e_shoff + 1ULL * header.e_shnum * header.e_shentsize);
    for (unsigned i = 0; i < header.e_phnum && needed <= size; ++i) {
        Elf64_Phdr segment{};
        file.seekg(static_cast<std::streamoff>(header.e_phoff + 1ULL * i * header.e_phentsize));
        if (!file.read(reinterpret_cast<char*>(&segment), sizeof segment))
            break;
        if (segment.p_type == PT_LOAD)
            needed = std::max<unsigned long long>(needed, segment.p_offset + segment.p_filesz);
    }
    if (needed <= size)
        return "";
    return "the file is cut short: its headers need " + std::to_string(needed) +
           " bytes and it has " + std::to_string(size) + " (a copy that did not finish?)";
}

void* Open(const std::string& path, std::string& error) {
    const std::string cut = CutShort(path);
    if (!cut.empty()) {
        error = "cannot load " + path + ": " + cut;
        return nullptr;
    }
    // Every symbol is bound now, as the simulator loads plug-ins: an unresolved host function
    // fails here, with its name, instead of at the first call. A bare file name is one in this
    // folder, as the user means it, not one for dlopen to look for along the library path.
    const std::string named = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(named.c_str(), RTLD_NOW | RTLD_LOCAL);
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

    char outName[256];
    char outSig[256];
    char outDesc[256];
    std::memset(outName, 'N', sizeof outName);
    std::memset(outSig, 'S', sizeof outSig);
    std::memset(outDesc, 'D', sizeof outDesc);
    startResult = XPluginStart(outName, outSig, outDesc);
    name = Terminated(outName, sizeof outName);
    signature = Terminated(outSig, sizeof outSig);
    description = Terminated(outDesc, sizeof outDesc);
    // The simulator enables only a plug-in that started.
    enableResult = startResult != 0 ? XPluginEnable() : 0;
    enabled_ = enableResult != 0;
    Host::get().pluginEnabled = enabled_;
    return true;
}

void Plugin::disable() {
    if (handle_ == nullptr || !enabled_)
        return;
    XPluginDisable();
    enabled_ = false;
    Host::get().pluginEnabled = false;
}

int Plugin::enable() {
    if (handle_ == nullptr)
        return 0;
    if (!enabled_) {
        enabled_ = XPluginEnable() != 0;
        Host::get().pluginEnabled = enabled_;
    }
    return enabled_ ? 1 : 0;
}

void Plugin::sendMessage(int message, intptr_t parameter, XPLMPluginID from) {
    if (handle_ != nullptr && enabled_)
        XPluginReceiveMessage(from, message, reinterpret_cast<void*>(parameter));
}

void Plugin::unload() {
    if (handle_ == nullptr)
        return;
    if (enabled_)
        XPluginDisable();
    enabled_ = false;
    XPluginStop();
    Host::get().pluginStopped();
    Host::get().pluginEnabled = true;
    Close(handle_);
    handle_ = nullptr;
}

void* Plugin::symbol(const char* symbolName) const {
    return handle_ == nullptr ? nullptr : Find(handle_, symbolName);
}

}  // namespace hostsim
