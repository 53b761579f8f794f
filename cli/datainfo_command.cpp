#include <iostream>
#include <stdexcept>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "core/file_names.h"
#include "learning/weight_file.h"

namespace vell::cli {

int RunDataInfo(const std::vector<std::string>& argv) {
    Args args(argv, DataInfoOptionRules, 0);
    WeightLoadStatus status;
    const Weights weights =
        LoadWeights(args.Value("--weights").value_or(StartWeightsFileName), &status);
    // A damaged file is not shown as if it were missing: the reason, and a failed status.
    if (status.damaged) throw std::runtime_error(status.message);
    std::cout << DataInfoText(weights.header);
    return 0;
}

}  // namespace vell::cli
