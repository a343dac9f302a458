// Drives the loaded plug-in through the headless host with an arbitrary sequence of events read
// from a byte string, checking after every event the promises the plug-in makes to the simulator.
// A broken promise aborts, so that the fuzzer (or the replay in the tests) reports it.
#ifndef TROVIK_FUZZ_HARNESS_H
#define TROVIK_FUZZ_HARNESS_H

#include <cstddef>
#include <cstdint>

namespace trovik_fuzz {

// Loads the plug-in on first use; every input starts from a freshly started plug-in.
void RunInput(const uint8_t* data, size_t size);

// How many inputs ran, and how many events they held.
uint64_t InputsRun();
uint64_t EventsRun();

}  // namespace trovik_fuzz

#endif  // TROVIK_FUZZ_HARNESS_H
