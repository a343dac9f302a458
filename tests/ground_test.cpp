// The ground under the aircraft, found with the terrain probe: a parked aircraft follows slopes
// and stays on its wheels, descents stop above them, and roofs, steps and the end of the loaded
// scenery are not taken for ground. The heights below were worked out by hand from the terrain.
#include <cmath>

#include "support.h"

namespace trovik_test {
namespace {

using hostsim::paths::kOnGround;
using hostsim::paths::kTires;
constexpr double kRest = 1.6;

class GroundTest : public PluginTest {
  protected:
    // 432 m at the origin, rising 10 % to the north (local z grows southward).
    static void Slope() {
        hostsim::Terrain& t = host().terrain;
        t.loaded = true;
        t.elevation = 432.0;
        t.grade = 0.1;
    }
    static void Flat() {
        host().terrain.loaded = true;
        host().terrain.elevation = 432.0;
    }

    // Standing on its wheels at (x, z), told so by the simulator, then slew mode on: the rest
    // height is measured.
    void Park(double x, double z, float psi) {
        host().flightModel.restHeight = kRest;
        Place(x, host().terrain.at(x, z).y + kRest, z, static_cast<float>(kRest), psi, 0, 0);
        host().datarefs.setInt(kOnGround, 0, 1);
        DownY();
    }

