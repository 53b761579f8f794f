// One position searched by the plain and the fast search, each under its own time cap, and the
// table of such runs: per row and per group, times (processor and wall clock), nodes, nodes per
// second and whether the two agree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/compare_positions.h"
#include "engine/evaluation.h"

namespace vell {
class TranspositionTable;
}

namespace vell::bench {

// What one search did. Times are seconds: `cpu` of the process (the searches run on one
// thread), `wall` of the clock.
struct SearchFigures {
    bool ran = false;       // false: skipped
    bool finished = false;  // false: stopped at its time cap, value and square mean nothing
    int value = 0, square = -1;
    std::uint64_t nodes = 0;
    double cpu = 0, wall = 0;
};

// The depth limit that reads `empties` to the end, as a think with the highest final depth
// does.
int FinalReadDepth(int empties);

// The plain (SearchRun) and the fast search (FastSearchRun, on `table`) of `p` to `depth`,
// stopped after `timeout` seconds (0 never).
SearchFigures PlainFigures(const EvalContext& context, const Position& p, int depth,
                           double timeout);
SearchFigures FastFigures(const EvalContext& context, TranspositionTable& table, const Position& p,
                          int depth, double timeout);

// Prints a row per run as it comes, and at the end a summary per group (in order of first
// appearance): medians, worst times, nodes per second of processor time, agreement.
class SideBySideTable {
  public:
    SideBySideTable();
    void Row(const std::string& label, const std::string& group, int empties,
             const SearchFigures& plain, const SearchFigures& fast);
    // Returns the number of disagreements over all rows.
    int Summary() const;

  private:
    struct Run {
        std::string group;
        SearchFigures plain, fast;
    };
    std::vector<Run> runs;
};

}  // namespace vell::bench
