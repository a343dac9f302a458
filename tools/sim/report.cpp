// trovik-sim's report: a line a step, the overlay as drawn, and the picture.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "demo.h"
#include "svg.h"

namespace trovik_sim {

namespace {

__attribute__((format(printf, 1, 2))) std::string Format(const char* format, ...) {
    char buf[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    return buf;
}

}  // namespace

std::string DescribeStep(int number, const StepResult& r, int width) {
    const State& a = r.before;
    const State& b = r.after;
    std::vector<std::string> changes;
    if (a.x != b.x || a.y != b.y || a.z != b.z) {
        const double moved = std::hypot(b.x - a.x, b.z - a.z);
        std::string c =
            Format("pos (%.3f, %.3f, %.3f) -> (%.3f, %.3f, %.3f)", a.x, a.y, a.z, b.x, b.y, b.z);
        if (moved > 0)
            c += Format(" moved %.3f m", moved);
        changes.push_back(c);
    }
    if (a.agl != b.agl)
        changes.push_back(Format("agl %.3f -> %.3f", double{a.agl}, double{b.agl}));
    if (a.psi != b.psi)
        changes.push_back(Format("hdg %.2f -> %.2f", double{a.psi}, double{b.psi}));
    if (a.theta != b.theta)
        changes.push_back(Format("pitch %.2f -> %.2f", double{a.theta}, double{b.theta}));
    if (a.phi != b.phi)
        changes.push_back(Format("roll %.2f -> %.2f", double{a.phi}, double{b.phi}));
    if (std::fabs(a.speed - b.speed) >= 0.05)
        changes.push_back(Format("speed %.1f -> %.1f m/s", a.speed, b.speed));
    if (a.joystick != b.joystick)
        changes.push_back(b.joystick ? "joystick slew on" : "joystick slew off");
    // Only where the user sees it, on the overlay, before and after.
    if (!a.factor.empty() && !b.factor.empty() && a.factor != b.factor)
        changes.push_back("speed factor " + a.factor + " -> " + b.factor);
    if (a.pathOverride != b.pathOverride) {
        changes.push_back(Format("slew mode %s (override %d -> %d)", b.pathOverride ? "on" : "off",
                                 a.pathOverride, b.pathOverride));
    }
    if (a.overlay != b.overlay)
        changes.push_back(b.overlay ? "overlay on" : "overlay off");
    if (b.camera &&
        (!a.camera || a.view.x != b.view.x || a.view.y != b.view.y || a.view.z != b.view.z)) {
        changes.push_back(Format("camera top-down from (%.1f, %.1f, %.1f)", double{b.view.x},
                                 double{b.view.y}, double{b.view.z}));
    }
    if (a.camera && !b.camera)
        changes.push_back("camera released");
    if (!r.note.empty())
        changes.push_back(r.note);
    if (changes.empty())
        changes.push_back("no change");

    // What became of the step's key events: the sniffer consumed them, or passed them on to the
    // simulator, where a hot key may have taken one.
    const char* verdict = r.events == 0            ? "-"
                          : r.consumed == r.events ? "consumed"
                          : r.hotKeys > 0          ? "hot key"
                          : r.consumed == 0        ? "passed on"
                                                   : "partly consumed";
    const std::string head =
        Format("%4d  %-*s %6d  %-15s ", number, width, r.step.word.c_str(), r.events, verdict);
    std::string line = head;
    for (size_t i = 0; i < changes.size(); ++i)
        line += (i > 0 ? ", " : "") + changes[i];
    return line;
}

namespace {

// Where the aircraft began, as the start line says it.
std::string Where(const StartPlace& place) {
    switch (place.kind) {
        case StartPlace::Kind::kAir:
            return Format("in the air, %.0f m up at %.0f kt", place.height, place.knots);
        case StartPlace::Kind::kWater:
            return "on the water of a lake";
        case StartPlace::Kind::kBridge:
            return "on the ground under a bridge deck";
        case StartPlace::Kind::kEdge:
            return Format("on the ground, %.0f m inside the edge of the loaded scenery",
                          kEdgeDistance);
        case StartPlace::Kind::kGround:
            break;
    }
    return "on the ground";
}

// The simulator's log as the plug-in wrote it, a line each.
void PrintLog(const std::vector<std::string>& lines, std::ostream& out) {
    for (std::string line : lines) {
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();
        out << "log: " << line << "\n";
    }
}

// The step lines' header and a line a step, the key column as wide as the widest key.
void PrintSteps(const RunResult& result, const Options& options, std::ostream& out) {
    const State& s = result.initial;
    out << "plug-in: " << options.xpl << " (\"" << result.pluginName << "\")\n";
    out << Format("start: LSZH, lat %.6f lon %.6f, ground %.1f m, heading %.1f true, %s\n",
                  s.latitude, s.longitude, result.start.groundElevation, double{s.psi},
                  Where(options.place).c_str());
    PrintLog(result.loadLog, out);
    int width = 14;
    for (const StepResult& r : result.steps)
        width = std::max(width, static_cast<int>(r.step.word.size()));
    out << Format("step  %-*s events  plug-in         changes\n", width, "key");
    for (size_t i = 0; i < result.steps.size(); ++i) {
        out << DescribeStep(static_cast<int>(i) + 1, result.steps[i], width) << "\n";
        PrintLog(result.steps[i].log, out);
    }
    if (result.screen.texts.empty()) {
        out << "overlay: never drawn (slew mode was not switched on)\n";
    } else {
        out << "overlay, as drawn after step " << result.screenStep << ":\n";
        for (const hostsim::Text& t : result.screen.texts)
            out << "  " << t.text << "\n";
    }
}

// The picture is written beside its target and then takes its place, so that the target holds
// the old file or the whole new one, never half of one: written over a file some process has
// mapped (the tool's own library, say) it leaves that process's copy whole.
std::string Temporary(const std::string& path) {
    return path + ".tmp";
}

bool WriteTemporary(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(Temporary(path).c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool wrote = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    errno = wrote ? errno : error;
    return wrote && closed;
}

// Whether the picture can go there: its temporary file can be made, and the target is no folder.
bool CanWrite(const std::string& path, std::string& reason) {
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        reason = std::strerror(EISDIR);
        return false;
    }
    const bool made = WriteTemporary(path, "");
    if (!made)
        reason = std::strerror(errno);
    std::remove(Temporary(path).c_str());
    return made;
}

bool WriteWhole(const std::string& path, const std::string& text, std::string& reason) {
    std::error_code renamed;
    if (WriteTemporary(path, text))
        std::filesystem::rename(Temporary(path), path, renamed);
    else
        renamed = std::error_code(errno, std::generic_category());
    if (!renamed)
        return true;
    reason = renamed.message();
    std::error_code ignored;
    std::filesystem::remove(Temporary(path), ignored);
    return false;
}

}  // namespace

int Run(const Options& options, std::ostream& out, std::ostream& err) {
    std::vector<KeyStep> steps;
    std::string error;
    if (!ParseKeyScript(options.script, steps, error)) {
        err << "trovik-sim: " << error << "\n";
        return 2;
    }
    // A picture that cannot be written is found before the run, not after it.
    if (!options.svgPath.empty() && !CanWrite(options.svgPath, error)) {
        err << "trovik-sim: cannot write " << Quote(options.svgPath) << ": " << error << "\n";
        return 1;
    }
    RunResult result;
    if (!Simulate(options, steps, result, error)) {
        // The loader's messages quote a path the user gave.
        err << "trovik-sim: " << Printable(error) << "\n";
        return 1;
    }
    PrintSteps(result, options, out);
    if (!options.svgPath.empty()) {
        if (!WriteWhole(options.svgPath, RenderSvg(result, options), error)) {
            err << "trovik-sim: cannot write " << Quote(options.svgPath) << ": " << error << "\n";
            return 1;
        }
        out << "picture: " << options.svgPath << "\n";
    }
    // Lines that never arrived (a full disk, a closed output) are a failure like any other.
    out.flush();
    if (!out) {
        err << "trovik-sim: cannot write the step lines: " << std::strerror(errno) << "\n";
        return 1;
    }
    return 0;
}

}  // namespace trovik_sim
