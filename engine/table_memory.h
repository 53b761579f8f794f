// The advice a program may give on the memory of the search's large tables. It stands on its
// own so that the think's and the review's makers can take it without the whole fast search.
#pragma once

#include <cstddef>

namespace vell {

// Advice on the memory of a large table, which the program around the engine may pass to the
// tables and pools it creates (the engine itself keeps to the standard library): for example,
// back it with huge pages. It is called once per table, on a range that starts and ends on a
// multiple of TablePageBytes, before anything in it is read or written; it must leave the
// contents as they are (zero). Null gives no advice.
using TableMemoryAdvice = void (*)(void* start, std::size_t bytes);
constexpr std::size_t TablePageBytes = std::size_t{2} << 20;

}  // namespace vell
