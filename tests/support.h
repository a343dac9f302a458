// What every suite shares: the built plug-in loaded into a fresh headless host, and the
// recorder's spelling of the calls we expect.
#ifndef TROVIK_TESTS_SUPPORT_H
#define TROVIK_TESTS_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "hostsim.h"

namespace trovik_test {

using Calls = std::vector<std::string>;

inline hostsim::Host& host() {
    return hostsim::Host::get();
}

inline std::string Pos(const char* name) {
    return std::string("sim/flightmodel/position/") + name;
}

inline const char* kOverride = "sim/operation/override/override_planepath";

// The recorder prints floats with 9 and doubles with 17 significant digits: equal strings are
// equal bits.
inline std::string SetD(const char* name, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return "XPLMSetDatad(" + Pos(name) + ", " + buf + ")";
}

inline std::string SetF(const char* name, float v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    return "XPLMSetDataf(" + Pos(name) + ", " + buf + ")";
}

inline std::string SetOverride(int v) {
    return "XPLMSetDatavi(" + std::string(kOverride) + ", {" + std::to_string(v) + "}, 0, 1)";
}

inline uint64_t BitsOf(double v) {
    uint64_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

inline uint32_t BitsOf(float v) {
    uint32_t b;
    std::memcpy(&b, &v, sizeof b);
    return b;
}

// The plug-in loaded and started; the recorder emptied so that a test sees only its own calls.
class PluginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host().reset();
        Prepare();
        std::string error;
        ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
        host().recorder.clear();
    }
    // Whatever the test did, the plug-in never misused the host, stop included.
    void TearDown() override {
        plugin.unload();
        EXPECT_EQ(host().misuses, Calls{});
    }

    // Host state a suite wants in place before the plug-in starts.
    virtual void Prepare() {}

    int& HotKeyMaster() { return *static_cast<int*>(plugin.symbol("HotKey_Master")); }

    // The Y key as a user presses it: down, then up.
    void PressY() { host().pressKey(XPLM_VK_Y, 0, 'y'); }
    // Only the key-down, which is what fires the hot key: no key-up event follows to add calls.
    void DownY() { host().keyEvent('y', xplm_DownFlag, XPLM_VK_Y); }

    hostsim::Plugin plugin;
};

}  // namespace trovik_test

#endif  // TROVIK_TESTS_SUPPORT_H
