// The other plug-ins running beside the one under test, as XPLMPlugin.h describes finding them
// and sending them messages: by signature, and to all of them with XPLM_NO_PLUGIN_ID.
#include "internal.h"

namespace hostsim {

using namespace internal;

XPLMPluginID Plugins::add(const std::string& signature) {
    // Ids past the simulator's 0, the plug-in under test's and kAnotherPlugin.
    OtherPlugin p;
    p.id = 100 + static_cast<XPLMPluginID>(others.size());
    p.signature = signature;
    others.push_back(p);
    return p.id;
}

const OtherPlugin* Plugins::find(const std::string& signature) const {
    for (const OtherPlugin& p : others) {
        if (p.signature == signature)
            return &p;
    }
    return nullptr;
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API XPLMPluginID XPLMFindPluginBySignature(const char* inSignature) {
    Call* call = RECORD("XPLMFindPluginBySignature", {Arg::Text(inSignature)});
    const OtherPlugin* p = inSignature != nullptr ? H().plugins.find(inSignature) : nullptr;
    const XPLMPluginID id = p != nullptr ? p->id : XPLM_NO_PLUGIN_ID;
    Result(call, Arg::Int(id));
    return id;
}

// The parameter is recorded as text: the messages plug-ins send each other here carry a name.
XPLM_API void XPLMSendMessageToPlugin(XPLMPluginID inPlugin, int inMessage, void* inParam) {
    RECORD("XPLMSendMessageToPlugin",
           {Arg::Int(inPlugin), Arg::Int(inMessage), Arg::Text(static_cast<const char*>(inParam))});
    const std::string param = inParam != nullptr ? static_cast<const char*>(inParam) : "";
    bool delivered = false;
    for (OtherPlugin& p : H().plugins.others) {
        if (inPlugin == XPLM_NO_PLUGIN_ID || inPlugin == p.id) {
            p.messages.emplace_back(inMessage, param);
            delivered = true;
        }
    }
    if (!delivered && inPlugin != XPLM_NO_PLUGIN_ID)
        Misuse("XPLMSendMessageToPlugin to plug-in " + std::to_string(inPlugin) +
               ", which is not running");
}

}  // extern "C"
