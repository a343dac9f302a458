// What every suite shares: the built plug-in loaded into a fresh headless host, and the
// recorder's spelling of the calls we expect.
#ifndef TROVIK_TESTS_SUPPORT_H
#define TROVIK_TESTS_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "hostsim.h"
#include "paths.h"
#include "published.h"

namespace trovik_test {

using Calls = std::vector<std::string>;
using trovik_published::Acts;
using trovik_published::kPublished;
using trovik_published::Published;

inline hostsim::Host& host() {
    return hostsim::Host::get();
}

using hostsim::paths::kOverride;
constexpr auto Pos = hostsim::paths::Position;

// The recorder prints floats with 9 and doubles with 17 significant digits: equal strings are
// equal bits.
inline std::string SetD(const char* name, const char* value) {
    return "XPLMSetDatad(" + Pos(name) + ", " + value + ")";
}

inline std::string SetF(const char* name, const char* value) {
    return "XPLMSetDataf(" + Pos(name) + ", " + value + ")";
}

// A move's two writes: z first, then x.
inline std::vector<std::string> Moved(const char* z, const char* x) {
    return {SetD("local_z", z), SetD("local_x", x)};
}

inline std::string SetOverride(int v) {
    return "XPLMSetDatavi(" + std::string(kOverride) + ", {" + std::to_string(v) + "}, 0, 1)";
}

// A whole file, byte for byte; empty if there is none.
inline std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

// A fresh host with the plug-in loaded and started (unless a suite loads it itself), the
// recorder emptied so that a test sees only its own calls. Whatever the test did, the plug-in
// must not have misused the host, its stop included.
class PluginTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host().reset();
        if (loadAtSetUp) {
            Load();
            host().recorder.clear();
        }
    }
    void TearDown() override {
        plugin.unload();
        EXPECT_EQ(host().recorder.misuses, Calls{});
    }

    void Load() {
        std::string error;
        ASSERT_TRUE(plugin.load(TROVIK_XPL, error)) << error;
    }

    static void Place(double x, double y, double z, float agl = 12.75f, float psi = 0.0f,
                      float theta = 2.5f, float phi = -1.25f) {
        host().datarefs.setDouble(Pos("local_x"), x);
        host().datarefs.setDouble(Pos("local_y"), y);
        host().datarefs.setDouble(Pos("local_z"), z);
        host().datarefs.setFloat(Pos("y_agl"), agl);
        host().flightModel.setAttitude(psi, theta, phi);
    }

    int& HotKeyMaster() { return *static_cast<int*>(plugin.symbol("HotKey_Master")); }

    // Stopped and started again in the same process, as the plug-in admin can: nothing of the
    // last start may linger but what the plug-in keeps on purpose.
    void StopAndStart(const std::function<void()>& whileStopped = [] {}) {
        plugin.disable();
        plugin.XPluginStop();
        whileStopped();
        char name[256], signature[256], description[256];
        plugin.XPluginStart(name, signature, description);
        plugin.enable();
    }

    // One of the simulator's frames: the flight loops around the flight model.
    static void Frame(double seconds = 1.0 / 60) { host().loops.frame(seconds); }

    // The Y key as a user presses it: down, then up.
    void PressY() { host().display.pressKey(XPLM_VK_Y, 0, 'y'); }
    // Only the key-down, which is what fires the hot key: no key-up event follows to add calls.
    void DownY() { host().display.keyEvent('y', xplm_DownFlag, XPLM_VK_Y); }

    // Every call that is not a read (of a dataref or of the terrain): what the plug-in changed or
    // asked for.
    static Calls Effects() {
        Calls out;
        for (const std::string& c : host().recorder.strings()) {
            if (c.rfind("XPLMGetData", 0) != 0 && c.rfind("XPLMProbeTerrainXYZ", 0) != 0)
                out.push_back(c);
        }
        return out;
    }

    bool loadAtSetUp = true;
    hostsim::Plugin plugin;
};

// The plug-in started, and slew mode on.
class SlewModeTest : public PluginTest {
  protected:
    void SetUp() override {
        PluginTest::SetUp();
        DownY();
    }
};

}  // namespace trovik_test

#endif  // TROVIK_TESTS_SUPPORT_H
