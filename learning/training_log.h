#pragma once

#include <string_view>
#include <vector>

namespace vell {

// One training pass as Trainlog.txt records it: the games trained before it and the
// prediction error before and after, in squared discs.
struct TrainingLogEntry {
    int games = 0;
    double before = 0.0;
    double after = 0.0;
};

// One held-out measurement of `vellcli learncurve`: after `games` training games, the error on
// games kept out of the training.
struct LearnCurvePoint {
    int games = 0;
    double error = 0.0;
};

// What could be read of a log: the good lines in order, and how many lines (and which first,
// counted from 1) were damaged. Blank lines are neither.
template <typename Entry>
struct LogRead {
    std::vector<Entry> entries;
    int badLines = 0;
    int firstBadLine = 0;
};

// Reads Trainlog.txt text: lines "%9d %lf -> %lf(%lf)" (CR LF or LF). A line is damaged when
// it does not have that shape, holds a negative game count or a number that is not finite, or
// when its difference does not agree with its two errors.
LogRead<TrainingLogEntry> ParseTrainingLog(std::string_view text);

// Reads learncurve.txt text: lines "games=G holdout_error=E", G a count and E a finite error.
LogRead<LearnCurvePoint> ParseLearnCurve(std::string_view text);

// The mean of each value with up to `window` - 1 values before it (fewer at the start).
std::vector<double> MovingAverage(const std::vector<double>& values, int window);

}  // namespace vell
