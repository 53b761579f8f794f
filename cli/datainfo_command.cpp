#include <iostream>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "learning/weight_file.h"

namespace vell::cli {

int RunDataInfo(const std::vector<std::string>& argv) {
    Args args(argv, DataInfoOptionRules, 0);
    std::cout << DataInfoText(LoadWeights(args.Value("--weights").value_or("weight4.dat")).header);
    return 0;
}

}  // namespace vell::cli
