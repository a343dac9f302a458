// The call recorder: every XPLM call as the plug-in made it, spelled so that equal strings mean
// equal bits.
#include <cinttypes>
#include <cstdio>

#include "internal.h"

namespace hostsim {

using namespace internal;

// ---- Args and calls ----

Arg Arg::Int(long long v) {
    Arg a;
    a.kind = Kind::Int;
    a.i = v;
    return a;
}

Arg Arg::Float(float v) {
    Arg a;
    a.kind = Kind::Float;
    a.f = v;
    return a;
}

Arg Arg::Double(double v) {
    Arg a;
    a.kind = Kind::Double;
    a.d = v;
    return a;
}

Arg Arg::Pointer(const void* v) {
    Arg a;
    a.kind = Kind::Pointer;
    a.p = v;
    return a;
}

Arg Arg::Text(const char* v) {
    Arg a;
    a.kind = Kind::Text;
    a.p = v;
    if (v != nullptr)
        a.text = v;
    return a;
}

Arg Arg::Array(const int* v, int count) {
    Arg a;
    a.kind = Kind::Ints;
    a.p = v;
    if (v != nullptr)
        a.ints.assign(v, v + count);
    return a;
}

Arg Arg::Array(const float* v, int count) {
    Arg a;
    a.kind = Kind::Floats;
    a.p = v;
    if (v != nullptr)
        a.floats.assign(v, v + count);
    return a;
}

std::string Arg::str() const {
    char buf[64];
    switch (kind) {
        case Kind::Int:
            std::snprintf(buf, sizeof buf, "%lld", i);
            return buf;
        case Kind::Float:
            std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(f));
            return buf;
        case Kind::Double:
            std::snprintf(buf, sizeof buf, "%.17g", d);
            return buf;
        case Kind::Pointer:
            if (p == nullptr)
                return "null";
            std::snprintf(buf, sizeof buf, "0x%" PRIxPTR, reinterpret_cast<uintptr_t>(p));
            return buf;
        case Kind::Text:
            return p == nullptr ? "null" : "\"" + text + "\"";
        case Kind::Bare:
            return text;
        case Kind::Ints:
        case Kind::Floats: {
            if (p == nullptr)
                return "null";
            std::string out = "{";
            const size_t n = kind == Kind::Ints ? ints.size() : floats.size();
            for (size_t k = 0; k < n; ++k) {
                if (k > 0)
                    out += ", ";
                out += kind == Kind::Ints ? std::to_string(ints[k]) : Float(floats[k]).str();
            }
            return out + "}";
        }
    }
    return "?";
}

std::string Call::str() const {
    std::string out = fn + "(";
    for (size_t k = 0; k < args.size(); ++k) {
        if (k > 0)
            out += ", ";
        out += args[k].str();
    }
    out += ")";
    if (hasResult)
        out += " = " + result.str();
    return out;
}

std::vector<std::string> Recorder::strings() const {
    std::vector<std::string> out;
    out.reserve(calls.size());
    for (const Call& c : calls)
        out.push_back(c.str());
    return out;
}

std::vector<std::string> Recorder::only(std::initializer_list<const char*> names) const {
    std::vector<std::string> out;
    for (const Call& c : calls) {
        for (const char* n : names) {
            if (c.fn == n) {
                out.push_back(c.str());
                break;
            }
        }
    }
    return out;
}

size_t Recorder::count(const char* fn) const {
    size_t n = 0;
    for (const Call& c : calls)
        n += c.fn == fn ? 1 : 0;
    return n;
}

}  // namespace hostsim
