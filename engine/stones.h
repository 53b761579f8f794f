#pragma once

// Values as a player reads them: stones of final margin with one decimal, never beyond the 64
// squares of the board. Evaluation values (1000 a stone) are estimates that a pattern evaluation
// may push past any real margin, so every text meant for people goes through these helpers.

#include <optional>
#include <string>
#include <string_view>

namespace vell {

// The most a side can win by: every square its own.
constexpr int MaxStoneTenths = 640;

// Tenths of a stone of evaluation `value` (1000 a stone), rounded half away from zero and
// clamped to -640..+640.
constexpr int StoneTenths(int value) {
    const long long v = value;
    const long long tenths = v < 0 ? -((-v + 50) / 100) : (v + 50) / 100;
    return static_cast<int>(tenths < -MaxStoneTenths  ? -MaxStoneTenths
                            : tenths > MaxStoneTenths ? MaxStoneTenths
                                                      : tenths);
}

// A value from `side`'s point of view (0 black, 1 white) as black's: the sign turned for white.
constexpr int BlackView(int value, int side) {
    return side == 0 ? value : -value;
}

// "+3.5", "-0.4", "0.0", "+64.0": the value in stones with one decimal and its sign.
std::string StonesText(int value);
// "6.2": a loss (0 or more) in stones without a sign.
std::string LossStonesText(int loss);

// The value a think's message carries, from the mover's side: the leading number of a verdict
// ("-2174互角です。") or the number after the colon of a book message ("BOOK最善手です:800");
// nothing for a message without one.
std::optional<int> MessageValue(std::string_view message);

// The hint as a player reads it: "f6 +3.5石", the square and the value of `message` in stones;
// the square alone when the message carries no value.
std::string HintText(int square, std::string_view message);

}  // namespace vell
