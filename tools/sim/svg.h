// The demo's picture: the screen as the plug-in drew it, beside the aircraft's track from above.
#ifndef TROVIK_TOOLS_SVG_H
#define TROVIK_TOOLS_SVG_H

#include <string>

#include "demo.h"

namespace trovik_sim {

std::string RenderSvg(const RunResult& result, const Options& options);

// Text made safe for XML character data and attribute values.
std::string XmlEscape(const std::string& text);

}  // namespace trovik_sim

#endif  // TROVIK_TOOLS_SVG_H
