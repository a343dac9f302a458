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

XPLMFlightLoopID Host::createFlightLoop(const FlightLoop& loop) {
    FlightLoop created = loop;
    created.scheduled = false;
    created.lastFrame = frameCount_;
    created.lastTime = clock_;
    return Add(loops_, created, nextId_);
}

const FlightLoop* Host::flightLoop(XPLMFlightLoopID id) const {
    for (const FlightLoop& loop : loops_) {
        if (loop.id == id)
            return &loop;
    }
    return nullptr;
}

void Host::scheduleFlightLoop(XPLMFlightLoopID id, float interval, int relativeToNow) {
    FlightLoop* loop = const_cast<FlightLoop*>(flightLoop(id));
    if (loop == nullptr) {
        misuse("XPLMScheduleFlightLoop of a flight loop that does not exist (destroyed?)");
        return;
    }
    if (relativeToNow != 0) {
        Due(*loop, interval, frameCount_, clock_);
    } else {
        Due(*loop, interval, loop->lastFrame, loop->lastTime);
    }
}

void Host::destroyFlightLoop(XPLMFlightLoopID id) {
    if (!Erase(loops_, id))
        misuse("XPLMDestroyFlightLoop of a flight loop that does not exist (destroyed twice?)");
}

void Host::flightLoopFrame(double seconds, const std::function<void()>& simulatorWork) {
    clock_ += seconds;
    ++frameCount_;
    const double sinceLastLoops = clock_ - lastLoopsTime_;
    lastLoopsTime_ = clock_;
    for (XPLMFlightLoopPhaseType phase :
         {xplm_FlightLoop_Phase_BeforeFlightModel, xplm_FlightLoop_Phase_AfterFlightModel}) {
        if (phase == xplm_FlightLoop_Phase_AfterFlightModel) {
            runFlightModel(seconds);
            if (simulatorWork)
                simulatorWork();
        }
        // Loops may come, go or be rescheduled inside a callback: walk the ids as they stood.
        std::vector<XPLMFlightLoopID> ids;
        for (const FlightLoop& loop : loops_) {
            if (loop.phase == phase)
                ids.push_back(loop.id);
        }
        for (XPLMFlightLoopID id : ids) {
            const FlightLoop* loop = flightLoop(id);
            if (!pluginEnabled || loop == nullptr || !loop->scheduled ||
                (loop->byFrames ? frameCount_ < loop->dueFrame : clock_ < loop->dueTime)) {
                continue;
            }
            ++loopCalls;
            const float sinceLastCall = static_cast<float>(clock_ - loop->lastTime);
            const float next = loop->callback(sinceLastCall, static_cast<float>(sinceLastLoops),
                                              static_cast<int>(frameCount_), loop->refcon);
            FlightLoop* called = const_cast<FlightLoop*>(flightLoop(id));
            if (called == nullptr)
                continue;  // it destroyed itself
            called->lastFrame = frameCount_;
            called->lastTime = clock_;
            Due(*called, next, frameCount_, clock_);
        }
    }
}

void Host::pluginStopped() {
    if (!loops_.empty()) {
        misuse(std::to_string(loops_.size()) +
               " flight loop(s) left behind at stop: XPLMDestroyFlightLoop missing");
    }
    loops_.clear();
    if (!probes_.empty()) {
        misuse(std::to_string(probes_.size()) +
               " terrain probe(s) left behind at stop: XPLMDestroyProbe missing");
    }
    probes_.clear();
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
        H().misuse("XPLMCreateFlightLoop without a callback or with a short struct");
        Result(call, Arg::Pointer(nullptr));
        return nullptr;
    }
    hostsim::FlightLoop loop;
    loop.phase = inParams->phase;
    loop.callback = inParams->callbackFunc;
    loop.refcon = inParams->refcon;
    XPLMFlightLoopID id = H().createFlightLoop(loop);
    Result(call, Arg::Pointer(id));
    return id;
}

XPLM_API void XPLMDestroyFlightLoop(XPLMFlightLoopID inFlightLoopID) {
    RECORD("XPLMDestroyFlightLoop", {Arg::Pointer(inFlightLoopID)});
    H().destroyFlightLoop(inFlightLoopID);
}

XPLM_API void XPLMScheduleFlightLoop(XPLMFlightLoopID inFlightLoopID, float inInterval,
                                     int inRelativeToNow) {
    RECORD("XPLMScheduleFlightLoop",
           {Arg::Pointer(inFlightLoopID), Arg::Float(inInterval), Arg::Int(inRelativeToNow)});
    H().scheduleFlightLoop(inFlightLoopID, inInterval, inRelativeToNow);
}

}  // extern "C"
