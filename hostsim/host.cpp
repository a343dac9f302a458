// The simulator as hostsim keeps it: one host, and its reset to a freshly started simulator.
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
    for (auto& entry : datarefs_)
        retired_.push_back(std::move(entry.second));
    datarefs_.clear();
    for (const KnownDataRef& k : DefaultDataRefs())
        defineDataRef(k.path, k.type, k.size);
    screenWidth = 1920;
    screenHeight = 1080;
    windows_.clear();
    hotKeys_.clear();
    sniffers_.clear();
    frame_ = Frame{};
    camera_ = Camera{};
    cameraPosition = XPLMCameraPosition_t{0, 0, 0, 0, 0, 0, 1.0f};
    buttonsDown.clear();
    hotKeyCalls = 0;
    misuses.clear();
    cameraCalls_ = 0;
    commands_.clear();
    handlers_.clear();
    menus_.clear();
    loops_.clear();
    probes_.clear();
    features_.clear();
    log.clear();
    prefsFolder = DefaultPrefsFolder();
    emptyPrefsFolder();
    pluginEnabled = true;
    windowHasKeyboard = false;
    loopCalls = 0;
    terrain = Terrain{};
    restHeight = 0.0;
    aglMode = AglMode::EveryFrame;
    clock_ = 0.0;
    frameCount_ = 0;
    lastLoopsTime_ = 0.0;
    Menu plugins;
    plugins.name = "Plugins";
    pluginsMenu_ = Add(menus_, plugins, nextId_);
    recorder.enabled = true;
    recorder.clear();
}

}  // namespace hostsim
