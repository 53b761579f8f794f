#pragma once

#include <filesystem>
#include <functional>

#include "learning/adopt_weights.h"

class QWidget;

namespace vell {

// "学習した重みを使う(&W)": asks with the games weight2.dat was trained on, then puts it in
// place of weight4.dat and into use through `adopt`, and shows the result. A missing or damaged
// weight2.dat is refused with a message before anything is asked. Thinks, hints and reviews that
// are running go on with the weights they started with.
void AdoptTrainedWeightsCommand(QWidget* parent, const std::filesystem::path& workDir,
                                const std::function<AdoptResult()>& adopt);

}  // namespace vell
