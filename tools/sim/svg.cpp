#include "svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace trovik_sim {

namespace {

// Numbers in the picture: enough digits to read positions back, no more.
std::string N(double v) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

std::string Colour(const float rgb[3]) {
    auto channel = [](float c) {
        const double clamped = std::min(1.0, std::max(0.0, static_cast<double>(c)));
        return std::to_string(static_cast<int>(std::lround(clamped * 255.0)));
    };
    return "rgb(" + channel(rgb[0]) + "," + channel(rgb[1]) + "," + channel(rgb[2]) + ")";
}

// A tick spacing of 1, 2 or 5 times a power of ten that gives about five ticks over `span`.
double TickStep(double span) {
    const double raw = span / 5.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * power >= raw)
            return m * power;
    }
    return 10.0 * power;
}

constexpr double kMargin = 20.0;
constexpr double kTitle = 28.0;
constexpr double kScreenPanel = 800.0;      // the screen is scaled to fit this width...
constexpr double kScreenMaxHeight = 600.0;  // ...and this height
constexpr double kPlot = 460.0;             // the track plot's square
constexpr double kAxis = 56.0;              // room for the tick labels
constexpr double kLegend = 16.0;            // the track's legend, below its axis
constexpr double kProfile = 140.0;          // the profile's plot, below the track's
constexpr double kProfileBlock = kTitle + kProfile + 40.0;
constexpr double kCaptionLine = 18.0;
constexpr double kCaptionCharWidth = 7.9;  // a 13 px monospace character
constexpr double kChar13 = 7.9;            // the widths of a monospace character at 13 and 14 px
constexpr double kChar14 = 8.5;

// The script as typed, wrapped to the picture's width; a long one ends in a count of the steps
// left out.
std::vector<std::string> Caption(const RunResult& result, double width) {
    constexpr size_t kMaxLines = 6;
    const size_t perLine = static_cast<size_t>((width - 2 * kMargin) / kCaptionCharWidth);
    std::vector<std::string> lines{"keys:"};
    for (size_t i = 0; i < result.steps.size(); ++i) {
        const std::string& word = result.steps[i].step.word;
        // The last line keeps room for the count.
        const size_t room = lines.size() == kMaxLines ? perLine - 20 : perLine;
        if (lines.back().size() + 1 + word.size() > room) {
            if (lines.size() == kMaxLines) {
                lines.back() += " ... and " + std::to_string(result.steps.size() - i) + " more";
                break;
            }
            lines.emplace_back("     ");
        }
        lines.back() += " " + word;
    }
    return lines;
}

// A dot at (x, y) with an arrowhead on it pointing along `heading` (radians, clockwise from up).
std::string Arrowhead(double x, double y, double heading) {
    const double ux = std::sin(heading);
    const double uy = -std::cos(heading);
    const double bx = x - 5 * ux;
    const double by = y - 5 * uy;
    return "<circle cx=\"" + N(x) + "\" cy=\"" + N(y) +
           "\" r=\"3\" fill=\"#1f4e79\"/><polygon points=\"" + N(x + 9 * ux) + "," + N(y + 9 * uy) +
           " " + N(bx + 4 * uy) + "," + N(by - 4 * ux) + " " + N(bx - 4 * uy) + "," +
           N(by + 4 * ux) +
           "\" fill=\"#1f4e79\" fill-opacity=\"0.8\" stroke=\"#fff\" stroke-width=\"0.6\"/>";
}

// The legend's baseline, under the track's axis.
double LegendY() {
    return kTitle + kPlot + kAxis + 4;
}

// Where everything goes: the screen scaled into the left column, the track and its profile to
// the right of it, the script below both.
struct Layout {
    double W, H;    // the screen, in its pixels
    double scale;   // of the screen into the picture
    double sw, sh;  // the screen, scaled
    std::string screenTitle;
    double column;  // the left column's width
    double plotLeft, width, content, height;
    std::vector<std::string> lines;  // the script as typed
};

