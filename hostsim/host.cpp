// The simulator as hostsim keeps it: one host, made of its parts, and its reset.
#include "internal.h"

namespace hostsim {

using namespace internal;

Host& Host::get() {
    // Never destroyed: a plug-in still loaded by some static object at exit stops into a live
    // host, whatever the order of static destruction.
    static Host* host = new Host;
    return *host;
}

void Host::reset() {
    *this = Host();
    utilities.emptyPrefsFolder();
}

void Host::pluginStopped() {
    if (!loops.loops.empty()) {
        Misuse(std::to_string(loops.loops.size()) +
               " flight loop(s) left behind at stop: XPLMDestroyFlightLoop missing");
    }
    loops.loops.clear();
    if (!terrain.probes.empty()) {
        Misuse(std::to_string(terrain.probes.size()) +
               " terrain probe(s) left behind at stop: XPLMDestroyProbe missing");
    }
    terrain.probes.clear();
    for (const std::string& path : datarefs.registered()) {
        Misuse("dataref " + path + " left registered at stop: XPLMUnregisterDataAccessor missing");
        datarefs.at(path).registered = false;  // a stale handle must not call into the library
        datarefs.remove(path);
    }
}

namespace internal {

void* NewId() {
    static uintptr_t next = 1;
    return reinterpret_cast<void*>(next++);
}

}  // namespace internal

}  // namespace hostsim
