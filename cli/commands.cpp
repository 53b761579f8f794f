#include "cli/commands.h"

namespace vell::cli {

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"perft", "perft DEPTH [--board B] [--side black|white]", RunPerft},
        {"code", "code [--board B]", RunCode},
        {"pattern", "pattern [--board B] [--side black|white] [--weights FILE]", RunPattern},
        {"book", "book [--book FILE] [--board B]", RunBook},
        {"datainfo", "datainfo [--weights FILE]", RunDataInfo},
        {"eval",
         "eval [--board B] [--side S] --player TYPE [--game-over 0|1] [--book-mode] [--book FILE] "
         "[--weights FILE]",
         RunEval},
        {"think",
         "think [--board B] [--side S] [--black TYPE] [--white TYPE] [--normal-depth N] "
         "[--final-depth F] [--training 0|1] [--book FILE] [--weights FILE] [--search plain|fast] "
         "[--seconds S]",
         RunThinkCommand},
        {"bench", "bench [--search plain|fast] [--normal-depth N] [--final-depth F]", RunBench},
        {"selfplay",
         "selfplay --games N [--black TYPE] [--white TYPE] [--normal-depth N] [--final-depth F] "
         "[--training 0|1] [--dir DIR] [--continue] [--openings K] [--seed S] [--search "
         "plain|fast] [--holdout FILE]",
         RunSelfplay},
        {"match",
         "match --games N --a TYPE --b TYPE [--normal-depth N] [--final-depth F] [--openings K] "
         "[--seed S] [--weights FILE] [--book FILE] [--search plain|fast]",
         RunMatch},
        {"fit", "fit --log FILE --out FILE [--last GAMES] [--epochs E] [--seed S]", RunFit},
        {"review",
         "review --kif FILE [--game N] [--type TYPE] [--normal-depth N] [--final-depth F] "
         "[--weights FILE] [--search plain|fast] [--format json|text]",
         RunReview},
        {"learncurve",
         "learncurve --games N --every K [--from FILE] [--holdout FILE] [--black TYPE] "
         "[--white TYPE] [--normal-depth N] [--final-depth F] [--dir DIR] [--seed S]",
         RunLearncurve},
    };
    return commands;
}

}  // namespace vell::cli
