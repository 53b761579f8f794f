#pragma once

// Square names as a person reads them: the column letter a-h (left to right as drawn) and the
// row number 1-8 (top to bottom), so square = column x 8 + row reads "d3" for column 3, row 2.
// Files keep their own digit forms; only texts meant for people use these names.

#include <optional>
#include <string>
#include <string_view>

namespace vell {

// "a1".."h8" for squares 0..63; "" for anything else (a pass is named by its caller).
inline std::string SquareName(int square) {
    if (square < 0 || square >= 64) return {};
    return {static_cast<char>('a' + square / 8), static_cast<char>('1' + square % 8)};
}

// The square named by "a1".."h8" (upper-case letters too); nothing for any other text.
inline std::optional<int> SquareFromName(std::string_view name) {
    if (name.size() != 2) return std::nullopt;
    const char letter = static_cast<char>(name[0] | 0x20);
    if (letter < 'a' || letter > 'h' || name[1] < '1' || name[1] > '8') return std::nullopt;
    return (letter - 'a') * 8 + (name[1] - '1');
}

}  // namespace vell
