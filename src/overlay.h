// The slew overlay: dark bands at the top and bottom of the screen with the position line and
// the mode label, drawn whenever the simulator draws the overlay window.
#ifndef TROVIK_OVERLAY_H
#define TROVIK_OVERLAY_H

#include "host/xplm.h"

// The window opens with slew mode and closes with it; closing one that is not open does nothing.
void OpenOverlay();
void CloseOverlay();

void MyDrawWindowCallback(XPLMWindowID inWindowID, void* inRefcon);

#endif  // TROVIK_OVERLAY_H
