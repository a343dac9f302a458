#include "keyscript.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "host/xplm.h"

namespace trovik_sim {

namespace {

std::string Lower(std::string s) {
    for (char& ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

bool AllDigits(const std::string& s) {
    if (s.empty())
        return false;
    for (char ch : s) {
        if (!std::isdigit(static_cast<unsigned char>(ch)))
            return false;
    }
    return true;
}

// The key itself, without modifier or repeat.
bool ParseKey(const std::string& key, KeyStep& step) {
    const std::string k = Lower(key);
    if (k == "view") {
        step.name = "view";
        step.kind = StepKind::kView;
        step.virtualKey = -1;
        return true;
    }
    if (k.size() == 1 && std::isalpha(static_cast<unsigned char>(k[0]))) {
        // Letters share their codes with ASCII capitals: 0x41 'A' .. 0x5A 'Z'.
        step.virtualKey = std::toupper(static_cast<unsigned char>(k[0]));
        step.name = std::string(1, static_cast<char>(step.virtualKey));
        step.character =
            (step.modifiers & xplm_ShiftFlag) != 0 ? static_cast<char>(step.virtualKey) : k[0];
        return true;
    }
    std::string digit;
    if (k.size() == 1 && std::isdigit(static_cast<unsigned char>(k[0])))
        digit = k;
    if (k.size() == 4 && k.rfind("num", 0) == 0 && std::isdigit(static_cast<unsigned char>(k[3]))) {
        digit = k.substr(3);
    }
    if (!digit.empty()) {
        step.virtualKey = XPLM_VK_NUMPAD0 + (digit[0] - '0');
        step.name = "numpad " + digit;
        step.character = digit[0];
        return true;
    }
    if (k.size() >= 2 && k[0] == 'f' && AllDigits(k.substr(1)) && k.size() <= 3) {
        const int n = std::stoi(k.substr(1));
        if (n >= 1 && n <= 12 && k[1] != '0') {
            step.virtualKey = XPLM_VK_F1 + n - 1;
            step.name = "F" + std::to_string(n);
            return true;
        }
    }
    return false;
}

// PITCH/ROLL/RUDDER:N[@FPS], each ratio -1 to 1.
bool ParseStick(const std::string& words, KeyStep& step) {
    const char* text = words.c_str();
    int used = 0;
    if (std::sscanf(text, "%f/%f/%f:%d%n", &step.stick[0], &step.stick[1], &step.stick[2],
                    &step.repeat, &used) != 4) {
        return false;
    }
    text += used;
    if (*text == '@') {
        if (std::sscanf(text + 1, "%d%n", &step.framesPerSecond, &used) != 1)
            return false;
        text += 1 + used;
    }
    for (float ratio : step.stick) {
        if (!(ratio >= -1.0f && ratio <= 1.0f))
            return false;
    }
    return *text == '\0' && step.repeat >= 1 && step.repeat <= kMaxRepeat &&
           step.framesPerSecond >= 1 && step.framesPerSecond <= kMaxFramesPerSecond;
}

}  // namespace

int MessageNumber(const std::string& name) {
    const struct {
        const char* name;
        int number;
    } messages[] = {{"crashed", XPLM_MSG_PLANE_CRASHED},
                    {"plane_loaded", XPLM_MSG_PLANE_LOADED},
                    {"airport_loaded", XPLM_MSG_AIRPORT_LOADED},
                    {"scenery_loaded", 104},
                    {"plane_unloaded", XPLM_MSG_PLANE_UNLOADED}};
    for (const auto& m : messages) {
        if (Lower(name) == m.name)
            return m.number;
    }
    return 0;
}

// cmd:NAME, hold:NAME:N, menu:ITEM or menu:"ITEM", stick:..., message:NAME, wait:N, replay:on|off,
// vr:on|off;
// false if the word is none of them.
bool ParseCommandWord(const std::string& word, KeyStep& step, std::string& error) {
    const size_t colon = word.find(':');
    if (colon == std::string::npos)
        return false;
    const std::string verb = Lower(word.substr(0, colon));
    std::string target = word.substr(colon + 1);
    if (verb == "cmd") {
        step.kind = StepKind::kCommand;
    } else if (verb == "hold") {
        step.kind = StepKind::kHold;
        const size_t last = target.rfind(':');
        std::string frames = last == std::string::npos ? "" : target.substr(last + 1);
        const size_t at = frames.find('@');
        const std::string rate = at == std::string::npos ? "" : frames.substr(at + 1);
        frames = frames.substr(0, at);
        const auto number = [](const std::string& s, int most) {
            return AllDigits(s) && s.size() <= 5 && std::stoi(s) >= 1 && std::stoi(s) <= most;
        };
        if (!number(frames, kMaxRepeat) ||
            (at != std::string::npos && !number(rate, kMaxFramesPerSecond))) {
            error = Quote(word) + ": hold:NAME:N[@FPS] wants a number of frames, 1 to " +
                    std::to_string(kMaxRepeat) + ", at 1 to " +
                    std::to_string(kMaxFramesPerSecond) + " frames a second";
            return true;
        }
        step.repeat = std::stoi(frames);
        if (!rate.empty())
            step.framesPerSecond = std::stoi(rate);
        target = target.substr(0, last);
    } else if (verb == "menu") {
        step.kind = StepKind::kMenu;
        if (target.size() >= 2 && target.front() == '"' && target.back() == '"')
            target = target.substr(1, target.size() - 2);
    } else if (verb == "message") {
        step.kind = StepKind::kMessage;
        step.virtualKey = -1;
        step.message = MessageNumber(target);
        step.name = "message " + Lower(target);
        if (step.message == 0) {
            error = Quote(word) +
                    ": message:NAME wants plane_loaded, plane_unloaded, airport_loaded, crashed "
                    "or scenery_loaded";
        }
        return true;
    } else if (verb == "replay" || verb == "vr") {
        const bool replay = verb == "replay";
        step.kind = replay ? StepKind::kReplay : StepKind::kVR;
        step.virtualKey = -1;
        step.name = verb + " " + Lower(target);
        step.on = Lower(target) == "on";
        if (!step.on && Lower(target) != "off") {
            error = Quote(word) + (replay ? ": replay:on starts a replay, replay:off ends it"
                                          : ": vr:on enters VR, vr:off leaves it");
        }
        return true;
    } else if (verb == "origin") {
        step.kind = StepKind::kOrigin;
        step.virtualKey = -1;
        step.name = "origin " + target;
        char extra = 0;
        if (std::sscanf(target.c_str(), "%lf/%lf%c", &step.origin[0], &step.origin[1], &extra) !=
                2 ||
            !(std::fabs(step.origin[0]) <= 100000.0) || !(std::fabs(step.origin[1]) <= 100000.0)) {
            error = Quote(word) + ": origin:EAST/SOUTH wants two moves of -100000 to 100000 m";
        }
        return true;
    } else if (verb == "wait") {
        step.kind = StepKind::kWait;
        step.virtualKey = -1;
        step.name = "wait " + target;
        if (!AllDigits(target) || target.size() > 5 || std::stoi(target) < 1 ||
            std::stoi(target) > kMaxRepeat) {
            error = Quote(word) + ": wait:N wants a number of frames, 1 to " +
                    std::to_string(kMaxRepeat);
            return true;
        }
        step.repeat = std::stoi(target);
        return true;
    } else if (verb == "stick") {
        step.kind = StepKind::kStick;
        step.virtualKey = -1;
        step.name = "stick " + target;
        if (!ParseStick(target, step)) {
            error = Quote(word) + ": stick:PITCH/ROLL/RUDDER:N[@FPS] wants three ratios -1 to 1, " +
                    std::to_string(kMaxRepeat) + " frames at most, 1 to " +
                    std::to_string(kMaxFramesPerSecond) + " frames a second";
        }
        return true;
    } else {
        return false;
    }
    if (target.empty() || target.find('"') != std::string::npos) {
        error = Quote(word) + " names no command or menu item";
        return true;
    }
    step.virtualKey = -1;
    step.target = target;
    step.name = verb + " " + target;
    return true;
}

bool ParseKeyWord(const std::string& word, KeyStep& step, std::string& error) {
    step = KeyStep{};
    step.word = word;
    error.clear();
    if (ParseCommandWord(word, step, error))
        return error.empty();
    step = KeyStep{};
    step.word = word;
    std::string rest = word;
    for (bool more = true; more;) {
        const std::string head = Lower(rest.substr(0, 6));
        more = false;
        if (head == "shift+" && (step.modifiers & xplm_ShiftFlag) == 0) {
            step.modifiers |= xplm_ShiftFlag;
            more = true;
        } else if (head == "quick+" && !step.sameFrame) {
            step.sameFrame = true;
            more = true;
        }
        if (more)
            rest = rest.substr(6);
    }
    // A repeat is "x" and a count at the end of a key; "x" alone is the X key.
    const size_t x = Lower(rest).rfind('x');
    KeyStep probe = step;
    if (x != std::string::npos && x > 0 && ParseKey(rest.substr(0, x), probe)) {
        const std::string count = rest.substr(x + 1);
        if (!AllDigits(count) || count.size() > 5 || std::stoi(count) < 1 ||
            std::stoi(count) > kMaxRepeat) {
            error = "bad repeat count in " + Quote(word) + ": KEYxN repeats a key N times, 1 to " +
                    std::to_string(kMaxRepeat);
            return false;
        }
        step.repeat = std::stoi(count);
        rest = rest.substr(0, x);
    }
    if (rest.empty() || !ParseKey(rest, step)) {
        error = "unknown key " + Quote(word) +
                " (keys: a letter, 0-9 or num0-num9 for the keypad, F1-F12, view; "
                "prefix shift+ or quick+, suffix xN to repeat; cmd:NAME, hold:NAME:N, "
                "menu:\"ITEM\", stick:P/R/H:N, message:NAME, wait:N, replay:on|off, vr:on|off, "
                "origin:E/S)";
        return false;
    }
    if (step.virtualKey < 0 && (step.modifiers != 0 || step.sameFrame)) {
        error = Quote(word) + ": view is no key to hold Shift on or to tap";
        return false;
    }
    return true;
}

bool ParseKeyScript(const std::string& script, std::vector<KeyStep>& steps, std::string& error) {
    steps.clear();
    std::string word;
    bool comment = false;
    bool quoted = false;
    auto flush = [&]() {
        if (word.empty())
            return true;
        KeyStep step;
        const bool ok = ParseKeyWord(word, step, error);
        if (ok)
            steps.push_back(step);
        if (!ok)
            error = "step " + std::to_string(steps.size() + 1) + ": " + error;
        word.clear();
        return ok;
    };
    for (char ch : script) {
        if (ch == '\0') {
            error = "step " + std::to_string(steps.size() + 1) + ": a NUL byte after " +
                    Quote(word) + " (is the script a text file?)";
            return false;
        }
        if (ch == '\n')
            comment = false;
        if (comment)
            continue;
        if (ch == '"')
            quoted = !quoted;
        if (quoted && ch != '\n') {
            word += ch;
            continue;
        }
        if (ch == '#') {
            comment = true;
            if (!flush())
                return false;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(ch)) || ch == ',') {
            if (!flush())
                return false;
            continue;
        }
        word += ch;
    }
    if (quoted) {
        error = "step " + std::to_string(steps.size() + 1) + ": a quote is not closed";
        return false;
    }
    if (!flush())
        return false;
    if (steps.empty()) {
        error = "the key script is empty";
        return false;
    }
    return true;
}

std::string Printable(const std::string& text, size_t shown) {
    std::string out;
    for (size_t i = 0; i < text.size() && i < shown; ++i) {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        if (ch >= 0x20 && ch < 0x7F) {
            out += static_cast<char>(ch);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", ch);
            out += hex;
        }
    }
    return text.size() > shown ? out + "..." : out;
}

std::string Quote(const std::string& text) {
    constexpr size_t kShown = 60;
    const std::string quoted = "'" + Printable(text, kShown) + "'";
    if (text.size() <= kShown)
        return quoted;
    return quoted + " (" + std::to_string(text.size()) + " bytes)";
}

}  // namespace trovik_sim
