#include "cli/engine_files.h"

#include <iostream>
#include <stdexcept>

#include "core/file_names.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"

namespace vell::cli {

void LoadEngineFiles(const Args& args, EngineFiles& files) {
    const std::string bookFile = args.Value("--book").value_or(BookFileName);
    const BookLoadStatus status = files.book.Load(bookFile);
    if (!status.ok) throw std::runtime_error(bookFile + ": " + status.message);
    WeightLoadStatus weightStatus;
    const std::string weightFile = args.Value("--weights").value_or(StartWeightsFileName);
    files.weights = LoadWeights(weightFile, &weightStatus);
    // As in the window: a damaged header is said once and the weights are zero.
    if (weightStatus.damaged) std::cerr << "vellcli: " << weightStatus.message << "\n";
    if (weightStatus.missing) std::cerr << "vellcli: " << MissingWeightsText(weightFile) << "\n";
    InitPatterns();
}

}  // namespace vell::cli
