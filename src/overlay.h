// The slew overlay: dark bands at the top and bottom of the main monitor with the position line
// and the mode label, or in VR one panel in the headset with both. A modern window, in boxels,
// so that it scales with the user's UI scale; it takes no clicks or keys.
#ifndef TROVIK_OVERLAY_H
#define TROVIK_OVERLAY_H

#include "host/xplm.h"

// At start: whether this simulator can put a window in the headset (XPLM 301 or newer).
void FindOverlayFunctions();

// The window opens with slew mode and closes with it; closing one that is not open does nothing.
// It opens in the headset if VR is on then.
void OpenOverlay();
void CloseOverlay();

// The simulator's word that it is about to enter (true) or leave VR: the window moves at once.
// Where VR windows are not available, nothing.
void OverlayInVR(bool entering);

// The wheels' height above the ground, in metres, as the overlay shows it: as last found (not
// finite: not known, and nothing is shown), then moved by every climb and descent since. The draw
// never probes.
void ShowWheelsHeight(double metres);
void ShowClimb(double metres);

void MyDrawWindowCallback(XPLMWindowID inWindowID, void* inRefcon);

#endif  // TROVIK_OVERLAY_H
