// Our own declarations of the SDK's flight loops (XPLMProcessing), terrain probes (XPLMScenery),
// camera (XPLMCamera), local and world coordinates (XPLMGraphics) and navaids (XPLMNavigation), as
// xplm_declarations.h holds the rest and includes this file after its own: the same rules, and the
// same check against the official headers, hold here.
#ifndef TROVIK_HOST_XPLM_WORLD_DECLARATIONS_H
#define TROVIK_HOST_XPLM_WORLD_DECLARATIONS_H

#ifdef __cplusplus
extern "C" {
#endif

// ---- XPLMProcessing ----
typedef int XPLMFlightLoopPhaseType;
TROVIK_OWN_BEGIN
enum { xplm_FlightLoop_Phase_BeforeFlightModel = 0, xplm_FlightLoop_Phase_AfterFlightModel = 1 };
TROVIK_OWN_END
typedef void* XPLMFlightLoopID;
// Returns when to be called next: 0 never (suspended), a negative number of frames, a positive
// number of seconds.
typedef float (*XPLMFlightLoop_f)(float inElapsedSinceLastCall,
                                  float inElapsedTimeSinceLastFlightLoop, int inCounter,
                                  void* inRefcon);
TROVIK_OWN_BEGIN
typedef struct {
    int structSize;
    XPLMFlightLoopPhaseType phase;
    XPLMFlightLoop_f callbackFunc;
    void* refcon;
} XPLMCreateFlightLoop_t;
TROVIK_OWN_END

// Seconds since the simulator started, as a float: not a good timer, the header warns.
XPLM_API XPLMFlightLoopID XPLMCreateFlightLoop(XPLMCreateFlightLoop_t* inParams);
XPLM_API void XPLMDestroyFlightLoop(XPLMFlightLoopID inFlightLoopID);
XPLM_API void XPLMScheduleFlightLoop(XPLMFlightLoopID inFlightLoopID, float inInterval,
                                     int inRelativeToNow);
// A counter of the simulator's cycles, one a frame.
XPLM_API int XPLMGetCycleNumber(void);

// ---- XPLMScenery ----
typedef int XPLMProbeType;
typedef int XPLMProbeResult;
TROVIK_OWN_BEGIN
enum { xplm_ProbeY = 0 };
enum { xplm_ProbeHitTerrain = 0, xplm_ProbeError = 1, xplm_ProbeMissed = 2 };

typedef struct {
    int structSize;  // set to sizeof before every call
    float locationX;
    float locationY;
    float locationZ;
    float normalX;
    float normalY;
    float normalZ;
    float velocityX;
    float velocityY;
    float velocityZ;
    int is_wet;
} XPLMProbeInfo_t;
TROVIK_OWN_END
typedef void* XPLMProbeRef;

XPLM_API XPLMProbeRef XPLMCreateProbe(XPLMProbeType inProbeType);
XPLM_API void XPLMDestroyProbe(XPLMProbeRef inProbe);
XPLM_API XPLMProbeResult XPLMProbeTerrainXYZ(XPLMProbeRef inProbe, float inX, float inY, float inZ,
                                             XPLMProbeInfo_t* outInfo);

// ---- XPLMCamera ----
typedef int XPLMCameraControlDuration;
TROVIK_OWN_BEGIN
enum { xplm_ControlCameraUntilViewChanges = 1, xplm_ControlCameraForever = 2 };

typedef struct {
    float x;
    float y;
    float z;
    float pitch;
    float heading;
    float roll;
    float zoom;
} XPLMCameraPosition_t;
TROVIK_OWN_END

typedef int (*XPLMCameraControl_f)(XPLMCameraPosition_t* outCameraPosition, int inIsLosingControl,
                                   void* inRefcon);

XPLM_API void XPLMControlCamera(XPLMCameraControlDuration inHowLong,
                                XPLMCameraControl_f inControlFunc, void* inRefcon);
XPLM_API void XPLMDontControlCamera(void);
XPLM_API int XPLMIsCameraBeingControlled(XPLMCameraControlDuration* outCameraControlDuration);

// ---- XPLMGraphics: coordinates ----
// Local coordinates are metres about a reference point the simulator moves as the aircraft
// travels; world ones are degrees and metres above sea level, and less precise.
XPLM_API void XPLMWorldToLocal(double inLatitude, double inLongitude, double inAltitude,
                               double* outX, double* outY, double* outZ);
XPLM_API void XPLMLocalToWorld(double inX, double inY, double inZ, double* outLatitude,
                               double* outLongitude, double* outAltitude);

// ---- XPLMNavigation ----
typedef int XPLMNavType;
typedef int XPLMNavRef;
TROVIK_OWN_BEGIN
enum { xplm_Nav_Airport = 1 };
TROVIK_OWN_END
#define XPLM_NAV_NOT_FOUND -1

XPLM_API XPLMNavRef XPLMFindNavAid(const char* inNameFragment, const char* inIDFragment,
                                   float* inLat, float* inLon, int* inFrequency,
                                   XPLMNavType inType);
XPLM_API void XPLMGetNavAidInfo(XPLMNavRef inRef, XPLMNavType* outType, float* outLatitude,
                                float* outLongitude, float* outHeight, int* outFrequency,
                                float* outHeading, char* outID, char* outName, char* outReg);

#ifdef __cplusplus
}
#endif

#endif  // TROVIK_HOST_XPLM_WORLD_DECLARATIONS_H