Layout Lay(const RunResult& result, const Options& options) {
    Layout L;
    L.W = options.screenWidth;
    L.H = options.screenHeight;
    L.scale = std::min(kScreenPanel / L.W, kScreenMaxHeight / L.H);
    L.sw = L.W * L.scale;
    L.sh = L.H * L.scale;
    // The screen and the menu as they stood at one moment, which the title names.
    L.screenTitle =
        "Screen " + std::to_string(options.screenWidth) + "x" +
        std::to_string(options.screenHeight) +
        (result.screenStep > 0 ? " and menu, as after step " + std::to_string(result.screenStep)
                               : std::string(": nothing drawn; the menu after the last step")) +
        (result.screenCamera ? ", top-down camera" : "") +
        (options.uiScale != 1.0
             ? ", UI at " + std::to_string(static_cast<int>(options.uiScale * 100)) + " %"
             : std::string()) +
        (!result.screen.boxes.empty() && result.screen.boxes[0].vr ? ", the headset's panel in VR"
                                                                   : "");
    // The left L.column is as wide as the screen, or as its widest text where that is wider.
    size_t longest = 0;
    for (const hostsim::Text& t : result.screen.texts)
        longest = std::max(longest, t.text.size());
    for (const hostsim::MenuItem& item : result.menu)
        longest = std::max(longest, item.name.size() + 4);
    L.column =
        std::max({L.sw, static_cast<double>(L.screenTitle.size()) * kChar14,
                  static_cast<double>(longest) * kChar13 + 16, static_cast<double>(kChar13) * 28});
    L.plotLeft = kMargin + L.column + 2 * kMargin + kAxis;
    L.width = L.plotLeft + kPlot + kMargin;
    // Below the screen: its texts again, legibly, and then the plug-in's menu.
    const double menuHeight =
        result.menu.empty() ? 0.0 : 18.0 * static_cast<double>(result.menu.size() + 1) + 12;
    L.content = std::max(L.sh + 60 + menuHeight, kPlot + kAxis + kLegend + kProfileBlock);
    L.lines = Caption(result, L.width);
    L.height = kTitle + L.content + kMargin + 2 * kTitle +
               kCaptionLine * static_cast<double>(L.lines.size() - 1);
    return L;
}

std::string Head(const Layout& L) {
    std::string s;
    s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + N(L.width) +
         "\" height=\"" + N(L.height) + "\" viewBox=\"0 0 " + N(L.width) + " " + N(L.height) +
         "\" font-family=\"DejaVu Sans Mono, monospace\">\n";
    s += "<title>Trovik slew demo</title>\n";
    s += "<rect width=\"100%\" height=\"100%\" fill=\"#f4f4f0\"/>\n";
    return s;
}

