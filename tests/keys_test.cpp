// The slew key commands, bit for bit: what each key writes, in what order, at what precision.
#include <cmath>
#include <limits>

#include "support.h"

namespace trovik_test {
namespace {

struct Aircraft {
    double x, y, z;
    float agl, psi, theta, phi;
};

// The command table, written from the behaviour's description rather than from the plug-in's
// code: given the aircraft before the event, the writes one event of `key` must make.
Calls Expected(int key, bool shift, const Aircraft& a) {
    const double radians = static_cast<double>(a.psi) / 180.0 * 3.1415927410125732;
    const float s = static_cast<float>(std::sin(radians));
    const float c = static_cast<float>(std::cos(radians));
    auto step = [shift](float f) {
        return shift ? static_cast<double>(f * 5.0f) : static_cast<double>(f) * 0.1;
    };
    auto snap = [&a](Calls calls) {
        if (0.07 > static_cast<double>(a.agl)) {
            calls.push_back(SetF("local_y", static_cast<float>(a.y) - a.agl));
        }
        return calls;
    };
    const double fine = 0.10000000149011612;
    switch (key) {
        case 0x53:
            return {"XPLMCommandButtonPress(44)", "XPLMCommandButtonRelease(44)",
                    "XPLMControlCamera(1, fn, null)"};
        case 0x61:
            return {SetF("psi", a.psi - (shift ? 5.0f : 0.15f))};
        case 0x62:
            return snap({SetD("local_z", a.z + step(c)), SetD("local_x", a.x - step(s))});
        case 0x63:
            return {SetF("psi", a.psi + (shift ? 5.0f : 0.15f))};
        case 0x64:
            return snap({SetD("local_z", a.z - step(s)), SetD("local_x", a.x - step(c))});
        case 0x65:
            if (!shift)
                return {SetF("psi", 360.0f)};
            return {SetF("psi", 360.0f), SetF("phi", 0.0f), SetF("theta", 0.0f)};
        case 0x66:
            return snap({SetD("local_z", a.z + step(s)), SetD("local_x", a.x + step(c))});
        case 0x67:
            return {SetF("phi", a.phi - (shift ? 3.0f : 0.5f))};
        case 0x68:
            return snap({SetD("local_z", a.z - step(c)), SetD("local_x", a.x + step(s))});
        case 0x69:
            return {SetF("phi", a.phi + (shift ? 3.0f : 0.5f))};
        case 0x70:
            if (static_cast<double>(a.agl) > 2.9)
                return {SetF("local_y", float(a.y - 3.0))};
            [[fallthrough]];
        case 0x71:
            if (static_cast<double>(a.agl) > 0.05)
                return {SetF("local_y", float(a.y - fine))};
            return {};
        case 0x72:
            return {SetF("local_y", float(a.y + fine))};
        case 0x73:
            return {SetF("local_y", float(a.y + 3.0))};
        case 0x74:
            return {SetF("theta", a.theta + 5.0f)};
        case 0x75:
            return {SetF("theta", a.theta + 1.0f)};
        case 0x76:
            return {SetF("theta", a.theta - 1.0f)};
        case 0x77:
            return {SetF("theta", a.theta - 5.0f)};
        default:
            return {};
    }
}

bool Listed(int key) {
    return key == 0x53 || (key >= 0x61 && key <= 0x69) || (key >= 0x70 && key <= 0x77);
}

class KeysTest : public PluginTest {
  protected:
    void Place(const Aircraft& a) {
        host().setDouble(Pos("local_x"), a.x);
        host().setDouble(Pos("local_y"), a.y);
        host().setDouble(Pos("local_z"), a.z);
        host().setFloat(Pos("y_agl"), a.agl);
        host().setFloat(Pos("psi"), a.psi);
        host().setFloat(Pos("theta"), a.theta);
        host().setFloat(Pos("phi"), a.phi);
    }

    void SlewOn() {
        DownY();
        host().recorder.clear();
    }

    // One event, as the simulator would deliver a key-down; returns whether it was consumed.
    bool Key(int key, bool shift = false) {
        host().recorder.clear();
        return host().keyEvent(0, xplm_DownFlag | (shift ? xplm_ShiftFlag : 0),
                               static_cast<char>(key));
    }

