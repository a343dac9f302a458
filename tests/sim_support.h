// What the trovik-sim suites share: a flight through the built plug-in.
#ifndef TROVIK_TESTS_SIM_SUPPORT_H
#define TROVIK_TESTS_SIM_SUPPORT_H

#include "sim/demo.h"
#include "support.h"

namespace trovik_test {

// Flies a key script through the built plug-in, as trovik-sim does.
class SimFlight : public ::testing::Test {
  protected:
    void Fly(const std::string& script, bool downOnly = false) {
        options.xpl = TROVIK_XPL;
        options.downOnly = downOnly;
        result = trovik_sim::RunResult{};
        std::vector<trovik_sim::KeyStep> steps;
        std::string error;
        ASSERT_TRUE(trovik_sim::ParseKeyScript(script, steps, error)) << error;
        ASSERT_TRUE(trovik_sim::Simulate(options, steps, result, error)) << error;
    }
    trovik_sim::Options options;
    trovik_sim::RunResult result;
};

}  // namespace trovik_test

#endif  // TROVIK_TESTS_SIM_SUPPORT_H
