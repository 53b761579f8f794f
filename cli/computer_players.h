#pragma once

#include <string>

#include "cli/args.h"
#include "core/settings.h"
#include "core/think.h"

namespace vell::cli {

// The think control of every vellcli think: nothing asks it to stop, and pane texts are not
// shown (vellcli prints only outcomes).
class QuietControl : public ThinkControl {
  public:
    bool AbortRequested() const override { return false; }
    void ShowPaneText(int, const std::string&) override {}
};

// The computer players and depths of an unattended run (selfplay, match, learncurve).
//  `option` TYPE as a player type: 0..4 or a name. Human is refused with a UsageError, since
//  nobody would click; without the option `fallback`, or a UsageError when fallback is -1.
int ComputerPlayerOption(const Args& args, const std::string& option, int fallback);
//  --normal-depth N and --final-depth F into `settings`, within the players dialog's ranges
//  (defaults 7 and 13).
void DepthOptions(const Args& args, Settings& settings);

}  // namespace vell::cli
