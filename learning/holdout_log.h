#pragma once

// The held-out error of the weights in use, measured now and then while training runs and kept
// in Holdoutlog.txt beside Trainlog.txt, so the learning chart can show whether the program is
// getting better on games it never trained on. Each line names what it measured by a key (the
// weights' bytes and the held-out games), so a figure is never shown for weights it was not
// measured on.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game_record.h"
#include "learning/weights.h"

namespace vell {

// The file's name in the working folder.
inline constexpr const char* HoldoutLogName = "Holdoutlog.txt";

// The shipped weights' (resources/weight4.dat) error on the shipped held-out games
// (resources/holdout.txt), the fixed mark the chart measures against.
constexpr double ShippedHoldoutError = 135.496665;

// One measurement: the trained-games count of the weights, their error on the held-out games in
// squared discs, and the key of the weights and games measured.
struct HoldoutPoint {
    int games = 0;
    double error = 0.0;
    std::uint64_t key = 0;
};

// A key of `weights` measured on `games`: FNV-1a over the weights' little-endian bytes and the
// games' moves and results.
std::uint64_t HoldoutKey(const WeightTable& weights, const std::vector<GameRecord>& games);

// "games=%d error=%.6f key=%016llx\n".
std::string HoldoutLine(const HoldoutPoint& point);
// Reads the log's text; lines that are not HoldoutLine's are skipped.
std::vector<HoldoutPoint> ParseHoldoutLog(std::string_view text);

// The figure for `key` when the log's last point measured it; nothing when the weights (or the
// games) have changed since, so the figure is stale.
std::optional<double> CurrentHoldoutError(const std::vector<HoldoutPoint>& points,
                                          std::uint64_t key);

// Appends `point` to the log in `workDir`, keeping at most `keep` of the last points: the whole
// file is written to a temporary file and renamed over the old one, so a reader sees the old
// file or the new one, never a part. False (the old file kept) when it cannot be written.
bool AppendHoldoutPoint(const std::filesystem::path& workDir, const HoldoutPoint& point,
                        std::size_t keep = 10000);

}  // namespace vell