// The screen as the plug-in drew it, in the simulator's pixels: y up from the bottom, so flipped
// here.
std::string ScreenPanel(const RunResult& result, const Options& options, const Layout& L) {
    const double W = L.W;
    const double H = L.H;
    const double scale = L.scale;
    const double sw = L.sw;
    std::string s;
    s += "<text x=\"" + N(kMargin) + "\" y=\"20\" font-size=\"14\">" + XmlEscape(L.screenTitle) +
         "</text>\n";
    s += "<g id=\"screen\" data-width=\"" + std::to_string(options.screenWidth) +
         "\" data-height=\"" + std::to_string(options.screenHeight) + "\" transform=\"translate(" +
         N(kMargin) + " " + N(kTitle) + ") scale(" + N(scale) + ")\">\n";
    // What the plug-in draws past the screen's edge, the simulator does not show either.
    s += "<defs><linearGradient id=\"sky\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
         "<stop offset=\"0\" stop-color=\"#3d6fa8\"/><stop offset=\"1\" stop-color=\"#b9d3ea\"/>"
         "</linearGradient><clipPath id=\"screen-edge\"><rect x=\"0\" y=\"0\" width=\"" +
         N(W) + "\" height=\"" + N(H) +
         "\"/></clipPath></defs>\n<g clip-path=\"url(#screen-edge)\">\n";
    s += "<rect class=\"sky\" x=\"0\" y=\"0\" width=\"" + N(W) + "\" height=\"" + N(H * 0.55) +
         "\" fill=\"url(#sky)\"/>\n";
    s += "<rect class=\"ground\" x=\"0\" y=\"" + N(H * 0.55) + "\" width=\"" + N(W) +
         "\" height=\"" + N(H * 0.45) + "\" fill=\"#6d8452\"/>\n";
    // The plug-in draws in boxels on the global desktop: on the screen, from the main monitor's
    // lower left, a boxel `uiScale` pixels; the headset's panel, in the middle of the picture.
    const std::vector<hostsim::Box> monitors = Monitors(options);
    const hostsim::Box main = monitors.empty() ? hostsim::Box{0, 0, 0, 0} : monitors[0];
    hostsim::Box panel{0, 0, 0, 0};
    for (const hostsim::Box& b : result.screen.boxes) {
        if (b.vr)
            panel = b;
    }
    const auto X = [&](double x, bool vr) {
        return vr ? x - panel.left + (W - (panel.right - panel.left)) / 2
                  : (x - main.left) * options.uiScale;
    };
    const auto Y = [&](double y, bool vr) {
        return vr ? (H + (panel.top - panel.bottom)) / 2 - (y - panel.bottom)
                  : H - (y - main.bottom) * options.uiScale;
    };
    for (const hostsim::Box& b : result.screen.boxes) {
        const double top = std::max(b.top, b.bottom);
        const double bottom = std::min(b.top, b.bottom);
        const double left = std::min(b.left, b.right);
        const double right = std::max(b.left, b.right);
        s += "<rect class=\"band\" data-left=\"" + std::to_string(b.left) + "\" data-top=\"" +
             std::to_string(b.top) + "\" data-right=\"" + std::to_string(b.right) +
             "\" data-bottom=\"" + std::to_string(b.bottom) + "\" x=\"" + N(X(left, b.vr)) +
             "\" y=\"" + N(Y(top, b.vr)) + "\" width=\"" + N(X(right, b.vr) - X(left, b.vr)) +
             "\" height=\"" + N(Y(bottom, b.vr) - Y(top, b.vr)) +
             "\" fill=\"#000\" fill-opacity=\"0.25\"/>\n";
    }
    for (const hostsim::Text& t : result.screen.texts) {
        // The simulator draws from the baseline; its basic font is about 12 boxels high.
        s += "<text class=\"drawn\" xml:space=\"preserve\" data-x=\"" + std::to_string(t.x) +
             "\" data-y=\"" + std::to_string(t.y) + "\" x=\"" + N(X(t.x, t.vr)) + "\" y=\"" +
             N(Y(t.y, t.vr)) + "\" font-size=\"" + N(14.0 * (t.vr ? 1.0 : options.uiScale)) +
             "\" fill=\"" + Colour(t.rgb) + "\">" + XmlEscape(t.text) + "</text>\n";
    }
    if (result.screenCamera) {
        // The view the plug-in holds looks straight down on the aircraft: it is at the centre.
        const double r = std::min(W, H) / 20;
        s += "<g class=\"camera\" stroke=\"#ffd500\" stroke-width=\"" + N(2.0 / scale) +
             "\" fill=\"none\"><circle cx=\"" + N(W / 2) + "\" cy=\"" + N(H / 2) + "\" r=\"" +
             N(r) + "\"/><line x1=\"" + N(W / 2 - 2 * r) + "\" y1=\"" + N(H / 2) + "\" x2=\"" +
             N(W / 2 + 2 * r) + "\" y2=\"" + N(H / 2) + "\"/><line x1=\"" + N(W / 2) + "\" y1=\"" +
             N(H / 2 - 2 * r) + "\" x2=\"" + N(W / 2) + "\" y2=\"" + N(H / 2 + 2 * r) +
             "\"/></g>\n";
        // Small enough to fit a narrow screen's width.
        const char note[] = "top-down camera (the plug-in holds the view)";
        const double size = std::min(14.0, sw / (static_cast<double>(sizeof note) * 0.62));
        s += "<text class=\"camera\" x=\"" + N(W / 2) + "\" y=\"" + N(H / 2 + 3 * r) +
             "\" font-size=\"" + N(size / scale) + "\" text-anchor=\"middle\" fill=\"#ffd500\">" +
             note + "</text>\n";
    }
    s += "</g>\n";  // the screen's edge
    s += "<rect x=\"0\" y=\"0\" width=\"" + N(W) + "\" height=\"" + N(H) +
         "\" fill=\"none\" stroke=\"#222\" stroke-width=\"" + N(1.0 / scale) + "\"/>\n";
    s += "</g>\n";
    return s;
}

