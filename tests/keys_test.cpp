// The slew keys, bit for bit: what each writes, in what order, at what precision. Every number
// below was worked out by hand from the behaviour, never from the plug-in's own formulas, and each
// row sits where a wrong precision, sign, order or constant would change the bits.
#include <cmath>
#include <limits>

#include "support.h"

namespace trovik_test {
namespace {

constexpr int kShift = xplm_ShiftFlag;
constexpr int kAlt = xplm_OptionAltFlag;
constexpr int kControl = xplm_ControlFlag;

class KeysTest : public SlewModeTest {
  protected:
    // One event, as the simulator delivers a key-down; returns whether it was consumed.
    bool Key(int key, int flags = 0) {
        host().recorder.clear();
        return host().display.keyEvent(0, xplm_DownFlag | flags, static_cast<char>(key));
    }
};

TEST_F(KeysTest, EachKeyWritesThesePinnedBits) {
    struct Row {
        const char* what;
        int key, flags;
        float psi;
        Calls writes;
    };
    enum : int { N1 = 0x61, N2, N3, N4, N5, N6, N7, N8, N9 };
    enum : int { F1 = 0x70, F2, F3, F4, F5, F6, F7, F8 };
    // The heading's sine and cosine take pi in single precision: at 90, 270, 360, 123.4 and
    // 400.25 the double pi lands on other bits. Fine steps are double, coarse ones float.
    const Row rows[] = {
        {"8 at 90", N8, 0, 90.0f, Moved("9876.125000004371", "-1234.4678000000001")},
        {"8 fast at 270", N8, kShift, 270.0f, Moved("9876.1249993443289", "-1239.5678")},
        {"2 at 123.4", N2, 0, 123.4f, Moved("9876.0699519217014", "-1234.6512847807885")},
        {"2 fast", N2, kShift, 400.25f, Moved("9879.9411616325378", "-1237.7984206226349")},
        {"4 at 360", N4, 0, 360.0f, Moved("9876.1249999825159", "-1234.6677999999999")},
        {"4 fast at 30", N4, kShift, 30.0f, Moved("9873.625", "-1238.8979267623902")},
        {"6 at 270", N6, 0, 270.0f, Moved("9876.0249999999996", "-1234.5677999868867")},
        {"6 fast", N6, kShift, 123.4f, Moved("9880.2992391586304", "-1237.3202039745331")},
        {"Control is not Shift", N8, kControl, 30.0f,
         Moved("9876.0383974611759", "-1234.5178000000001")},
        {"nor is Alt", N8, kAlt | kControl, 30.0f,
         Moved("9876.0383974611759", "-1234.5178000000001")},
        {"Shift among others", N8, kShift | kAlt | kControl, 30.0f,
         Moved("9871.7948732376099", "-1232.0678")},
        {"1 at 0: not wrapped", N1, 0, 0.0f, {SetF("psi", "-0.150000006")}},
        {"1 fast", N1, kShift, 123.4f, {SetF("psi", "118.400002")}},
        {"1 with Alt, in float", N1, kAlt, 0.05f, {SetF("psi", "-0.100000009")}},
        {"3 in float", N3, 0, 0.01f, {SetF("psi", "0.160000011")}},
        {"3", N3, 0, 359.9f, {SetF("psi", "360.049988")}},
        {"3 fast: not wrapped", N3, kShift, 359.0f, {SetF("psi", "364")}},
        {"7", N7, 0, 0.0f, {SetF("phi", "-1.75")}},
        {"7 fast", N7, kShift, 0.0f, {SetF("phi", "-4.25")}},
        {"9", N9, 0, 0.0f, {SetF("phi", "-0.75")}},
        {"9 fast", N9, kShift, 0.0f, {SetF("phi", "1.75")}},
        {"5 faces north", N5, 0, 123.4f, {SetF("psi", "360")}},
        {"5 with Control", N5, kControl, 123.4f, {SetF("psi", "360")}},
        // Fast: north, then the wings, then the nose.
        {"5 fast", N5, kShift, 123.4f, {SetF("psi", "360"), SetF("phi", "0"), SetF("theta", "0")}},
        {"F1", F1, 0, 0.0f, {SetF("local_y", "429.25")}},
        {"F2", F2, 0, 0.0f, {SetF("local_y", "432.149994")}},
        {"F3", F3, 0, 0.0f, {SetF("local_y", "432.350006")}},
        {"F3 has no fast form", F3, kShift, 0.0f, {SetF("local_y", "432.350006")}},
        {"F4", F4, 0, 0.0f, {SetF("local_y", "435.25")}},
        {"F5", F5, 0, 0.0f, {SetF("theta", "7.5")}},
        {"F6", F6, kShift, 0.0f, {SetF("theta", "3.5")}},
        {"F7", F7, 0, 0.0f, {SetF("theta", "1.5")}},
        {"F8", F8, 0, 0.0f, {SetF("theta", "-2.5")}},
    };
    // The same bits whether the height above ground comes from the simulator or from a probe
    // of flat ground 12.75 m below.
    for (const bool probed : {false, true}) {
        host().terrain.loaded = probed;
        host().terrain.elevation = 419.5;
        for (const Row& r : rows) {
            Place(-1234.5678, 432.25, 9876.125, 12.75f, r.psi, 2.5f, -1.25f);
            EXPECT_TRUE(Key(r.key, r.flags)) << r.what;
            EXPECT_EQ(Effects(), r.writes) << r.what << (probed ? ", probed" : "");
        }
    }
    host().terrain.loaded = false;

    // The fine climb is 0.1f widened, not 0.1: at these heights the two round apart.
    Place(0.0, 1000.0000061025156, 0.0, 5.0f, 0.0f, 0.0f, 0.0f);
    Key(XPLM_VK_F3);
    EXPECT_EQ(Effects(), Calls({SetF("local_y", "1000.10004")}));
    Place(0.0, 1000.2000061045156, 0.0, 5.0f, 0.0f, 0.0f, 0.0f);
    Key(XPLM_VK_F2);
    EXPECT_EQ(Effects(), Calls({SetF("local_y", "1000.09998")}));
}

TEST_F(KeysTest, DescentFloorsAndTheGroundSnapAtTheirFloatValues) {
    struct Case {
        const char* what;
        int key;
        double y;
        float agl;
        Calls effects;
    };
    const Calls north = Moved("99.900000000000006", "0");
    auto plus = [](Calls calls, const std::string& call) {
        calls.push_back(call);
        return calls;
    };
    const float below = std::nextafter(0.07f, 0.0f);
    const float below29 = std::nextafter(2.9f, 0.0f);
    const Case cases[] = {
        {"2.9f is above 2.9", XPLM_VK_F1, 100.0, 2.9f, {SetF("local_y", "97")}},
        {"just below 2.9f", XPLM_VK_F1, 100.0, below29, {SetF("local_y", "99.9000015")}},
        {"0.05f is above 0.05", XPLM_VK_F2, 100.0, 0.05f, {SetF("local_y", "99.9000015")}},
        {"0.05f through F1", XPLM_VK_F1, 100.0, 0.05f, {SetF("local_y", "99.9000015")}},
        {"just below 0.05f", XPLM_VK_F2, 100.0, std::nextafter(0.05f, 0.0f), {}},
        {"0.04: F1 stays", XPLM_VK_F1, 100.0, 0.04f, {}},
        {"NaN height: no descent", XPLM_VK_F1, 100.0, NAN, {}},
        {"0.07f is above 0.07: no snap", XPLM_VK_NUMPAD8, 100.0, 0.07f, north},
        {"just below 0.07f snaps", XPLM_VK_NUMPAD8, 100.0, below,
         plus(north, SetF("local_y", "99.9300003"))},
        {"below the ground: lifted to it", XPLM_VK_NUMPAD8, 100.0, -1.5f,
         plus(north, SetF("local_y", "101.5"))},
        {"y rounded to float first", XPLM_VK_NUMPAD8, 1000.1, 0.0f,
         plus(north, SetF("local_y", "1000.09998"))},
        {"NaN height: no snap", XPLM_VK_NUMPAD8, 100.0, NAN, north},
    };
    for (const Case& c : cases) {
        Place(0.0, c.y, 100.0, c.agl, 0.0f, 0.0f, 0.0f);
        EXPECT_TRUE(Key(c.key)) << c.what;
        EXPECT_EQ(Effects(), c.effects) << c.what;
    }
}

TEST_F(KeysTest, OnlyTheListedKeysActAndOnlyInSlewMode) {
    for (bool on : {true, false}) {
        if (!on)
            DownY();
        for (int key = -128; key <= 127; ++key) {
            for (int flags : {int{xplm_UpFlag}, xplm_UpFlag | xplm_ShiftFlag}) {
                Place(1.0, 50.0, 2.0, 10.0f, 45.0f, 1.0f, 2.0f);
                host().recorder.clear();
                const bool consumed = host().display.keyEvent('a', flags, static_cast<char>(key));
                const bool listed = on && trovik_published::Listed(key);
                EXPECT_EQ(consumed, listed && key != XPLM_VK_S) << key;
                EXPECT_EQ(!Effects().empty(), listed) << key;
                host().camera.changeView();
            }
        }
    }
}

// One step per tap: the press and each repeat step, the release is still consumed and does
// nothing. The keys left to the simulator: every one passes on untouched, S takes no camera, and
// every command still acts.
TEST_F(KeysTest, OneStepPerTapAndTheKeysLeftToTheSimulator) {
    const auto z = [] { return host().datarefs.getDouble(Pos("local_z")); };
    const auto choose = [](const char* command) {
        host().commands.once(host().commands.find(command));
    };
    Place(0.0, 1500.0, 0.0, 1068.0f, 0.0f);
    choose("trovik/one_step_per_tap");
    host().display.pressKey(XPLM_VK_NUMPAD8, kShift);
    EXPECT_EQ(z(), -5.0) << "a tap of Shift+8: one 5 m step";
    for (int event = 0; event < 3; ++event)
        Key(XPLM_VK_NUMPAD8, kShift);  // the press and two repeats
    EXPECT_EQ(z(), -20.0);
    host().recorder.clear();
    EXPECT_TRUE(host().display.keyEvent(0, xplm_UpFlag | kShift, XPLM_VK_NUMPAD8));
    EXPECT_EQ(Effects(), Calls{}) << "the release";
    choose("trovik/one_step_per_tap");
    host().display.pressKey(XPLM_VK_NUMPAD8, kShift);
    EXPECT_EQ(z(), -30.0) << "both again: the press and the release";

    choose("trovik/slew_keys");
    for (const Published& p : kPublished) {
        if (p.key == 0)
            continue;
        Place(0.0, 1500.0, 0.0, 1068.0f, 10.0f);
        host().recorder.clear();
        EXPECT_FALSE(host().display.keyEvent(0, xplm_DownFlag | p.flags, static_cast<char>(p.key)))
            << p.name;
        EXPECT_EQ(host().recorder.strings(), Calls{}) << p.name << ": not even read";
        host().commands.once(host().commands.find(p.name));
        EXPECT_NE(Effects(), Calls{}) << p.name << ": the command still acts";
    }
    host().camera.changeView();
    host().display.pressKey(XPLM_VK_S);
    EXPECT_FALSE(host().camera.controlled());
}

TEST_F(KeysTest, TheAircraftIsReadOnceInOrderBeforeTheModeTest) {
    const Calls reads = {
        "XPLMGetDatad(sim/flightmodel/position/local_x) = 1",
        "XPLMGetDatad(sim/flightmodel/position/local_y) = 2",
        "XPLMGetDatad(sim/flightmodel/position/local_z) = 3",
        "XPLMGetDataf(sim/flightmodel/position/y_agl) = 0",
        "XPLMGetDataf(sim/flightmodel/position/psi) = 5",
        "XPLMGetDataf(sim/flightmodel/position/theta) = 6",
        "XPLMGetDataf(sim/flightmodel/position/phi) = 7",
    };
    Place(1, 2, 3, 0, 5, 6, 7);
    Key(XPLM_VK_NUMPAD8);
    // Then whether a replay has the aircraft and whether it is still held, the ground probed once
    // where it stands (nothing loaded: it misses), and the snap computed from the same snapshot:
    // y is not read again.
    const Calls calls = host().recorder.strings();
    ASSERT_EQ(calls.size(), 13u);
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 7), reads);
    EXPECT_EQ(calls[7], "XPLMGetDatai(sim/time/is_in_replay) = 0");
    EXPECT_EQ(calls[8], "XPLMGetDatavi(" + std::string(kOverride) + ", {1}, 0, 1) = 1");
    EXPECT_EQ(calls[9].substr(calls[9].find(',')), ", 1, 2, 3) = 2") << calls[9];
    EXPECT_EQ(calls[12], SetF("local_y", "2"));