    // The host's writes and commands, callback pointers spelled "fn".
    Calls Effects() const {
        Calls out;
        for (const hostsim::Call& call : host().recorder.calls) {
            if (call.fn.rfind("XPLMGet", 0) == 0)
                continue;
            hostsim::Call c = call;
            if (c.fn == "XPLMControlCamera" && c.args.at(1).p != nullptr) {
                c.args[1].kind = hostsim::Arg::Kind::Bare;
                c.args[1].text = "fn";
            }
            out.push_back(c.str());
        }
        return out;
    }
};

const int kAllCommandKeys[] = {0x53, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68,
                               0x69, 0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77};

TEST_F(KeysTest, EveryCommandFineAndCoarseAtAwkwardHeadings) {
    const Aircraft aircraft[] = {
        {-1234.5678, 432.25, 9876.125, 0.0f, 30.0f, 2.5f, -1.25f},
        {100.0, 20.0, -50.0, 12.75f, 123.4f, -7.3f, 15.1f},
        {0.1, 1000.1, 0.3, 0.06f, 270.0f, 0.0f, 0.0f},
        {-7.77, 3.3, 2.2, 3.0f, -45.5f, 89.9f, -179.9f},
        {55555.5, 5.55, -5555.5, 1.0f, 400.25f, -90.0f, 360.0f},
        {1e6, 8848.86, -1e6, 0.0699999928f, 0.0f, 1.0f, -1.0f},
    };
    SlewOn();
    for (const Aircraft& a : aircraft) {
        for (int key : kAllCommandKeys) {
            for (bool shift : {false, true}) {
                Place(a);
                const bool consumed = Key(key, shift);
                EXPECT_EQ(consumed, key != 0x53) << std::hex << key;
                EXPECT_EQ(Effects(), Expected(key, shift, a))
                    << "key 0x" << std::hex << key << (shift ? " shift" : "") << " psi " << a.psi;
                host().changeView();
            }
        }
    }
}

// Values pinned straight from the command table's worked examples, independent of any model.
TEST_F(KeysTest, WorkedExamplesLandOnTheseBits) {
    SlewOn();
    Place({0.0, 10.0, 0.0, 5.0f, 0.0f, 0.0f, 0.0f});
    Key(0x68);
    EXPECT_EQ(Effects(),
              Calls({"XPLMSetDatad(sim/flightmodel/position/local_z, -0.10000000000000001)",
                     "XPLMSetDatad(sim/flightmodel/position/local_x, 0)"}));
    Key(0x68, true);  // from the value just written
    EXPECT_EQ(Effects(),
              Calls({"XPLMSetDatad(sim/flightmodel/position/local_z, -5.0999999999999996)",
                     "XPLMSetDatad(sim/flightmodel/position/local_x, 0)"}));

    Place({0.0, 10.0, 0.0, 5.0f, 30.0f, 0.0f, 0.0f});
    Key(0x66);
    EXPECT_EQ(Effects(),
              Calls({"XPLMSetDatad(sim/flightmodel/position/local_z, 0.050000000000000003)",
                     "XPLMSetDatad(sim/flightmodel/position/local_x, 0.086602538824081421)"}));
    Place({0.0, 10.0, 0.0, 5.0f, 30.0f, 0.0f, 0.0f});
    Key(0x66, true);
    EXPECT_EQ(Effects(),
              Calls({"XPLMSetDatad(sim/flightmodel/position/local_z, 2.5)",
                     "XPLMSetDatad(sim/flightmodel/position/local_x, 4.3301267623901367)"}));

    // The fine vertical step is 0.1f widened, not 0.1: these heights sit where the two round to
    // different floats.
    Place({0.0, 1000.0000061025156, 0.0, 5.0f, 0.0f, 0.0f, 0.0f});
    Key(0x72);
    EXPECT_EQ(Effects(), Calls({"XPLMSetDataf(sim/flightmodel/position/local_y, 1000.10004)"}));
    Place({0.0, 1000.2000061045156, 0.0, 5.0f, 0.0f, 0.0f, 0.0f});
    Key(0x71);
    EXPECT_EQ(Effects(), Calls({"XPLMSetDataf(sim/flightmodel/position/local_y, 1000.09998)"}));

    Place({0.0, 10.0, 0.0, 5.0f, 0.0f, 0.0f, 0.0f});
    Key(0x61);
    EXPECT_EQ(Effects(), Calls({"XPLMSetDataf(sim/flightmodel/position/psi, -0.150000006)"}));
    EXPECT_EQ(BitsOf(host().getFloat(Pos("psi"))), BitsOf(-0.15f));
}

TEST_F(KeysTest, DescentAndSnapThresholdsAtTheirFloatValues) {
    struct Case {
        const char* what;
        int key;
        float agl;
        Calls effects;
    };
    const float below29 = std::nextafter(2.9f, 0.0f);
    const Case cases[] = {
        {"2.9f is above 2.9", 0x70, 2.9f, {SetF("local_y", 97.0f)}},
        {"just below 2.9f", 0x70, below29, {SetF("local_y", 99.9000015f)}},
        {"2.5: F1 takes the fine step", 0x70, 2.5f, {SetF("local_y", 99.9000015f)}},
        {"0.05f is above 0.05", 0x71, 0.05f, {SetF("local_y", 99.9000015f)}},
        {"0.05f through F1", 0x70, 0.05f, {SetF("local_y", 99.9000015f)}},
        {"just below 0.05f", 0x71, std::nextafter(0.05f, 0.0f), {}},
        {"0.04: F1 stays", 0x70, 0.04f, {}},
        {"0.04: F2 stays", 0x71, 0.04f, {}},
        {"NaN height: no descent", 0x70, NAN, {}},
        {"0.07f is above 0.07: no snap",
         0x68,
         0.07f,
         {SetD("local_z", 99.900000000000006), SetD("local_x", 0)}},
        {"just below 0.07f snaps",
         0x68,
         std::nextafter(0.07f, 0.0f),
         {SetD("local_z", 99.900000000000006), SetD("local_x", 0),
          SetF("local_y", 100.0f - std::nextafter(0.07f, 0.0f))}},
        {"on the ground: y written back as float",
         0x68,
         0.0f,
         {SetD("local_z", 99.900000000000006), SetD("local_x", 0), SetF("local_y", 100.0f)}},
        {"below the ground: lifted to it",
         0x62,
         -1.5f,
         {SetD("local_z", 100.09999999999999), SetD("local_x", 0), SetF("local_y", 101.5f)}},
        {"NaN height: no snap",
         0x68,
         NAN,
         {SetD("local_z", 99.900000000000006), SetD("local_x", 0)}},
    };
    SlewOn();
    for (const Case& c : cases) {
        Place({0.0, 100.0, 100.0, c.agl, 0.0f, 0.0f, 0.0f});
        EXPECT_TRUE(Key(c.key)) << c.what;
        EXPECT_EQ(Effects(), c.effects) << c.what;
    }
}

TEST_F(KeysTest, SnapRoundsTheDoubleHeightToFloatFirst) {
    SlewOn();
    // 1000.1 is not a float: the snap writes the float nearest it, not the double.
    Place({0.0, 1000.1, 0.0, 0.0f, 90.0f, 0.0f, 0.0f});
    Key(0x64);
    ASSERT_EQ(Effects().size(), 3u);
    EXPECT_EQ(Effects()[2], SetF("local_y", 1000.09998f));
    EXPECT_EQ(host().getDouble(Pos("local_y")), static_cast<double>(1000.1f));
}

TEST_F(KeysTest, EveryVirtualKeyWithSlewModeOffAndOn) {
    for (bool on : {false, true}) {
        if (on)
            SlewOn();
        for (int key = -128; key <= 127; ++key) {
            for (int flags : {int{xplm_UpFlag}, xplm_UpFlag | xplm_ShiftFlag}) {
                Place({1.0, 50.0, 2.0, 10.0f, 45.0f, 1.0f, 2.0f});
                host().recorder.clear();
                const bool consumed = host().keyEvent('a', flags, static_cast<char>(key));
                const bool writes = !Effects().empty();
                EXPECT_EQ(consumed, on && Listed(key) && key != 0x53) << key;
                EXPECT_EQ(writes, on && Listed(key)) << key;
            }
        }
    }
}

TEST_F(KeysTest, SnapshotIsReadOnceInOrderBeforeTheModeTest) {
    const Calls reads = {
        "XPLMGetDatad(sim/flightmodel/position/local_x) = 1",
        "XPLMGetDatad(sim/flightmodel/position/local_y) = 2",
        "XPLMGetDatad(sim/flightmodel/position/local_z) = 3",
        "XPLMGetDataf(sim/flightmodel/position/y_agl) = 4",
        "XPLMGetDataf(sim/flightmodel/position/psi) = 5",
        "XPLMGetDataf(sim/flightmodel/position/theta) = 6",
        "XPLMGetDataf(sim/flightmodel/position/phi) = 7",
    };
    Place({1, 2, 3, 4, 5, 6, 7});
    Key(0x68);  // slew mode off
    EXPECT_EQ(host().recorder.strings(), reads);

    SlewOn();
    Key(0x65, true);
    Calls expected = reads;
    expected.push_back(SetF("psi", 360.0f));
    expected.push_back(SetF("phi", 0.0f));
    expected.push_back(SetF("theta", 0.0f));
    EXPECT_EQ(host().recorder.strings(), expected);

    // A move computes the snap from the same snapshot: y is not read again.
    Place({1, 2, 3, 0, 0, 6, 7});
    Key(0x68);
    ASSERT_EQ(host().recorder.strings().size(), 10u);
    EXPECT_EQ(host().recorder.strings()[9], SetF("local_y", 2.0f));
    EXPECT_EQ(host().recorder.count("XPLMGetDatad"), 3u);

    Key(0x20);  // not a command: read, then passed on
    EXPECT_EQ(host().recorder.strings().size(), 7u);
}

TEST_F(KeysTest, APressAndItsReleaseEachPerformTheCommand) {
    SlewOn();
    Place({0, 0, 0, 5.0f, 10.0f, 0, 0});
    host().pressKey(0x63);
    EXPECT_EQ(host().getFloat(Pos("psi")), (10.0f + 0.15f) + 0.15f);
    host().pressKey(0x73, xplm_ShiftFlag);
    EXPECT_EQ(host().getDouble(Pos("local_y")), 6.0);
    host().pressKey(0x65);
    EXPECT_EQ(host().getFloat(Pos("psi")), 360.0f);
}

TEST_F(KeysTest, TurnsAreNeitherWrappedNorLimited) {
    SlewOn();
    Place({0, 0, 0, 5.0f, 359.0f, 89.0f, 179.0f});
    Key(0x63, true);
    Key(0x74);
    Key(0x69, true);
    EXPECT_EQ(host().getFloat(Pos("psi")), 364.0f);
    EXPECT_EQ(host().getFloat(Pos("theta")), 94.0f);
    EXPECT_EQ(host().getFloat(Pos("phi")), 182.0f);
}

TEST_F(KeysTest, NonFiniteResultsAreNeverWrittenButTheEventIsStillConsumed) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    SlewOn();