// Below the screen: its texts again, legibly, and the plug-in's menu at the same moment.
std::string BelowScreen(const RunResult& result, const Layout& L) {
    const double sh = L.sh;
    const double column = L.column;
    std::string s;
    // The simulator's font is small on a scaled-down screen: repeat the texts legibly below it.
    double readableY = kTitle + sh + 22;
    if (!result.screen.texts.empty()) {
        s += "<rect x=\"" + N(kMargin) + "\" y=\"" + N(kTitle + sh + 6) + "\" width=\"" +
             N(column) + "\" height=\"" +
             N(18.0 * static_cast<double>(result.screen.texts.size()) + 6) +
             "\" fill=\"#1e1e1e\"/>\n";
    }
    for (const hostsim::Text& t : result.screen.texts) {
        s += "<text class=\"legible\" xml:space=\"preserve\" x=\"" + N(kMargin + 8) + "\" y=\"" +
             N(readableY) + "\" font-size=\"13\" fill=\"" + Colour(t.rgb) + "\">" +
             XmlEscape(t.text) + "</text>\n";
        readableY += 18;
    }
    // The menu as the user finds it at the same moment: a lit mark for a checked item, an unlit
    // one for an unchecked item, greyed text for a disabled one.
    if (!result.menu.empty()) {
        double y = readableY + 12;
        s += "<g id=\"menu\" data-title=\"" + XmlEscape(result.menuTitle) + "\">\n";
        s += "<text x=\"" + N(kMargin) + "\" y=\"" + N(y) +
             "\" font-size=\"13\">Plugins menu &#9656; " + XmlEscape(result.menuTitle) +
             "</text>\n";
        for (const hostsim::MenuItem& item : result.menu) {
            y += 18;
            if (item.separator) {
                s += "<line class=\"menu-separator\" x1=\"" + N(kMargin + 16) + "\" y1=\"" +
                     N(y - 5) + "\" x2=\"" + N(kMargin + column - 16) + "\" y2=\"" + N(y - 5) +
                     "\" stroke=\"#999\"/>\n";
                continue;
            }
            const char* mark = item.check == xplm_Menu_Checked     ? "&#9745; "
                               : item.check == xplm_Menu_Unchecked ? "&#9744; "
                                                                   : "";
            s += "<text class=\"menu-item\" data-check=\"" + std::to_string(item.check) +
                 "\" data-enabled=\"" + (item.enabled ? "1" : "0") + "\" x=\"" + N(kMargin + 16) +
                 "\" y=\"" + N(y) + "\" font-size=\"13\" fill=\"" +
                 (item.enabled ? "#111" : "#999") + "\">" + mark + XmlEscape(item.name) +
                 "</text>\n";
        }
        s += "</g>\n";
    }
    return s;
}

