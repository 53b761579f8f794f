#pragma once

#include <string>
#include <vector>

namespace vell::cli {

// One vellcli subcommand: its name, a one-line usage text and its body. A body gets the
// arguments after the subcommand name and returns the exit status; it throws UsageError on a
// bad command line.
struct Command {
    const char* name;
    const char* usage;
    int (*run)(const std::vector<std::string>& args);
};

int RunPerft(const std::vector<std::string>& args);
int RunCode(const std::vector<std::string>& args);
int RunPattern(const std::vector<std::string>& args);
int RunBook(const std::vector<std::string>& args);
int RunDataInfo(const std::vector<std::string>& args);
int RunEval(const std::vector<std::string>& args);
int RunThinkCommand(const std::vector<std::string>& args);
int RunBench(const std::vector<std::string>& args);
int RunSelfplay(const std::vector<std::string>& args);
int RunMatch(const std::vector<std::string>& args);
int RunFit(const std::vector<std::string>& args);
int RunReview(const std::vector<std::string>& args);
int RunLearncurve(const std::vector<std::string>& args);

// The table of subcommands, in the order --help lists them.
const std::vector<Command>& Commands();

}  // namespace vell::cli
