// The modes of vell_search_compare, one function each, given checked options and the weights
// with their forward table (built once, as a think function does). Each prints its figures on
// standard output and returns the program's exit status.
#pragma once

#include "bench/compare_options.h"
#include "learning/weights.h"

namespace vell::bench {

int RunBenchMode(const CompareOptions& options, const Weights& weights, const WeightTable& forward);
int RunRealisticMode(const CompareOptions& options, const Weights& weights,
                     const WeightTable& forward);
int RunAgreeMode(const CompareOptions& options);
int RunPlayNowMode(const CompareOptions& options, const Weights& weights,
                   const WeightTable& forward);

}  // namespace vell::bench