// The track from above: east to the right, north up, in metres.
std::string TrackPanel(const RunResult& result, const Layout& L) {
    const double plotLeft = L.plotLeft;
    std::string s;
    std::vector<State> points{result.initial};
    for (const StepResult& r : result.steps)
        points.push_back(r.after);
    // The track goes through every frame, so that a stick's curve shows as one.
    std::vector<std::pair<double, double>> track{{result.initial.x, result.initial.z}};
    for (const StepResult& r : result.steps) {
        for (const TrackPoint& p : r.path)
            track.emplace_back(p.x, p.z);
        track.emplace_back(r.after.x, r.after.z);
    }
    double minE = track[0].first, maxE = track[0].first;
    double minN = -track[0].second, maxN = -track[0].second;
    for (const auto& [x, z] : track) {
        minE = std::min(minE, x);
        maxE = std::max(maxE, x);
        minN = std::min(minN, -z);
        maxN = std::max(maxN, -z);
    }
    const double span = std::max({maxE - minE, maxN - minN, 10.0}) * 1.15;
    const double midE = (minE + maxE) / 2;
    const double midN = (minN + maxN) / 2;
    const double e0 = midE - span / 2;
    const double n0 = midN - span / 2;
    const double k = kPlot / span;
    const double top = kTitle;
    auto px = [&](double east) { return plotLeft + (east - e0) * k; };
    auto py = [&](double north) { return top + kPlot - (north - n0) * k; };

    s += "<text x=\"" + N(plotLeft - kAxis) + "\" y=\"20\" font-size=\"14\">Track from above, " +
         "north up (local metres)</text>\n";
    s += "<g id=\"track\" data-east-min=\"" + N(e0) + "\" data-north-min=\"" + N(n0) +
         "\" data-span=\"" + N(span) + "\">\n";
    s += "<rect x=\"" + N(plotLeft) + "\" y=\"" + N(top) + "\" width=\"" + N(kPlot) +
         "\" height=\"" + N(kPlot) + "\" fill=\"#fff\" stroke=\"#222\"/>\n";
    const double tick = TickStep(span);
    // A tick at the origin can come out of the arithmetic as -0 or a hair off it.
    auto label = [tick](double v) { return N(std::fabs(v) < tick * 1e-9 ? 0.0 : v); };
    for (double v = std::ceil(e0 / tick) * tick; v <= e0 + span; v += tick) {
        s += "<line class=\"grid\" x1=\"" + N(px(v)) + "\" y1=\"" + N(top) + "\" x2=\"" + N(px(v)) +
             "\" y2=\"" + N(top + kPlot) + "\" stroke=\"#ddd\"/>\n";
        s += "<text class=\"tick\" x=\"" + N(px(v)) + "\" y=\"" + N(top + kPlot + 16) +
             "\" font-size=\"11\" text-anchor=\"middle\">" + label(v) + "</text>\n";
    }
    for (double v = std::ceil(n0 / tick) * tick; v <= n0 + span; v += tick) {
        s += "<line class=\"grid\" x1=\"" + N(plotLeft) + "\" y1=\"" + N(py(v)) + "\" x2=\"" +
             N(plotLeft + kPlot) + "\" y2=\"" + N(py(v)) + "\" stroke=\"#ddd\"/>\n";
        s += "<text class=\"tick\" x=\"" + N(plotLeft - 6) + "\" y=\"" + N(py(v) + 4) +
             "\" font-size=\"11\" text-anchor=\"end\">" + label(v) + "</text>\n";
    }
    s += "<text x=\"" + N(plotLeft + kPlot / 2) + "\" y=\"" + N(top + kPlot + 36) +
         "\" font-size=\"12\" text-anchor=\"middle\">east (m)</text>\n";
    s += "<text font-size=\"12\" text-anchor=\"middle\" transform=\"translate(" +
         N(plotLeft - kAxis + 8) + " " + N(top + kPlot / 2) + ") rotate(-90)\">north (m)</text>\n";
    s += "<text x=\"" + N(plotLeft + kPlot - 8) + "\" y=\"" + N(top + 18) +
         "\" font-size=\"14\" text-anchor=\"end\">N &#8593;</text>\n";

    std::string line;
    for (const auto& [x, z] : track)
        line += N(px(x)) + "," + N(py(-z)) + " ";
    s += "<polyline class=\"track\" points=\"" + line +
         "\" fill=\"none\" stroke=\"#c0392b\" stroke-width=\"2\"/>\n";
    // After each step a dot, and an arrowhead on it pointing the way the aircraft faces: a
    // symbol of its own, which no track runs along.
    for (size_t i = 0; i < points.size(); ++i) {
        const State& p = points[i];
        const double heading = static_cast<double>(p.psi) * 3.14159265358979323846 / 180.0;
        s += "<g class=\"step\" data-step=\"" + std::to_string(i) + "\" data-x=\"" + N(p.x) +
             "\" data-z=\"" + N(p.z) + "\" data-heading=\"" + N(p.psi) + "\">";
        s += Arrowhead(px(p.x), py(-p.z), heading) + "</g>\n";
    }
    // Each step's number beside its dot; steps that end where the one before ended share one.
    for (size_t first = 1; first < points.size();) {
        size_t last = first;
        const double x = px(points[first].x);
        const double y = py(-points[first].z);
        while (last + 1 < points.size() && std::fabs(px(points[last + 1].x) - x) < 2 &&
               std::fabs(py(-points[last + 1].z) - y) < 2) {
            ++last;
        }
        s += "<text class=\"step-number\" x=\"" + N(x + 8) + "\" y=\"" + N(y - 6) +
             "\" font-size=\"10\" fill=\"#1f4e79\">" + std::to_string(first) +
             (last > first ? "&#8211;" + std::to_string(last) : std::string()) + "</text>\n";
        first = last + 1;
    }
    // Where slew mode began (back to start goes there) and each place saved, as a square
    // labelled "slew on" or "P1".
    for (size_t i = 1; i < points.size(); ++i) {
        const StepResult& r = result.steps[i - 1];
        const std::string& target = r.step.target;
        const size_t at = target.rfind("save_place_");
        std::string mark;
        if (r.before.pathOverride == 0 && r.after.pathOverride != 0)
            mark = "slew on";
        else if (at != std::string::npos && at + 12 == target.size())
            mark = "P" + target.substr(at + 11);
        else if (target.rfind("Save place ", 0) == 0 && target.size() == 12)
            mark = "P" + target.substr(11);
        if (mark.empty())
            continue;
        const State& p = mark == "slew on" ? r.before : r.after;
        s += "<g class=\"mark\" data-mark=\"" + mark + "\"><rect x=\"" + N(px(p.x) - 4) +
             "\" y=\"" + N(py(-p.z) - 4) + "\" width=\"8\" height=\"8\" fill=\"none\" " +
             "stroke=\"#8e44ad\" stroke-width=\"1.5\"/><text x=\"" + N(px(p.x) - 8) + "\" y=\"" +
             N(py(-p.z) + 14) + "\" font-size=\"10\" fill=\"#8e44ad\" text-anchor=\"end\">" + mark +
             "</text></g>\n";
    }
    // Last, so that the steps that leave the aircraft where it started do not hide it.
    s += "<circle class=\"start\" cx=\"" + N(px(points[0].x)) + "\" cy=\"" + N(py(-points[0].z)) +
         "\" r=\"3.5\" fill=\"#27ae60\"/>\n";
    s += "</g>\n";
    return s;
}