    DownY();
    Place(1, 2, 3, 0, 5, 6, 7);
    Key(XPLM_VK_NUMPAD8);
    EXPECT_EQ(host().recorder.strings(), reads) << "slew mode off: read, then passed on";
}

TEST_F(KeysTest, NonFiniteResultsAreNeverWrittenButTheEventIsStillConsumed) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    // A broken heading must not destroy a valid position; the snap still happens.
    Place(10.0, 50.0, 20.0, 5.0f, nan, 0, 0);
    EXPECT_TRUE(Key(XPLM_VK_NUMPAD8));
    EXPECT_EQ(Effects(), Calls{});
    Place(10.0, 50.0, 20.0, 0.0f, inf, 0, 0);
    EXPECT_TRUE(Key(XPLM_VK_NUMPAD6, xplm_ShiftFlag));
    EXPECT_EQ(Effects(), Calls({SetF("local_y", "50")}));

    // Only x is broken: z is still written. A finite height too large for a float is not.
    Place(INFINITY, 50.0, 20.0, 5.0f, 0.0f);
    EXPECT_TRUE(Key(XPLM_VK_NUMPAD2));
    EXPECT_EQ(Effects(), Calls({SetD("local_z", "20.100000000000001")}));
    Place(0, 1e300, 0, 5.0f);
    EXPECT_TRUE(Key(XPLM_VK_F4));
    EXPECT_EQ(Effects(), Calls{});

    // A NaN attitude turns to nothing; level still writes its constants.
    Place(0, 0, 0, 5.0f, nan, nan, nan);
    host().recorder.clear();
    for (int key : {XPLM_VK_NUMPAD1, XPLM_VK_NUMPAD9, XPLM_VK_F5})
        host().display.keyEvent(0, xplm_DownFlag | xplm_ShiftFlag, static_cast<char>(key));
    EXPECT_EQ(Effects(), Calls{});
    EXPECT_TRUE(Key(XPLM_VK_NUMPAD5, xplm_ShiftFlag));
    EXPECT_EQ(Effects(), Calls({SetF("psi", "360"), SetF("phi", "0"), SetF("theta", "0")}));

    // Through the exported snap as well.
    auto snap = reinterpret_cast<void (*)(float, float)>(plugin.symbol("check_AGL"));
    ASSERT_NE(snap, nullptr);
    host().recorder.clear();
    snap(inf, 0.0f);
    snap(3.0f, -0.5f);
    EXPECT_EQ(Effects(), Calls({SetF("local_y", "3.5")}));
}

}  // namespace
}  // namespace trovik_test
