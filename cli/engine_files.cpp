#include "cli/engine_files.h"

#include <iostream>
#include <stdexcept>

#include "learning/pattern_eval.h"
#include "learning/weight_file.h"

namespace vell::cli {

void LoadEngineFiles(const Args& args, EngineFiles& files) {
    const std::string bookFile = args.Value("--book").value_or("book.dat");
    const BookLoadStatus status = files.book.Load(bookFile);
    if (!status.ok) throw std::runtime_error(bookFile + ": " + status.message);
    WeightLoadStatus weightStatus;
    files.weights = LoadWeights(args.Value("--weights").value_or("weight4.dat"), &weightStatus);
    // As in the window: a damaged header is said once and the weights are zero.
    if (weightStatus.damaged) std::cerr << "vellcli: " << weightStatus.message << "\n";
    InitPatterns();
}

}  // namespace vell::cli