// The track's legend, below its axis, where it covers nothing of the track.
std::string Legend(const Layout& L) {
    const double plotLeft = L.plotLeft;
    const double legendY = LegendY();
    std::string s;
    s += "<g id=\"legend\" font-size=\"11\">";
    s += "<circle cx=\"" + N(plotLeft + 4) + "\" cy=\"" + N(legendY - 4) +
         "\" r=\"3\" fill=\"#27ae60\"/><text x=\"" + N(plotLeft + 12) + "\" y=\"" + N(legendY) +
         "\">start</text>";
    s += "<circle cx=\"" + N(plotLeft + 64) + "\" cy=\"" + N(legendY - 4) +
         "\" r=\"3\" fill=\"#1f4e79\"/><text x=\"" + N(plotLeft + 72) + "\" y=\"" + N(legendY) +
         "\">after a step</text>";
    s += Arrowhead(plotLeft + 178, legendY - 4, 3.14159265358979323846 / 2) + "<text x=\"" +
         N(plotLeft + 190) + "\" y=\"" + N(legendY) + "\">heading there</text>";
    s += "<line x1=\"" + N(plotLeft + 300) + "\" y1=\"" + N(legendY - 4) + "\" x2=\"" +
         N(plotLeft + 318) + "\" y2=\"" + N(legendY - 4) +
         "\" stroke=\"#c0392b\" stroke-width=\"2\"/><text x=\"" + N(plotLeft + 324) + "\" y=\"" +
         N(legendY) + "\">track</text>";
    s += "</g>\n";
    return s;
}

