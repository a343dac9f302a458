// How much of a frame the plug-in costs: one overlay draw, one key event of each kind, one camera
// frame, one call of the stick's flight loop, measured against the headless host with its recorder
// off. Every allocation in the process is counted: the plug-in's callbacks must make none.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "callbacks.h"

// ---- An interposed allocator: counts, then hands over to the C library ----

extern "C" void* __libc_malloc(size_t);
extern "C" void* __libc_calloc(size_t, size_t);
extern "C" void* __libc_realloc(void*, size_t);

namespace {
std::atomic<long> gAllocations{0};
}

extern "C" void* malloc(size_t n) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(n);
}
extern "C" void* calloc(size_t n, size_t m) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, size_t n) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, n);
}

namespace {

hostsim::Plugin gPlugin;
trovik_bench::Callbacks gCallbacks;
long gMostAllocations = 0;

// Runs `call` for the benchmark's iterations and reports the allocations it made per call.
template <typename F>
void Measure(benchmark::State& state, F call) {
    const long before = gAllocations.load();
    for (auto _ : state)
        call();
    const long made = gAllocations.load() - before;
    const long perCall = state.iterations() > 0 ? (made + state.iterations() - 1) /
                                                      static_cast<long>(state.iterations())
                                                : 0;
    if (made > gMostAllocations)
        gMostAllocations = made;
    state.counters["allocs_per_call"] = static_cast<double>(perCall);
    state.counters["allocs_total"] = static_cast<double>(made);
}

int Key(char key, int flags) {
    return gCallbacks.sniffer(0, flags, key, nullptr);
}

void BM_OverlayDraw(benchmark::State& state) {
    Measure(state, [] { gCallbacks.draw(gCallbacks.window, nullptr); });
}

// The headset's panel: the simulator entered VR, and the window went with it.
void BM_OverlayDrawVR(benchmark::State& state) {
    gPlugin.sendMessage(XPLM_MSG_ENTERED_VR, 0, hostsim::Plugin::kSimulator);
    Measure(state, [] { gCallbacks.draw(gCallbacks.window, nullptr); });
    gPlugin.sendMessage(XPLM_MSG_EXITING_VR, 0, hostsim::Plugin::kSimulator);
}

void BM_KeyMove(benchmark::State& state) {
    Measure(state, [] { benchmark::DoNotOptimize(Key(XPLM_VK_NUMPAD8, xplm_DownFlag)); });
}

// A parked aircraft on flat ground: the probe where it stands and where it goes, and the height
// written.
void BM_KeyMoveParked(benchmark::State& state) {
    trovik_bench::Park(true);
    Measure(state, [] { benchmark::DoNotOptimize(Key(XPLM_VK_NUMPAD8, xplm_DownFlag)); });
    trovik_bench::Park(false);
}

void BM_KeyTurn(benchmark::State& state) {
    Measure(state, [] { benchmark::DoNotOptimize(Key(XPLM_VK_NUMPAD3, xplm_DownFlag)); });
}

void BM_KeyVertical(benchmark::State& state) {
    Measure(state, [] { benchmark::DoNotOptimize(Key(XPLM_VK_F3, xplm_DownFlag)); });
}

void BM_KeyPassedOnSlewModeOff(benchmark::State& state) {
    int* master = static_cast<int*>(gPlugin.symbol("HotKey_Master"));
    *master = 0;
    Measure(state, [] { benchmark::DoNotOptimize(Key(0x41, xplm_DownFlag)); });
    *master = 1;
}

// A bound button held down: the simulator calls the handler once a frame.
void BM_CommandContinue(benchmark::State& state) {
    Measure(state, [] {
        benchmark::DoNotOptimize(
            gCallbacks.command(gCallbacks.forward, xplm_CommandContinue, nullptr));
    });
}

// The stick's flight loop, once a frame while slew mode is on: centred it only reads the stick.
void BM_StickCentred(benchmark::State& state) {
    trovik_bench::SetStick(0.0f, 0.0f, 0.0f);
    Measure(state,
            [] { benchmark::DoNotOptimize(gCallbacks.stick(1.0f / 60, 1.0f / 60, 1, nullptr)); });
}

void BM_StickDeflected(benchmark::State& state) {
    trovik_bench::SetStick(-0.5f, 0.3f, 0.2f);
    Measure(state,
            [] { benchmark::DoNotOptimize(gCallbacks.stick(1.0f / 60, 1.0f / 60, 1, nullptr)); });
    trovik_bench::SetStick(0.0f, 0.0f, 0.0f);
}

void BM_StickDeflectedParked(benchmark::State& state) {
    trovik_bench::Park(true);
    trovik_bench::SetStick(-0.5f, 0.3f, 0.2f);
    Measure(state,
            [] { benchmark::DoNotOptimize(gCallbacks.stick(1.0f / 60, 1.0f / 60, 1, nullptr)); });
    trovik_bench::SetStick(0.0f, 0.0f, 0.0f);
    trovik_bench::Park(false);
}

void BM_CameraFrame(benchmark::State& state) {
    XPLMCameraPosition_t position{};
    Measure(state, [&position] {
        benchmark::DoNotOptimize(gCallbacks.camera(&position, 0, nullptr));
        benchmark::ClobberMemory();
    });
}

// Another plug-in (a lamp, a display) reading Trovik's state through the simulator, every frame.
void BM_DataRefRead(benchmark::State& state) {
    const XPLMDataRef slewMode = XPLMFindDataRef("trovik/slew_mode");
    const XPLMDataRef factor = XPLMFindDataRef("trovik/speed_factor");
    Measure(state, [&] {
        benchmark::DoNotOptimize(XPLMGetDatai(slewMode));
        benchmark::DoNotOptimize(XPLMGetDataf(factor));
    });
}

BENCHMARK(BM_OverlayDraw);
BENCHMARK(BM_OverlayDrawVR);
BENCHMARK(BM_KeyMove);
BENCHMARK(BM_KeyMoveParked);
BENCHMARK(BM_KeyTurn);
BENCHMARK(BM_KeyVertical);
BENCHMARK(BM_KeyPassedOnSlewModeOff);
BENCHMARK(BM_CommandContinue);
BENCHMARK(BM_StickCentred);
BENCHMARK(BM_StickDeflected);
BENCHMARK(BM_StickDeflectedParked);
BENCHMARK(BM_CameraFrame);
BENCHMARK(BM_DataRefRead);

}  // namespace

int main(int argc, char** argv) {
    // A counter that misses allocations would prove nothing.
    const long before = gAllocations.load();
    std::string probe(100, 'x');
    benchmark::DoNotOptimize(probe.data());
    if (gAllocations.load() == before) {
        std::fprintf(stderr, "trovik_bench: the allocation counter sees nothing\n");
        return 1;
    }
    gCallbacks = trovik_bench::Prepare(gPlugin, TROVIK_XPL);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gMostAllocations > 0) {
        std::fprintf(stderr, "trovik_bench: a callback allocated (%ld allocations)\n",
                     gMostAllocations);
        return 1;
    }
    return 0;
}
