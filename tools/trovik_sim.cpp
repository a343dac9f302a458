// trovik-sim: fly a slew plug-in from the command line, without the simulator.
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "sim/demo.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // The plug-in this build made, as the user would type it from where they stand.
    std::error_code ignored;
    std::string xpl = std::filesystem::relative(TROVIK_DEFAULT_XPL, ignored).string();
    if (xpl.empty())
        xpl = TROVIK_DEFAULT_XPL;
    trovik_sim::Options options;
    std::string error;
    if (!trovik_sim::ParseArgs(args, xpl, options, error)) {
        std::cerr << "trovik-sim: " << error << "\n";
        return 2;
    }
    if (options.help) {
        (options.usageError ? std::cerr : std::cout)
            << trovik_sim::Usage(TROVIK_SIM_FROM_ROOT, TROVIK_BUILD_FROM_ROOT, xpl);
        return options.usageError ? 2 : 0;
    }
    return trovik_sim::Run(options, std::cout, std::cerr);
}
