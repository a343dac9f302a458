// Dataref handles shared by the plug-in's files. Bound once by XPluginStart, in the order of the
// binding table in main.cpp, and kept unchanged (null included) until the library is unloaded.
#ifndef TROVIK_BINDINGS_H
#define TROVIK_BINDINGS_H

#include "host/xplm.h"

extern XPLMDataRef gPlaneOverride;     // int array; element 0 is the user's aircraft
extern XPLMDataRef gPlaneX;            // double, local OpenGL metres
extern XPLMDataRef gPlaneY;            // double
extern XPLMDataRef gPlaneZ;            // double
extern XPLMDataRef gPlaneY_AGL;        // float, metres above ground
extern XPLMDataRef gPlanePSI;          // float, true heading in degrees
extern XPLMDataRef gPlaneTHETA;        // float, pitch in degrees
extern XPLMDataRef gPlanePHI;          // float, roll in degrees
extern XPLMDataRef gPlaneLat;          // double, degrees
extern XPLMDataRef gPlaneLon;          // double, degrees
extern XPLMDataRef gPlaneAlt;          // double, metres above mean sea level
extern XPLMDataRef gPlaneMpsi;         // float, magnetic heading in degrees
extern XPLMDataRef gYokePitchRatio;    // float, -1 stick forward to 1 back
extern XPLMDataRef gYokeRollRatio;     // float, -1 stick left to 1 right
extern XPLMDataRef gYokeHeadingRatio;  // float, -1 left rudder to 1 right
extern XPLMDataRef gPlaneOnGround;     // int, 1 while any wheel touches the ground
extern XPLMDataRef gPlaneTireY;        // float[10], each wheel's height from the reference point
extern XPLMDataRef gPlaneQ;            // float[4], the flight model's attitude quaternion
extern XPLMDataRef gPlaneVX;           // float, m/s east
extern XPLMDataRef gPlaneVY;           // float, m/s up
extern XPLMDataRef gPlaneVZ;           // float, m/s south
extern XPLMDataRef gPlaneP;            // float, roll rate, degrees a second
extern XPLMDataRef gPlaneQRate;        // float, pitch rate, degrees a second
extern XPLMDataRef gPlaneR;            // float, yaw rate, degrees a second
extern XPLMDataRef gReplay;            // int, 1 while the simulator replays a flight

#endif  // TROVIK_BINDINGS_H
