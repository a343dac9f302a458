// trovik-sim's command line: its help, its options and the checks made before anything runs.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "demo.h"

namespace trovik_sim {

std::string Usage(const std::string& program, const std::string& buildFolder,
                  const std::string& defaultXpl) {
    const std::string smallest =
        std::to_string(kSmallestPictureWidth) + "x" + std::to_string(kSmallestPictureHeight);
    return "usage: trovik-sim [options] [KEY ...]\n"
           "\n"
           "Loads a slew plug-in into a headless stand-in for X-Plane, exactly as the simulator\n"
           "loads it, places an aircraft on the ground at Zurich airport (LSZH) and replays a key\n"
           "script through the plug-in. Prints one line a step and, at the end, the overlay text\n"
           "as the plug-in drew it.\n"
           "\n"
           "Keys (case does not matter):\n"
           "  Y, S, any letter    that key           0-9 or num0-num9   the numeric keypad\n"
           "  F1 ... F12          function keys      view               change the view (ends the\n"
           "                                                            top-down camera)\n"
           "  shift+KEY           with Shift held    KEYxN              N times (1 to 10000)\n"
           "  quick+KEY           a tap so quick that its press and release land in one frame\n"
           "  cmd:NAME            run the simulator command NAME once, as a key bound to it\n"
           "                      e.g. cmd:trovik/toggle\n"
           "  hold:NAME:N[@FPS]   hold the command NAME down for N frames, as a joystick button,\n"
           "                      at FPS frames a second (60 if not given)\n"
           "                      e.g. hold:trovik/forward_fast:30, hold:trovik/turn_right:60@30\n"
           "  menu:\"ITEM\"         pick the menu item named ITEM (as the menu shows it, case\n"
           "                      does not matter), e.g. menu:\"Top-down view\"\n"
           "  stick:P/R/H:N[@FPS] hold the stick at pitch P, roll R and rudder H (-1 to 1; pitch\n"
           "                      -1 is stick forward) for N frames at FPS frames a second (60\n"
           "                      if not given), then let go, e.g. stick:-1/0/0.5:90@30\n"
           "  replay:on, replay:off  a replay of the flight starts or ends: X-Plane places the\n"
           "                      aircraft itself meanwhile\n"
           "  vr:on, vr:off       X-Plane enters or leaves VR (the overlay moves to or from the\n"
           "                      headset)\n"
           "  origin:EAST/SOUTH   X-Plane moves its local origin by those metres, as it does\n"
           "                      while the aircraft travels, e.g. origin:20000/-35000\n"
           "  message:NAME        a message from the simulator: plane_loaded, plane_unloaded,\n"
           "                      airport_loaded, crashed or scenery_loaded\n"
           "  wait:N              N frames with nothing pressed: after slew mode, the flight\n"
           "                      model flies the aircraft from where it was left\n"
           "  # ...               a comment, to the end of the line (in script files)\n"
           "Every frame but a stick step's lasts 1/60 s. A key is tapped as a hand taps it:\n"
           "the press, a frame, the release, a frame; the plug-in sees both. With quick+ both\n"
           "land in one frame: where the terrain probe finds no ground (--terrain none), both\n"
           "read the simulator's height above ground of the frame before, as a very quick tap at\n"
           "a low frame rate does.\n"
           "\n"
           "Each step prints a line: its number; the key as written; the key events sent; what\n"
           "became of them (consumed: the plug-in's key sniffer took them; passed on: the\n"
           "simulator got them; hot key: passed on, then taken by the plug-in's hot key; -: the\n"
           "step sends no key); and what changed: the position, pos (x, y, z), in the\n"
           "simulator's local metres (x east, y up, z south, from the start point; y is the\n"
           "height above sea level); the height above ground, heading, pitch, roll, speed, slew\n"
           "mode, overlay, camera, joystick slew and speed factor.\n"
           "\n"
           "Options:\n"
           "  -f, --script FILE   read the keys from FILE, after any given on the command line;\n"
           "                      given more than once, the files are read in order\n"
           "                      e.g. trovik-sim -f tools/demo.keys\n"
           "  --xpl PATH          the plug-in to load (default: " +
           defaultXpl +
           ")\n"
           "                      e.g. trovik-sim --xpl " +
           defaultXpl +
           " Y 8 Y\n"
           "  --down-only         send only key-down events, no key-ups\n"
           "                      e.g. trovik-sim --down-only Y 8x10\n"
           "  --svg FILE          draw the screen as the plug-in drew it and the aircraft's\n"
           "                      track seen from above into an SVG picture\n"
           "                      e.g. trovik-sim --svg slew.svg Y shift+8x5 shift+3x9 S\n"
           "  --screen WxH        the simulator's screen size in pixels (default 1920x1080; with\n"
           "                      --svg, " +
           smallest +
           " at least)\n"
           "                      e.g. trovik-sim --screen 1366x768 Y\n"
           "  --prefs DIR         the simulator's preferences folder: the plug-in's settings are\n"
           "                      read from and written to DIR/Trovik.prf (default: a fresh\n"
           "                      temporary folder, so a run never touches your files)\n"
           "                      e.g. trovik-sim --prefs /tmp/prefs cmd:trovik/faster\n"
           "  --terrain SHAPE     the ground around the airport: flat (default, 432 m),\n"
           "                      slope:PERCENT@HEADING rising toward a true heading, or\n"
           "                      hill:HEIGHT@DISTANCE, its top DISTANCE m ahead on the runway\n"
           "                      e.g. trovik-sim --terrain slope:10@156 Y shift+8x20; or none:\n"
           "                      no scenery for the terrain probe to find (the simulator's\n"
           "                      height above ground still counts from 432 m)\n"
           "  --ui-scale PERCENT  X-Plane's UI scale: 100 (default), 150 or 200; the overlay is\n"
           "                      drawn in boxels, that many per cent of a pixel\n"
           "                      e.g. trovik-sim --ui-scale 200 --svg big.svg Y\n"
           "  --monitors N        X-Plane full screen on N monitors (1 to 4) side by side, each\n"
           "                      of the screen's size; the main one, which the picture shows,\n"
           "                      is the leftmost\n"
           "  --vr                start in VR (a headset on); vr:off and vr:on in the script take\n"
           "                      it off and put it on again\n"
           "  --start PLACE       where the aircraft begins: ground (default), standing at the\n"
           "                      airport; air:HEIGHT@KNOTS, flying level along the runway\n"
           "                      HEIGHT m above the ground at KNOTS true (it stalls below 50\n"
           "                      kt); water, floating on a lake 1.5 km across; bridge, under a\n"
           "                      deck 8 m up across the runway; edge, 60 m inside the edge of\n"
           "                      the loaded scenery\n"
           "                      e.g. trovik-sim --start air:300@100 Y F6x2 Y wait:60\n"
           "  --rest-height M     the aircraft's reference point stands M m above the ground on\n"
           "                      its wheels (default 0), as a real aircraft's does\n"
           "                      e.g. trovik-sim --rest-height 1.6 Y shift+8x20\n"
           "  -h, --help          this text\n"
           "Every option but -f is given once at most.\n"
           "\n"
           "Exit status: 0 when the script ran, 1 when it could not (the plug-in did not load, a\n"
           "step names a command or menu item that does not exist, the picture cannot be\n"
           "written), 2 for a bad command line or key script.\n"
           "\n"
           "Example, from the repository root:\n"
           "  " +
           program + " -f tools/demo.keys --svg " + buildFolder + "/demo.svg\n";
}

namespace {

// Whether two paths name the same file, existing or not.
bool SamePath(const std::string& a, const std::string& b) {
    std::error_code error;
    if (std::filesystem::equivalent(a, b, error))
        return true;
    const auto canonical = [](const std::string& p) {
        std::error_code ignored;
        return std::filesystem::weakly_canonical(std::filesystem::absolute(p, ignored), ignored);
    };
    return canonical(a) == canonical(b);
}

// What the run would read or write besides the picture: a picture over any of them is refused.
bool PictureOverAnInput(const Options& options, std::string& error) {
    for (const std::string& script : options.scripts) {
        if (SamePath(options.svgPath, script)) {
            error = "--svg " + Quote(options.svgPath) +
                    " is the key script given with -f: it would be overwritten";
            return true;
        }
    }
    if (SamePath(options.svgPath, options.xpl)) {
        error =
            "--svg " + Quote(options.svgPath) + " is the plug-in to load: it would be overwritten";
        return true;
    }
    if (!options.prefsFolder.empty() &&
        SamePath(options.svgPath, options.prefsFolder + "/" + paths::kSettingsFile)) {
        error = "--svg " + Quote(options.svgPath) +
                " is the plug-in's settings file in --prefs: it would be overwritten";
        return true;
    }
    return false;
}

}  // namespace

namespace {

bool ParseScreen(const std::string& text, int& width, int& height) {
    int w = 0;
    int h = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &extra) != 2)
        return false;
    if (w < 1 || h < 1 || w > 65536 || h > 65536)
        return false;
    width = w;
    height = h;
    return true;
}

