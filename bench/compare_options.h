// The command line of vell_search_compare: one mode and its options, all checked before any
// search starts, so a mistyped run fails at once instead of after an hour.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vell::bench {

enum class CompareMode { Bench, Realistic, Agree, PlayNow };

struct CompareOptions {
    CompareMode mode = CompareMode::Bench;
    std::uint32_t seed = 1;
    int type = 0;                // player type; 0 means the mode's default
    std::vector<int> positions;  // bench: positions of vellcli bench, numbered from 1
    std::vector<int> depths;     // bench, realistic: normal search depths
    bool finalRead = false;      // realistic: read to the end (also when no depth is given)
    std::vector<int> empties;    // realistic, playnow: empty squares of the chosen positions
    int perEmpties = 6;          // realistic, playnow: positions at each empties count
    int openings = 6;            // random plies at the start of every self-play game
    std::string weights = "resources/weight4.dat";
    double plainTimeout = 60;  // seconds; 0 none
    double fastTimeout = 0;    // seconds; 0 none
    bool fastOnly = false;
    // agree
    long count = 20000;  // positions to compare
    int maxDepth = 10, maxFinal = 18, finalStep = 1;
    bool narrow = false;  // check the fast value with a window of one around it
    double minutes = 0;   // 0 none
    // playnow
    std::vector<double> after;  // seconds after the start of a think to ask it to play now
    int limit = 0;              // a think's time limit in seconds; 0 none
    int finalDepth = 30;        // the think's final depth
};

// A bad command line; main prints the message and the usage and exits 2.
struct CompareUsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Throws CompareUsageError naming the option on
// an unknown mode or option, an option the mode does not take, a missing or malformed value, or
// a value out of range.
CompareOptions ParseCompareOptions(const std::vector<std::string>& args);

// The usage text: every mode and option with its default.
extern const char* const CompareUsage;

}  // namespace vell::bench
