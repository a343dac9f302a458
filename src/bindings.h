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
extern XPLMDataRef gFlightTime;        // float, seconds flown; still while paused
extern XPLMDataRef gPlanePrad;         // float, roll rate, radians a second
extern XPLMDataRef gPlaneQrad;         // float, pitch rate, radians a second
extern XPLMDataRef gPlaneRrad;         // float, yaw rate, radians a second
extern XPLMDataRef gPlaneAX;           // float, m/s² east
extern XPLMDataRef gPlaneAY;           // float, m/s² up
extern XPLMDataRef gPlaneAZ;           // float, m/s² south
extern XPLMDataRef gStickOverride;     // int, 1 while a plug-in owns all the yoke ratios
extern XPLMDataRef gPitchOverride;     // int, 1 while a plug-in owns the pitch ratio
extern XPLMDataRef gRollOverride;      // int, 1 while a plug-in owns the roll ratio
extern XPLMDataRef gHeadingOverride;   // int, 1 while a plug-in owns the heading ratio
extern XPLMDataRef gAxisValues;        // float[79], the hardware's processed axes; 1 pitch,
                                       // 2 roll, 3 yaw
extern XPLMDataRef gAxisAvailable;     // int[79], 1 where that axis has hardware
extern XPLMDataRef gStallSpeed;        // float, knots indicated, clean; 0 where not set
extern XPLMDataRef gAirDensity;        // float, kg/m³ at the aircraft
extern XPLMDataRef gVrEnabled;         // int, 1 while the simulator draws to a headset
extern XPLMDataRef gLatRef;            // float degrees: where local (0, 0, 0) is; it moves
extern XPLMDataRef gLonRef;

#endif  // TROVIK_BINDINGS_H