bool ParseRestHeight(const std::string& text, double& metres) {
    char extra = 0;
    return std::sscanf(text.c_str(), "%lf%c", &metres, &extra) == 1 && metres >= 0.0 &&
           metres <= 20.0;
}

// An option: its names, whether it may be given more than once, and what its value does (null:
// a flag, which sets what `flag` points at).
struct OptionRow {
    const char* name;
    const char* alias;
    bool repeatable;
    bool Options::*flag;
    bool (*take)(const std::string& value, Options& options, std::string& error);
};

const OptionRow kOptions[] = {
    {"-h", "--help", false, &Options::help, nullptr},
    {"--down-only", nullptr, false, &Options::downOnly, nullptr},
    {"--vr", nullptr, false, &Options::vr, nullptr},
    {"--ui-scale", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string& error) {
         for (const auto& [text, scale] :
              {std::pair{"100", 1.0}, std::pair{"150", 1.5}, std::pair{"200", 2.0}}) {
             if (v == text || v == std::string(text) + "%") {
                 o.uiScale = scale;
                 return true;
             }
         }
         error = "bad UI scale " + Quote(v) + ": want 100, 150 or 200 (per cent)";
         return false;
     }},
    {"--monitors", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string& error) {
         if (v.size() == 1 && v[0] >= '1' && v[0] <= '4') {
             o.monitors = v[0] - '0';
             return true;
         }
         error = "bad monitor count " + Quote(v) + ": want 1 to 4";
         return false;
     }},
    {"--xpl", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string&) {
         o.xpl = v;
         return true;
     }},
    {"--svg", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string&) {
         o.svgPath = v;
         return true;
     }},
    {"-f", "--script", true, nullptr,
     [](const std::string& v, Options& o, std::string&) {
         o.scripts.push_back(v);
         return true;
     }},
    {"--prefs", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string&) {
         o.prefsFolder = v;
         return true;
     }},
    {"--terrain", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string& error) {
         if (ParseGround(v, o.ground))
             return true;
         error = "bad terrain " + Quote(v) +
                 ": want none, flat, slope:PERCENT@HEADING (-100 to 100 %, 0 to 360 degrees) or "
                 "hill:HEIGHT@DISTANCE (-1000 to 1000 m, 1 to 100000 m)";
         return false;
     }},
    {"--start", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string& error) {
         if (ParseStart(v, o.place))
             return true;
         error = "bad start " + Quote(v) +
                 ": want ground, air:HEIGHT@KNOTS (0 to 20000 m, 0 to 1000 kt), water, bridge or "
                 "edge";
         return false;
     }},
    {"--rest-height", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string& error) {
         if (ParseRestHeight(v, o.restHeight))
             return true;
         error = "bad rest height " + Quote(v) + ": want metres, 0 to 20";
         return false;
     }},
    {"--screen", nullptr, false, nullptr,
     [](const std::string& v, Options& o, std::string& error) {
         if (ParseScreen(v, o.screenWidth, o.screenHeight))
             return true;
         error = "bad screen size " + Quote(v) + ": want WIDTHxHEIGHT, 1 to 65536 each";
         return false;
     }},
};