    // A broken heading must not destroy a valid position.
    Place({10.0, 50.0, 20.0, 5.0f, nan, 0, 0});
    EXPECT_TRUE(Key(0x68));
    EXPECT_TRUE(Effects().empty());
    EXPECT_EQ(host().getDouble(Pos("local_x")), 10.0);
    EXPECT_EQ(host().getDouble(Pos("local_z")), 20.0);

    // The other writes of the command still happen: here the snap.
    Place({10.0, 50.0, 20.0, 0.0f, inf, 0, 0});
    EXPECT_TRUE(Key(0x66, true));
    EXPECT_EQ(Effects(), Calls({SetF("local_y", 50.0f)}));

    // Only x is broken: z is still written.
    Place({std::numeric_limits<double>::infinity(), 50.0, 20.0, 5.0f, 0.0f, 0, 0});
    EXPECT_TRUE(Key(0x62));
    EXPECT_EQ(Effects(), Calls({SetD("local_z", 20.100000000000001)}));

    // A finite double height too large for a float.
    Place({0, 1e300, 0, 5.0f, 0, 0, 0});
    EXPECT_TRUE(Key(0x73));
    EXPECT_TRUE(Effects().empty());

    // Turning a NaN attitude writes nothing; numpad 5 still levels it, its values being constants.
    Place({0, 0, 0, 5.0f, nan, nan, nan});
    for (int key : {0x61, 0x63, 0x67, 0x69, 0x74, 0x75, 0x76, 0x77}) {
        EXPECT_TRUE(Key(key, true));
        EXPECT_TRUE(Effects().empty()) << key;
    }
    EXPECT_TRUE(Key(0x65, true));
    EXPECT_EQ(Effects(), Calls({SetF("psi", 360.0f), SetF("phi", 0.0f), SetF("theta", 0.0f)}));

    // Through the exported snap as well.
    auto snap = reinterpret_cast<void (*)(float, float)>(plugin.symbol("check_AGL"));
    ASSERT_NE(snap, nullptr);
    host().recorder.clear();
    snap(inf, 0.0f);
    snap(-inf, -1.0f);
    EXPECT_TRUE(Effects().empty());
    snap(3.0f, -0.5f);
    EXPECT_EQ(Effects(), Calls({SetF("local_y", 3.5f)}));
}

}  // namespace
}  // namespace trovik_test
