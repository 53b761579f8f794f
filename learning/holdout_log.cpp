#include "learning/holdout_log.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

namespace vell {

namespace {

constexpr std::uint64_t FnvPrime = 1099511628211ull;

void Mix(std::uint64_t& hash, std::uint8_t byte) {
    hash = (hash ^ byte) * FnvPrime;
}

}  // namespace

std::uint64_t HoldoutKey(const WeightTable& weights, const std::vector<GameRecord>& games) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::int16_t weight : weights) {
        const auto bits = static_cast<std::uint16_t>(weight);
        Mix(hash, static_cast<std::uint8_t>(bits & 0xff));
        Mix(hash, static_cast<std::uint8_t>(bits >> 8));
    }
    for (const GameRecord& game : games)
        for (const std::uint8_t byte : game.bytes)
            Mix(hash, byte);
    return hash;
}

std::string HoldoutLine(const HoldoutPoint& point) {
    char line[96];
    std::snprintf(line, sizeof line, "games=%d error=%.6f key=%016llx\n", point.games, point.error,
                  static_cast<unsigned long long>(point.key));
    return line;
}

std::vector<HoldoutPoint> ParseHoldoutLog(std::string_view text) {
    std::vector<HoldoutPoint> points;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string line(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        HoldoutPoint point;
        unsigned long long key = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), "games=%d error=%lf key=%16llx%n", &point.games, &point.error,
                        &key, &used) == 3 &&
            (line.size() == std::size_t(used) ||
             (line.size() == std::size_t(used) + 1 && line.back() == '\r')) &&
            point.games >= 0 && std::isfinite(point.error) && point.error >= 0) {
            point.key = key;
            points.push_back(point);
        }
    }
    return points;
}

std::optional<double> CurrentHoldoutError(const std::vector<HoldoutPoint>& points,
                                          std::uint64_t key) {
    if (points.empty() || points.back().key != key) return std::nullopt;
    return points.back().error;
}

bool AppendHoldoutPoint(const std::filesystem::path& workDir, const HoldoutPoint& point,
                        std::size_t keep) {
    const std::filesystem::path file = workDir / HoldoutLogName;
    std::string text;
    {
        std::ifstream in(file, std::ios::binary);
        if (in) text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<HoldoutPoint> points = ParseHoldoutLog(text);
    points.push_back(point);
    if (points.size() > keep)
        points.erase(points.begin(), points.end() - static_cast<std::ptrdiff_t>(keep));
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const HoldoutPoint& p : points)
            out << HoldoutLine(p);
        out.flush();
        out.close();
        if (out.fail()) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

}  // namespace vell
