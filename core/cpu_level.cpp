#include "core/cpu_level.h"

#include <cstdio>
#include <cstdlib>

namespace vell {

namespace {

constexpr const char* OverrideVariable = "VELL_CPU";
constexpr const char* LevelNames[] = {"generic", "popcnt", "avx2"};

CpuLevel HighestSupported() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    __builtin_cpu_init();
    if (!__builtin_cpu_supports("popcnt")) return CpuLevel::Generic;
    if (!__builtin_cpu_supports("avx2")) return CpuLevel::Popcount;
    return CpuLevel::Avx2;
#else
    return CpuLevel::Generic;
#endif
}

CpuLevel MachineLevel() {
    static const CpuLevel level = HighestSupported();
    return level;
}

// The level VELL_CPU asks for, or the machine's; `error` says why a value cannot be used.
CpuLevel ChooseLevel(std::string& error) {
    const char* value = std::getenv(OverrideVariable);
    if (!value) return MachineLevel();
    const std::optional<CpuLevel> asked = ParseCpuLevel(value);
    if (!asked)
        error = std::string(OverrideVariable) + "='" + value +
                "' is not a processor level; use generic, popcnt or avx2";
    else if (!MachineSupports(*asked))
        error = std::string(OverrideVariable) + "=" + value + ": this processor supports only " +
                CpuLevelName(MachineLevel());
    return asked && error.empty() ? *asked : MachineLevel();
}

}  // namespace

CpuLevel KernelLevel() {
    static const CpuLevel level = [] {
        std::string error;
        const CpuLevel chosen = ChooseLevel(error);
        if (!error.empty()) {
            std::fprintf(stderr, "%s\n", error.c_str());
            std::exit(2);
        }
        return chosen;
    }();
    return level;
}

bool MachineSupports(CpuLevel level) {
    return static_cast<int>(level) <= static_cast<int>(MachineLevel());
}

std::optional<CpuLevel> ParseCpuLevel(const std::string& name) {
    for (int level = 0; level < 3; ++level)
        if (name == LevelNames[level]) return static_cast<CpuLevel>(level);
    return std::nullopt;
}

const char* CpuLevelName(CpuLevel level) {
    return LevelNames[static_cast<int>(level)];
}

std::string CheckCpuOverride() {
    std::string error;
    ChooseLevel(error);
    return error;
}

}  // namespace vell