const OptionRow* FindOption(const std::string& arg) {
    for (const OptionRow& row : kOptions) {
        if (arg == row.name || (row.alias != nullptr && arg == row.alias))
            return &row;
    }
    return nullptr;
}

// One word of the key script, as the shell handed it over.
void AddKeyWord(const std::string& word, std::string& keys) {
    const size_t colon = word.find(':');
    if (word.find_first_of(" \t") != std::string::npos && word.find('"') == std::string::npos &&
        colon != std::string::npos) {
        // The shell took the quotes off menu:"Top-down view": put them back.
        keys += word.substr(0, colon + 1) + "\"" + word.substr(colon + 1) + "\" ";
    } else {
        keys += word + " ";
    }
}

// The command line's options and keys, in order; false with `error` at the first bad one.
bool ParseWords(const std::vector<std::string>& args, Options& options, std::string& keys,
                std::string& error) {
    std::vector<std::string> given;  // the options that take one value, as seen
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const OptionRow* row = FindOption(a);
        if (row == nullptr && a.size() > 1 && a.rfind("--", 0) == 0) {
            error = "unknown option " + Quote(a) + " (see --help)";
            return false;
        }
        if (row == nullptr) {
            AddKeyWord(a, keys);
        } else if (row->flag != nullptr) {
            options.*(row->flag) = true;
        } else if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = a + " needs a value";
            return false;
        } else if (!row->repeatable && std::count(given.begin(), given.end(), a) != 0) {
            error = a + " given twice: each option but -f is given once at most";
            return false;
        } else {
            given.push_back(a);
            if (!row->take(args[++i], options, error))
                return false;
        }
    }
    return true;
}

