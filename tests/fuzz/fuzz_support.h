#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vell::fuzz {

// A directory of this fuzzing process, made on first use and emptied at exit. Every run of a
// target reuses it, so the files of one input never leak into the next.
inline const std::filesystem::path& ScratchDir() {
    static const std::filesystem::path dir = [] {
        const auto path =
            std::filesystem::temp_directory_path() / ("vell-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                            ("vell-fuzz-" + std::to_string(::getpid())),
                                        ignored);
        });
        return path;
    }();
    return dir;
}

// Replaces `file` with exactly `size` bytes of `data`.
inline void WriteWholeFile(const std::filesystem::path& file, const void* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Stops the run with a message when an invariant of the code under test does not hold, so the
// fuzzer records the input as a finding.
inline void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace vell::fuzz
