// The operating system's side of the engine's large tables: the logic libraries keep to the
// standard library, so the programs around them (vell, vellcli, the benchmarks) pass this as the
// memory advice of the tables and pools they create.
#pragma once

#include <cstddef>

namespace vell {

// Asks the system to back `bytes` from `start` (both multiples of 2 MB) with huge pages, which
// spares the table's random probes most of their address-translation misses. Does nothing
// where the system offers no such advice; a refusal is harmless and ignored.
void AdviseHugePages(void* start, std::size_t bytes);

}  // namespace vell
