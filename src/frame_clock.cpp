#include "frame_clock.h"

#include <math.h>

namespace {

XPLMFlightLoopID gFlightLoop = nullptr;
// Set when the loop is set running: its next call is told the whole pause since its last.
bool gResumed = false;
double gFrameSeconds = 0.0;

}  // namespace

void CreateFrameLoop(XPLMFlightLoop_f callback) {
    // After the flight model: a slew move then stands for the rest of the frame.
    XPLMCreateFlightLoop_t params = {static_cast<int>(sizeof params),
                                     xplm_FlightLoop_Phase_AfterFlightModel, callback, nullptr};
    gFlightLoop = XPLMCreateFlightLoop(&params);
}

void DestroyFrameLoop() {
    if (gFlightLoop == nullptr)
        return;
    XPLMDestroyFlightLoop(gFlightLoop);
    gFlightLoop = nullptr;
}

void RunEveryFrame(bool on) {
    constexpr float kEveryFrame = -1.0f;
    constexpr float kSuspended = 0.0f;
    constexpr int kRelativeToNow = 1;
    if (gFlightLoop == nullptr)
        return;
    if (on) {
        gResumed = true;
        gFrameSeconds = 0.0;
    }
    XPLMScheduleFlightLoop(gFlightLoop, on ? kEveryFrame : kSuspended, kRelativeToNow);
}

double RecordFrame(float elapsedSinceLastCall) {
    // A stutter or a long frame slows the aircraft instead of throwing it hundreds of metres.
    constexpr double kLongestFrame = 0.1;
    const double elapsed = static_cast<double>(elapsedSinceLastCall);
    const bool resumed = gResumed;
    gResumed = false;
    gFrameSeconds = resumed || !(elapsed > 0.0) ? 0.0 : fmin(elapsed, kLongestFrame);
    return gFrameSeconds;
}

double FrameSeconds() {
    return gFrameSeconds;
}
