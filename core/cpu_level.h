#pragma once

#include <optional>
#include <string>

namespace vell {

// The instruction sets the hot loops are built for, each a superset of the one before: any
// x86-64 processor, one that counts bits in one instruction, and one with 256-bit integer vectors
// as well. Every copy of a kernel gives the same answers and node counts; only the speed differs.
enum class CpuLevel { Generic = 0, Popcount = 1, Avx2 = 2 };

// The level the kernels run at: the highest this processor supports, or the one VELL_CPU names
// ("generic", "popcnt" or "avx2"), so that every copy can be tested on one machine. Decided once,
// on the first call; a value of VELL_CPU that CheckCpuOverride refuses ends the program with its
// message, so front ends call CheckCpuOverride first and report it their own way.
CpuLevel KernelLevel();

// Whether this processor (and its system) runs code built for `level`; asked once.
bool MachineSupports(CpuLevel level);

// The level a VELL_CPU value names; nothing for an unknown name.
std::optional<CpuLevel> ParseCpuLevel(const std::string& name);
// "generic", "popcnt" or "avx2".
const char* CpuLevelName(CpuLevel level);

// Empty when VELL_CPU is unset or names a level this machine supports; otherwise one line saying
// what is wrong with it, for the front end to print before it refuses to start.
std::string CheckCpuOverride();

}  // namespace vell