// Whether the picture can be drawn where it is asked for, found before anything is read.
bool PictureAllowed(const Options& options, std::string& error) {
    if (options.svgPath.empty())
        return true;
    if (PictureOverAnInput(options, error))
        return false;
    if (options.screenWidth >= kSmallestPictureWidth &&
        options.screenHeight >= kSmallestPictureHeight) {
        return true;
    }
    error = "a screen of " + std::to_string(options.screenWidth) + "x" +
            std::to_string(options.screenHeight) + " is too small to draw: --svg needs " +
            std::to_string(kSmallestPictureWidth) + "x" + std::to_string(kSmallestPictureHeight) +
            " at least";
    return false;
}

// The -f scripts, after the command line's keys.
bool ReadScripts(const Options& options, std::string& keys, std::string& error) {
    for (const std::string& file : options.scripts) {
        std::error_code ignored;
        if (std::filesystem::is_directory(file, ignored)) {
            error = "cannot read key script " + Quote(file) + ": it is a directory";
            return false;
        }
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            error = "cannot read key script " + Quote(file) + ": " + std::strerror(errno);
            return false;
        }
        // A script is a page of keys: one linked to an endless device must not take all memory.
        constexpr size_t kLargestScript = 1024 * 1024;
        std::string text(kLargestScript + 1, '\0');
        in.read(&text[0], static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<size_t>(in.gcount()));
        if (text.size() > kLargestScript) {
            error = "cannot read key script " + Quote(file) + ": it is larger than 1 MiB";
            return false;
        }
        // Editors on Windows start a UTF-8 file with a byte-order mark.
        if (text.rfind("\xEF\xBB\xBF", 0) == 0)
            text.erase(0, 3);
        keys += "\n" + text;
    }
    return true;
}

}  // namespace

bool ParseArgs(const std::vector<std::string>& args, const std::string& defaultXpl,
               Options& options, std::string& error) {
    options = Options{};
    options.xpl = defaultXpl;
    if (args.empty()) {
        options.help = true;
        options.usageError = true;
        return true;
    }
    std::string keys;
    if (!ParseWords(args, options, keys, error))
        return false;
    if (options.help)
        return true;
    if (!PictureAllowed(options, error) || !ReadScripts(options, keys, error))
        return false;
    options.script = keys;
    return true;
}

}  // namespace trovik_sim
