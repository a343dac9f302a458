// The top-down camera: straight down on the user's aircraft from above, north up.
#ifndef TROVIK_CAMERA_H
#define TROVIK_CAMERA_H

#include "host/xplm.h"

int MyOrbitPlaneFunc(XPLMCameraPosition_t* outCameraPosition, int inIsLosingControl,
                     void* inRefcon);

// Hands the camera to MyOrbitPlaneFunc until the user changes the view.
void TakeCamera();

// Gives the camera back if we still hold it: the simulator must never call into an unloaded or
// disabled plug-in.
void ReleaseCamera();

#endif  // TROVIK_CAMERA_H
