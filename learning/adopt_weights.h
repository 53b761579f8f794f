#pragma once

#include <filesystem>
#include <string>

#include "learning/weights.h"

namespace vell {

// Training writes weight2.dat and start-up reads weight4.dat, so trained weights reach the
// players only when the user adopts them: weight2.dat then takes the place of weight4.dat and
// the weights in use are replaced at once.

// weight2.dat in `workDir` as a candidate: `ok` when it loads cleanly (the whole file of a save,
// with a header that is not damaged); then `weights` holds it. Otherwise `message` says why
// not, in Japanese.
struct TrainedWeights {
    bool ok = false;
    Weights weights;
    std::string message;
};
TrainedWeights ReadTrainedWeights(const std::filesystem::path& workDir);

// The question to ask before adopting `candidate`, naming the games it was trained on.
std::string AdoptQuestion(const Weights& candidate);

// Puts a clean weight2.dat in place of weight4.dat: the new weight4.dat is written to a
// temporary file first, the old weight4.dat (when there is one) is kept as weight4.bak, and the
// temporary file is renamed over weight4.dat, so weight4.dat is always one whole file. Then
// `inUse` takes the new weights. On any failure, or when weight2.dat is missing or damaged,
// `inUse` and weight4.dat stay as they were and the message says why; on success it says what
// was done. Call it only while no think reads `inUse`.
struct AdoptResult {
    bool ok = false;
    std::string message;
};
AdoptResult AdoptTrainedWeights(const std::filesystem::path& workDir, Weights& inUse);

}  // namespace vell
