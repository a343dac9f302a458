// The plug-in's one door to the host SDK: our own declarations by default, or the official SDK
// headers when built with -DXPLM_SDK_DIR.
#ifndef TROVIK_HOST_XPLM_H
#define TROVIK_HOST_XPLM_H

#if defined(TROVIK_USE_XPLM_SDK)
#include <XPLMCamera.h>
#include <XPLMDataAccess.h>
#include <XPLMDefs.h>
#include <XPLMDisplay.h>
#include <XPLMGraphics.h>
#include <XPLMMenus.h>
#include <XPLMNavigation.h>
#include <XPLMPlugin.h>
#include <XPLMProcessing.h>
#include <XPLMScenery.h>
#include <XPLMUtilities.h>
#if defined(_WIN32)
#define PLUGIN_EXPORT __declspec(dllexport)
#else
#define PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
#else
#include "host/xplm_declarations.h"
#endif

#endif  // TROVIK_HOST_XPLM_H