// The profile along the track: the ground under the aircraft and its wheels.
std::string ProfilePanel(const RunResult& result, const Options& options, const Layout& L) {
    const double plotLeft = L.plotLeft;
    const double legendY = LegendY();
    std::string s;
    std::vector<TrackPoint> profile{
        {result.initial.x, result.initial.y, result.initial.z, result.initialGround}};
    for (const StepResult& r : result.steps)
        profile.insert(profile.end(), r.path.begin(), r.path.end());
    std::vector<double> along{0.0};
    double lowest = profile[0].ground;
    double highest = lowest;
    for (size_t i = 1; i < profile.size(); ++i) {
        along.push_back(along.back() + std::hypot(profile[i].x - profile[i - 1].x,
                                                  profile[i].z - profile[i - 1].z));
    }
    for (const TrackPoint& p : profile) {
        lowest = std::min({lowest, p.ground, p.y - options.restHeight});
        highest = std::max({highest, p.ground, p.y - options.restHeight});
    }
    const double length = std::max(along.back(), 10.0);
    const double rise = std::max(highest - lowest, 10.0) * 1.1;
    const double base = (lowest + highest) / 2 - rise / 2;
    const double profileTop = legendY + 12 + kTitle;
    auto qx = [&](double d) { return plotLeft + d / length * kPlot; };
    auto qy = [&](double h) { return profileTop + kProfile - (h - base) / rise * kProfile; };
    s += "<text x=\"" + N(plotLeft - kAxis) + "\" y=\"" + N(profileTop - 10) +
         "\" font-size=\"14\">Profile along the track (metres above sea level)</text>\n";
    s += "<g id=\"profile\" data-length=\"" + N(along.back()) + "\">\n";
    s += "<rect x=\"" + N(plotLeft) + "\" y=\"" + N(profileTop) + "\" width=\"" + N(kPlot) +
         "\" height=\"" + N(kProfile) + "\" fill=\"#fff\" stroke=\"#222\"/>\n";
    const double step = TickStep(rise);
    for (double h = std::ceil(base / step) * step; h <= base + rise; h += step) {
        s += "<text class=\"height\" x=\"" + N(plotLeft - 6) + "\" y=\"" + N(qy(h) + 4) +
             "\" font-size=\"11\" text-anchor=\"end\">" + N(h) + "</text>\n";
    }
    s += "<text x=\"" + N(plotLeft + kPlot / 2) + "\" y=\"" + N(profileTop + kProfile + 16) +
         "\" font-size=\"12\" text-anchor=\"middle\">along the track: " + N(along.back()) +
         " m</text>\n";
    std::string groundLine;
    std::string wheelsLine;
    for (size_t i = 0; i < profile.size(); ++i) {
        groundLine += N(qx(along[i])) + "," + N(qy(profile[i].ground)) + " ";
        wheelsLine += N(qx(along[i])) + "," + N(qy(profile[i].y - options.restHeight)) + " ";
    }
    s += "<polyline class=\"ground\" points=\"" + groundLine +
         "\" fill=\"none\" stroke=\"#8a6d3b\" stroke-width=\"3\"/>\n";
    s += "<polyline class=\"wheels\" points=\"" + wheelsLine +
         "\" fill=\"none\" stroke=\"#1f4e79\" stroke-width=\"1.5\"/>\n";
    s += "<text x=\"" + N(plotLeft + 8) + "\" y=\"" + N(profileTop + 16) +
         "\" font-size=\"11\" fill=\"#8a6d3b\">ground</text><text x=\"" + N(plotLeft + 60) +
         "\" y=\"" + N(profileTop + 16) + "\" font-size=\"11\" fill=\"#1f4e79\">wheels</text>\n";
    s += "</g>\n";
    return s;
}

// What was typed.
std::string Script(const Layout& L) {
    std::string s;
    double captionY = kTitle + L.content + kMargin + 8;
    for (const std::string& text : L.lines) {
        s += "<text class=\"script\" x=\"" + N(kMargin) + "\" y=\"" + N(captionY) +
             "\" font-size=\"13\" xml:space=\"preserve\">" + XmlEscape(text) + "</text>\n";
        captionY += kCaptionLine;
    }
    return s;
}

}  // namespace

std::string XmlEscape(const std::string& text) {
    std::string out;
    for (char ch : text) {
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                // Control characters are not allowed in XML 1.0.
                if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t')
                    out += ch;
        }
    }
    return out;
}

std::string RenderSvg(const RunResult& result, const Options& options) {
    const Layout L = Lay(result, options);
    return Head(L) + ScreenPanel(result, options, L) + BelowScreen(result, L) +
           TrackPanel(result, L) + Legend(L) + ProfilePanel(result, options, L) + Script(L) +
           "</svg>\n";
}

}  // namespace trovik_sim
