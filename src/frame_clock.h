// The flight loop that runs every frame of slew mode, and the clock it keeps: held commands and
// the stick move by the frame's time, so that their speeds do not depend on the frame rate.
#ifndef TROVIK_FRAME_CLOCK_H
#define TROVIK_FRAME_CLOCK_H

#include "host/xplm.h"

// The loop is handed over at start and created suspended; stop destroys it.
void CreateFrameLoop(XPLMFlightLoop_f callback);
void DestroyFrameLoop();

// Every frame while slew mode is on, suspended otherwise: out of slew mode nothing of ours runs
// per frame.
void RunEveryFrame(bool on);

// Each call of the loop gives the frame's duration: clamped to 0.1 s, and 0 for the first call
// after the loop was set running, whose time covers the pause. Returns it.
double RecordFrame(float elapsedSinceLastCall);
double FrameSeconds();

#endif  // TROVIK_FRAME_CLOCK_H
