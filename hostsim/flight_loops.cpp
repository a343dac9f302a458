// Flight loops, as the simulator runs them once a frame.
#include <cmath>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Flight loops ----

namespace {

// When a loop asking for `interval` (frames if negative, seconds if positive) is next due,
// counted from frame `frame` at time `time`.
void Due(FlightLoop& loop, float interval, long long frame, double time) {
    loop.scheduled = interval != 0.0f;
    loop.byFrames = interval < 0.0f;
    // A fraction of a frame is the next frame: the simulator runs nothing between frames.
    loop.dueFrame = frame + std::max(1LL, static_cast<long long>(std::ceil(-interval)));
    loop.dueTime = time + static_cast<double>(interval);
}

}  // namespace

FlightLoop* FlightLoops::find(XPLMFlightLoopID id) {
    for (FlightLoop& loop : loops) {
        if (loop.id == id)
            return &loop;
    }
    return nullptr;
}

void FlightLoops::frame(double seconds, const std::function<void()>& simulatorWork) {
    clock += seconds;
    ++frames;
    const double sinceLastLoops = clock - lastLoopsTime;
    lastLoopsTime = clock;
    for (XPLMFlightLoopPhaseType phase :
         {xplm_FlightLoop_Phase_BeforeFlightModel, xplm_FlightLoop_Phase_AfterFlightModel}) {
        if (phase == xplm_FlightLoop_Phase_AfterFlightModel) {
            H().flightModel.run(seconds);
            if (simulatorWork)
                simulatorWork();
        }
        // Loops may come, go or be rescheduled inside a callback: walk the ids as they stood.
        std::vector<XPLMFlightLoopID> ids;
        for (const FlightLoop& loop : loops) {
            if (loop.phase == phase)
                ids.push_back(loop.id);
        }
        for (XPLMFlightLoopID id : ids) {
            const FlightLoop* loop = find(id);
            if (!H().pluginEnabled || loop == nullptr || !loop->scheduled ||
                (H().flightModel.paused && !whilePaused) ||
                (loop->byFrames ? frames < loop->dueFrame : clock < loop->dueTime)) {
                continue;
            }
            ++calls;
            const float sinceLastCall = static_cast<float>(clock - loop->lastTime);
            const float next = loop->callback(sinceLastCall, static_cast<float>(sinceLastLoops),
                                              static_cast<int>(frames), loop->refcon);
            FlightLoop* called = find(id);
            if (called == nullptr)
                continue;  // it destroyed itself
            called->lastFrame = frames;
            called->lastTime = clock;
            Due(*called, next, frames, clock);
        }
    }
}

}  // namespace hostsim

using namespace hostsim;
using namespace hostsim::internal;

extern "C" {

XPLM_API XPLMFlightLoopID XPLMCreateFlightLoop(XPLMCreateFlightLoop_t* inParams) {
    Call* call = RECORD("XPLMCreateFlightLoop", {Arg::Pointer(inParams)});
    if (call != nullptr && inParams != nullptr) {
        Arg params;
        params.kind = Arg::Kind::Bare;
        params.text = "{" + std::to_string(inParams->structSize) + ", " +
                      std::to_string(inParams->phase) + ", " + Fn(inParams->callbackFunc).str() +
                      ", " + Arg::Pointer(inParams->refcon).str() + "}";
        call->args = {params};
    }
    // The struct may grow in later SDKs; one smaller than this SDK's is not one we can read.
    if (inParams == nullptr || inParams->callbackFunc == nullptr ||
        inParams->structSize < static_cast<int>(sizeof(XPLMCreateFlightLoop_t))) {
        Misuse("XPLMCreateFlightLoop without a callback or with a short struct");
        Result(call, Arg::Pointer(nullptr));
        return nullptr;
    }
    hostsim::FlightLoops& loops = H().loops;
    hostsim::FlightLoop loop;
    loop.phase = inParams->phase;
    loop.callback = inParams->callbackFunc;
    loop.refcon = inParams->refcon;
    loop.lastFrame = loops.frames;
    loop.lastTime = loops.clock;
    XPLMFlightLoopID id = Add(loops.loops, loop);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyFlightLoop(XPLMFlightLoopID inFlightLoopID) {
    RECORD("XPLMDestroyFlightLoop", {Arg::Pointer(inFlightLoopID)});
    if (!Erase(H().loops.loops, inFlightLoopID))
        Misuse("XPLMDestroyFlightLoop of a flight loop that does not exist (destroyed twice?)");
}

XPLM_API int XPLMGetCycleNumber(void) {
    Call* call = RECORD("XPLMGetCycleNumber", {});
    const int cycle = static_cast<int>(H().loops.frames);
    Result(call, Arg::Int(cycle));
    return cycle;
}

XPLM_API void XPLMScheduleFlightLoop(XPLMFlightLoopID inFlightLoopID, float inInterval,
                                     int inRelativeToNow) {
    RECORD("XPLMScheduleFlightLoop",
           {Arg::Pointer(inFlightLoopID), Arg::Float(inInterval), Arg::Int(inRelativeToNow)});
    hostsim::FlightLoops& loops = H().loops;
    hostsim::FlightLoop* loop = loops.find(inFlightLoopID);
    if (loop == nullptr) {
        Misuse("XPLMScheduleFlightLoop of a flight loop that does not exist (destroyed?)");
    } else if (inRelativeToNow != 0) {
        Due(*loop, inInterval, loops.frames, loops.clock);
    } else {
        Due(*loop, inInterval, loop->lastFrame, loop->lastTime);
    }
}

}  // extern "C"
