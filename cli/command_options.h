#pragma once

#include <vector>

#include "cli/args.h"

namespace vell::cli {

// The options each vellcli command takes. The commands parse with them and the argument
// fuzzer tries every set, so the two cannot drift apart.

inline const std::vector<OptionRule> BenchOptionRules = {
    {"--search", true}, {"--normal-depth", true}, {"--final-depth", true}};
inline const std::vector<OptionRule> BookOptionRules = {{"--book", true}, {"--board", true}};
inline const std::vector<OptionRule> CodeOptionRules = {{"--board", true}};
inline const std::vector<OptionRule> DataInfoOptionRules = {{"--weights", true}};
inline const std::vector<OptionRule> EvalOptionRules = {
    {"--board", true},      {"--side", true}, {"--player", true}, {"--game-over", true},
    {"--book-mode", false}, {"--book", true}, {"--weights", true}};
inline const std::vector<OptionRule> FitOptionRules = {{"--log", true},  {"--out", true},
                                                       {"--last", true}, {"--epochs", true},
                                                       {"--seed", true}, {"--ridge", true}};
inline const std::vector<OptionRule> LearnCurveOptionRules = {
    {"--games", true}, {"--every", true}, {"--from", true},         {"--holdout", true},
    {"--black", true}, {"--white", true}, {"--normal-depth", true}, {"--final-depth", true},
    {"--dir", true},   {"--seed", true}};
inline const std::vector<OptionRule> MatchOptionRules = {
    {"--games", true},       {"--a", true},        {"--b", true},    {"--normal-depth", true},
    {"--final-depth", true}, {"--openings", true}, {"--seed", true}, {"--weights", true},
    {"--book", true},        {"--search", true}};
inline const std::vector<OptionRule> PatternOptionRules = {
    {"--board", true}, {"--side", true}, {"--weights", true}};
inline const std::vector<OptionRule> PerftOptionRules = {{"--board", true}, {"--side", true}};
inline const std::vector<OptionRule> ReviewOptionRules = {
    {"--kif", true},         {"--game", true},    {"--type", true},   {"--normal-depth", true},
    {"--final-depth", true}, {"--weights", true}, {"--search", true}, {"--format", true}};
inline const std::vector<OptionRule> SelfPlayOptionRules = {
    {"--games", true},       {"--black", true},    {"--white", true},  {"--normal-depth", true},
    {"--final-depth", true}, {"--training", true}, {"--dir", true},    {"--continue", false},
    {"--openings", true},    {"--seed", true},     {"--search", true}, {"--holdout", true}};
inline const std::vector<OptionRule> ThinkOptionRules = {
    {"--board", true},        {"--side", true},        {"--black", true},    {"--white", true},
    {"--normal-depth", true}, {"--final-depth", true}, {"--training", true}, {"--book", true},
    {"--weights", true},      {"--search", true},      {"--seconds", true}};

inline const std::vector<const std::vector<OptionRule>*> AllCommandOptions = {
    &BenchOptionRules,   &BookOptionRules,  &CodeOptionRules,       &DataInfoOptionRules,
    &EvalOptionRules,    &FitOptionRules,   &LearnCurveOptionRules, &MatchOptionRules,
    &PatternOptionRules, &PerftOptionRules, &ReviewOptionRules,     &SelfPlayOptionRules,
    &ThinkOptionRules,
};

}  // namespace vell::cli
