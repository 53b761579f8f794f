#include <iostream>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "core/file_names.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"

namespace vell::cli {

int RunPattern(const std::vector<std::string>& argv) {
    Args args(argv, PatternOptionRules, 0);
    PositionRecord record;
    record.board = args.BoardOption(StartPosition());
    record.turn = args.SideOption(White);
    const Weights weights = LoadWeights(args.Value("--weights").value_or(StartWeightsFileName));
    InitPatterns();
    std::cout << PatternEvaluate(record, weights.table) << "\n";
    return 0;
}

}  // namespace vell::cli
