// libFuzzer's entry point.
#include <cstdio>
#include <cstdlib>

#include "harness.h"

namespace {
void Report() {
    std::fprintf(stderr, "trovik_fuzz: %llu inputs, %llu events\n",
                 static_cast<unsigned long long>(trovik_fuzz::InputsRun()),
                 static_cast<unsigned long long>(trovik_fuzz::EventsRun()));
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(Report);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    trovik_fuzz::RunInput(data, size);
    return 0;
}