    static double Y() { return host().datarefs.getDouble(Pos("local_y")); }
    // The wheels' height above the surface under them.
    static double Wheels() {
        const double x = host().datarefs.getDouble(Pos("local_x"));
        const double z = host().datarefs.getDouble(Pos("local_z"));
        return Y() - host().terrain.at(x, z).y - kRest;
    }
    static void Key(int key, int flags = 0) {
        host().display.keyEvent(0, xplm_DownFlag | flags, static_cast<char>(key));
    }
};

TEST_F(GroundTest, ParkedAircraftFollowTheSlopeWithEveryInputWhateverYAgl) {
    struct Way {
        const char* what;
        int key, flags;
        const char* command;
        float pitch, roll;  // the stick
    };
    const Way ways[] = {
        {"8", XPLM_VK_NUMPAD8, 0, nullptr, 0, 0},
        {"shift+2", XPLM_VK_NUMPAD2, xplm_ShiftFlag, nullptr, 0, 0},
        {"shift+6", XPLM_VK_NUMPAD6, xplm_ShiftFlag, nullptr, 0, 0},
        {"forward_fast", 0, 0, "trovik/forward_fast", 0, 0},
        {"left_fast", 0, 0, "trovik/left_fast", 0, 0},
        {"stick forward", 0, 0, nullptr, -1, 0},
        {"stick right and back", 0, 0, nullptr, 0.5f, 0.8f},
    };
    for (hostsim::AglMode mode :
         {hostsim::AglMode::EveryFrame, hostsim::AglMode::FrozenWhileHeld}) {
        for (float psi : {0.0f, 90.0f, 200.0f}) {
            for (const Way& w : ways) {
                host().flightModel.aglMode = mode;
                Slope();
                Park(0, 0, psi);
                Frame();  // the stick's first frame after slew mode comes on
                host().datarefs.setFloat(hostsim::paths::kStick[0], w.pitch);
                host().datarefs.setFloat(hostsim::paths::kStick[1], w.roll);
                for (int move = 0; move < 20; ++move) {
                    if (w.key != 0)
                        Key(w.key, w.flags);
                    if (w.command != nullptr)
                        host().commands.once(host().commands.find(w.command));
                    Frame();
                    ASSERT_NEAR(Wheels(), 0.0, 1e-3)
                        << w.what << " at " << psi << ", move " << move;
                }
                host().datarefs.setFloat(hostsim::paths::kStick[0], 0);
                host().datarefs.setFloat(hostsim::paths::kStick[1], 0);
                DownY();
            }
        }
    }
    // 100 m up the slope is 10 m higher, 100 m down it 10 m lower; the rest height measured as
    // 433.6 - 432 in double, the sum held as float.
    Slope();
    Park(0, 0, 0);
    for (int move = 0; move < 20; ++move)
        Key(XPLM_VK_NUMPAD8, xplm_ShiftFlag);
    EXPECT_EQ(Y(), static_cast<double>(443.6f));
    for (int move = 0; move < 40; ++move)
        Key(XPLM_VK_NUMPAD2, xplm_ShiftFlag);
    EXPECT_EQ(Y(), static_cast<double>(423.6f));
}

TEST_F(GroundTest, DescentsStopAboveTheWheelsOnLandAndWater) {
    // F1 from 10 m above the rest height: 3 m steps to 1 m, then 0.1 m steps to about 0.
    Flat();
    Park(0, 0, 0);
    host().datarefs.setDouble(Pos("local_y"), 432.0 + kRest + 10.0);
    for (int i = 0; i < 30; ++i)
        Key(XPLM_VK_F1);
    EXPECT_NEAR(Wheels(), 0.0, 1e-4);
    EXPECT_GT(Wheels(), -1e-4);
    // Standing, F2 does nothing however often it is pressed.
    const double standing = Y();
    for (int i = 0; i < 100; ++i)
        Key(XPLM_VK_F2);
    EXPECT_EQ(Y(), standing);

    // A lake in a hollow: its surface at 429 m over a bed 5 m lower. Over it, the water is the
    // ground: the descent stops 0.04 m above 429 + 1.6.
    DownY();
    host().terrain.hillHeight = -8.0;
    host().terrain.hillRadius = 200.0;
    hostsim::Surface lake;
    lake.radius = 150.0;
    lake.top = 429.0;
    lake.wet = true;
    host().terrain.surfaces = {lake};
    Place(0, 460.64, 0, 30.0f);
    host().datarefs.setInt(kOnGround, 0, 0);
    DownY();
    for (int i = 0; i < 60; ++i)
        Key(XPLM_VK_F1);
    EXPECT_NEAR(Y(), 429.0 + kRest + 0.04, 1e-4);
}

TEST_F(GroundTest, FromCruiseTheGearGeometryKeepsTheWheelsOutOfTheRunway) {
    // Nothing measured: the lowest wheel, 1.66 m below the reference point, is the rest height
    // (unused slots are 0). 1000 m above the runway: 332 F1 steps of 3 m to 2.34 m above it, then
    // 0.1 m steps to 0.04 m: the wheels 0.10 m above the runway, 1.6 m being the real height.
    Flat();
    host().flightModel.restHeight = kRest;
    for (int i = 0; i < 3; ++i)
        host().datarefs.setFloatAt(kTires, i, i == 0 ? -1.64f : -1.66f);
    host().datarefs.setFloatAt(kTires, 3, -INFINITY);  // a broken entry is no wheel
    Place(0, 1432.0, 0, 1000.0f);
    DownY();
    for (int i = 0; i < 400; ++i)
        Key(XPLM_VK_F1);
    for (int i = 0; i < 30; ++i)
        Key(XPLM_VK_F2);
    EXPECT_NEAR(Y() - 432.0, 1.70, 1e-3);

    // Measured on the ground (once the simulator has flown a frame), 1.6 m wins over the gear; a
    // new user aircraft forgets it, an AI aircraft's does not. F2 from 1.7 m above the ground
    // steps only over a 1.6 m rest height.
    DownY();
    Frame();
    Park(0, 0, 0);
    DownY();
    for (const intptr_t aircraft : {1, 0}) {
        plugin.XPluginReceiveMessage(0, XPLM_MSG_PLANE_LOADED, reinterpret_cast<void*>(aircraft));
        Place(0, 433.7, 0, 1.7f);
        host().datarefs.setInt(kOnGround, 0, 0);
        DownY();
        Key(XPLM_VK_F2);
        EXPECT_EQ(Y(), aircraft == 1 ? 433.6000061035156 : 433.7) << aircraft;
        DownY();
    }
}

TEST_F(GroundTest, TheOnGroundFlagCountsOnlyOnceTheSimulatorHasFlownSinceSlewModeEnded) {
    // Parked 1.6 m up, then 300 m higher (733.5999755859375, 733.6 as a float), slew mode off and
    // on again while the flag still says "on the ground" as the flight model last left it: in one
    // cycle, paused for 60 frames (cycles go on, the flight time does not), over another plug-in's
    // hold for two, or in one cycle of a simulator with no flight time to tell. The rest height
    // stays 1.6, so F2 goes down 0.1 m, to 733.5 as a float.
    Flat();
    for (const char* way : {"one cycle", "paused", "another's hold", "no flight time, one cycle"}) {
        if (way[0] == 'n')
            StopAndStart([] { host().datarefs.remove("sim/time/total_flight_time_sec"); });
        Park(0, 0, 0);
        for (int i = 0; i < 100; ++i)
            Key(XPLM_VK_F4);
        host().flightModel.paused = way[0] == 'p';
        DownY();
        host().datarefs.setInt(kOverride, 0, way[0] == 'a' ? 1 : 0);
        for (int frame = 0; frame < (way[0] == 'p' ? 60 : way[0] == 'a' ? 2 : 0); ++frame)
            Frame();
        DownY();
        host().flightModel.paused = false;
        Key(XPLM_VK_F2);
        EXPECT_EQ(Y(), 733.5) << way;
        DownY();
        Frame();  // the simulator flies: its flag is news again
    }
}

TEST_F(GroundTest, RoofsStepsAndTheEndOfTheSceneryAreNotGround) {
    struct Case {
        const char* what;
        hostsim::Surface surface;
        double loadedRadius, z;
        bool fast;
    };
    hostsim::Surface deck;  // a bridge 8 m over the ground, from 20 to 50 m north
    deck.minX = -100;
    deck.maxX = 100;
    deck.minZ = -50;
    deck.maxZ = -20;
    deck.top = 440.0;
    hostsim::Surface step = deck;  // a 2 m ledge 0.05 m ahead
    step.minZ = -100;
    step.maxZ = -0.05;
    step.top = 434.0;
    const Case cases[] = {
        {"under a bridge deck", deck, 1e12, 0.0, true},
        {"a 2 m step", step, 1e12, 0.0, false},
        {"the end of the loaded scenery", {}, 100.0, -99.95, false},
    };
    for (const Case& c : cases) {
        Flat();
        host().terrain.surfaces = {c.surface};
        host().terrain.loadedRadius = c.loadedRadius;
        Park(0, c.z, 0);
        for (int move = 0; move < 12; ++move) {
            Key(XPLM_VK_NUMPAD8, c.fast ? xplm_ShiftFlag : 0);
            Frame();
            EXPECT_NEAR(Y(), 433.6, 1e-4) << c.what << ", move " << move;
        }
        DownY();
    }
    // A 30 % ramp rises 1.5 m under a 5 m move: more than a metre over the wheels, but a slope,
    // not a roof.
    host().terrain.surfaces.clear();
    host().terrain.loadedRadius = 1e12;
    Slope();
    host().terrain.grade = 0.3;
    Park(0, 0, 0);
    for (int move = 0; move < 10; ++move)
        Key(XPLM_VK_NUMPAD8, xplm_ShiftFlag);
    EXPECT_EQ(Y(), static_cast<double>(448.6f));  // 15 m up the ramp
}

TEST_F(GroundTest, AtMostTwoProbesAMoveAndNoneWhereNoneIsNeeded) {
    Flat();
    Park(0, 0, 0);
    Frame();
    const auto probes = [](const std::function<void()>& act) {
        host().recorder.clear();
        act();
        return host().recorder.count("XPLMProbeTerrainXYZ");
    };
    EXPECT_EQ(probes([] { Key(XPLM_VK_NUMPAD8); }), 2u) << "parked: here and there";
    EXPECT_EQ(probes([] { Key(XPLM_VK_NUMPAD3); }), 0u) << "a turn";
    EXPECT_EQ(probes([] { Key(XPLM_VK_F4); }), 0u) << "a climb";
    EXPECT_EQ(probes([] { Frame(); }), 0u) << "a frame with the stick centred";
    EXPECT_EQ(probes([] { host().display.drawFrame(); }), 0u) << "a draw";
    EXPECT_EQ(probes([] { Key(XPLM_VK_NUMPAD8); }), 1u) << "in the air: only here";
    EXPECT_EQ(probes([] { Key(XPLM_VK_F2); }), 1u) << "a descent";
    host().datarefs.setFloat(hostsim::paths::kStick[0], -1);
    EXPECT_EQ(probes([] { Frame(); }), 1u) << "the stick, in the air";
    DownY();
    EXPECT_EQ(probes([] {
                  Key(XPLM_VK_NUMPAD8);
                  Frame();
              }),
              0u)
        << "slew mode off";
}

}  // namespace
}  // namespace trovik_test
