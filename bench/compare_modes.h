// The modes of vell_search_compare, one function each, given checked options. Each prints its
// figures on standard output and returns the program's exit status.
#pragma once

#include "bench/compare_options.h"
#include "learning/weights.h"

namespace vell::bench {

int RunBenchMode(const CompareOptions& options, const Weights& weights);
int RunRealisticMode(const CompareOptions& options, const Weights& weights);
int RunAgreeMode(const CompareOptions& options);
int RunPlayNowMode(const CompareOptions& options, const Weights& weights);

}  // namespace vell::bench
