// Reads any text as a game-record diagram. A text that reads as a game must replay legally and
// write back as the same diagram (with CR LF line ends).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/board.h"
#include "core/diagram_reader.h"
#include "core/history.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// The text with every bare LF turned into CR LF, as the writer ends its lines.
std::string WithCrLf(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vell;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DiagramReadResult read = ReadGameRecordText(text);
    if (read.error != DiagramError::None) return 0;

    const GameHistory& history = read.history;
    fuzz::Require(history.currentPly == 0, "a read game starts at its first position");
    fuzz::Require(history.moveCount >= 0 && history.moveCount <= 60, "at most 60 moves");
    Board board = StartPosition();
    for (int m = 1; m <= history.moveCount; ++m) {
        const int column = history.moveColumn[static_cast<std::size_t>(m)];
        const int row = history.moveRow[static_cast<std::size_t>(m)];
        fuzz::Require(column >= 0 && column < 8 && row >= 0 && row < 8, "moves on the board");
        const int colour = history.sideAtPly[static_cast<std::size_t>(m - 1)];
        fuzz::Require(colour == Black || colour == White, "moves by black or white");
        Board next;
        fuzz::Require(
            board[column * 8 + row] == Empty && TryMove(board, next, column * 8 + row, colour) > 1,
            "every move is legal");
        board = next;
    }
    fuzz::Require(GameRecordText(history) == WithCrLf(text), "the diagram writes back the same");
    return 0;
}
