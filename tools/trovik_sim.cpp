// trovik-sim: fly a slew plug-in from the command line, without the simulator.
#include <iostream>
#include <string>
#include <vector>

#include "sim/demo.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    trovik_sim::Options options;
    std::string error;
    if (!trovik_sim::ParseArgs(args, TROVIK_DEFAULT_XPL, options, error)) {
        std::cerr << "trovik-sim: " << error << "\n";
        return 2;
    }
    if (options.help) {
        std::cout << trovik_sim::Usage(TROVIK_DEFAULT_XPL);
        return 0;
    }
    return trovik_sim::Run(options, std::cout, std::cerr);
}
