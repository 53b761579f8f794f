#include "learning/training_log.h"

#include <charconv>
#include <cmath>
#include <algorithm>
#include <optional>

namespace vell {

namespace {

// A cursor over one line.
class LineReader {
  public:
    explicit LineReader(std::string_view line) : rest(line) {}

    void SkipSpaces() {
        while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t'))
            rest.remove_prefix(1);
    }
    bool Take(std::string_view literal) {
        if (rest.substr(0, literal.size()) != literal) return false;
        rest.remove_prefix(literal.size());
        return true;
    }
    std::optional<int> Int() {
        int value = 0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error != std::errc() || end == rest.data()) return std::nullopt;
        rest.remove_prefix(end - rest.data());
        return value;
    }
    std::optional<double> Double() {
        double value = 0.0;
        const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
        if (error != std::errc() || end == rest.data() || !std::isfinite(value))
            return std::nullopt;
        rest.remove_prefix(end - rest.data());
        return value;
    }
    bool AtEnd() {
        SkipSpaces();
        return rest.empty();
    }

  private:
    std::string_view rest;
};

std::optional<TrainingLogEntry> ParseTrainingLine(std::string_view line) {
    LineReader reader(line);
    reader.SkipSpaces();
    const std::optional<int> games = reader.Int();
    reader.SkipSpaces();
    const std::optional<double> before = reader.Double();
    reader.SkipSpaces();
    if (!games || *games < 0 || !before || !reader.Take("->")) return std::nullopt;
    reader.SkipSpaces();
    const std::optional<double> after = reader.Double();
    if (!after || !reader.Take("(")) return std::nullopt;
    const std::optional<double> difference = reader.Double();
    if (!difference || !reader.Take(")") || !reader.AtEnd()) return std::nullopt;
    // Six decimals each: the printed difference is within a few millionths of the true one.
    if (std::fabs(*difference - (*after - *before)) > 1e-5 * (1.0 + std::fabs(*difference)))
        return std::nullopt;
    return TrainingLogEntry{*games, *before, *after};
}

std::optional<LearnCurvePoint> ParseCurveLine(std::string_view line) {
    LineReader reader(line);
    reader.SkipSpaces();
    if (!reader.Take("games=")) return std::nullopt;
    const std::optional<int> games = reader.Int();
    reader.SkipSpaces();
    if (!games || *games < 0 || !reader.Take("holdout_error=")) return std::nullopt;
    const std::optional<double> error = reader.Double();
    if (!error || !reader.AtEnd()) return std::nullopt;
    return LearnCurvePoint{*games, *error};
}

template <typename Entry, typename Parse>
LogRead<Entry> ParseLines(std::string_view text, Parse parse) {
    LogRead<Entry> read;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        if (const std::optional<Entry> entry = parse(line)) {
            read.entries.push_back(*entry);
        } else {
            if (read.badLines == 0) read.firstBadLine = number;
            ++read.badLines;
        }
    }
    return read;
}

}  // namespace

LogRead<TrainingLogEntry> ParseTrainingLog(std::string_view text) {
    return ParseLines<TrainingLogEntry>(text, ParseTrainingLine);
}

LogRead<LearnCurvePoint> ParseLearnCurve(std::string_view text) {
    return ParseLines<LearnCurvePoint>(text, ParseCurveLine);
}

std::vector<double> MovingAverage(const std::vector<double>& values, int window) {
    std::vector<double> result;
    result.reserve(values.size());
    if (window < 1) window = 1;
    double sum = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        sum += values[i];
        if (i >= std::size_t(window)) sum -= values[i - window];
        const std::size_t count = std::min(i + 1, std::size_t(window));
        result.push_back(sum / double(count));
    }
    return result;
}

}  // namespace vell
