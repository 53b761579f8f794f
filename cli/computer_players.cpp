#include "cli/computer_players.h"

#include "core/player_names.h"

namespace vell::cli {

int ComputerPlayerOption(const Args& args, const std::string& option, int fallback) {
    if (!args.Has(option) && fallback < 0) throw UsageError(option + " TYPE is required");
    const int type = args.PlayerOption(option, fallback);
    if (type == HumanPlayer)
        throw UsageError(option +
                         " Human: unattended games need computer players, nobody "
                         "would click");
    return type;
}

void DepthOptions(const Args& args, Settings& settings) {
    settings[NormalDepthSetting] = static_cast<int>(args.Integer(
        "--normal-depth", DefaultSettings[NormalDepthSetting], MinNormalDepth, MaxNormalDepth));
    settings[FinalDepthSetting] = static_cast<int>(args.Integer(
        "--final-depth", DefaultSettings[FinalDepthSetting], MinFinalDepth, MaxFinalDepth));
}

}  // namespace vell::cli
