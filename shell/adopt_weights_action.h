#pragma once

#include <filesystem>

class QWidget;

namespace vell {

struct Weights;

// "学習した重みを使う(&W)": asks with the games weight2.dat was trained on, then puts it in
// place of weight4.dat and into use, and shows the result. A missing or damaged weight2.dat is
// refused with a message before anything is asked. Refused too while a think reads the weights
// (`thinkRunning`): the user pauses first.
void AdoptTrainedWeightsCommand(QWidget* parent, const std::filesystem::path& workDir,
                                Weights& weights, bool thinkRunning);

}  // namespace vell
