#include "core/game_log.h"

#include <charconv>
#include <vector>

namespace vell {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t'))
            ++pos;
        std::size_t end = pos;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t')
            ++end;
        if (end > pos) fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

// A stone count 0..64 written in decimal; -1 for anything else.
int ParseCount(std::string_view text) {
    int value = -1;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < 0 || value > 64) return -1;
    return value;
}

}  // namespace

GameLogReadResult ReadGameLogLine(std::string_view line) {
    GameLogReadResult result;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    const std::vector<std::string_view> fields = SplitFields(line);
    // The head has 14 fields and the tail one; the moves are one more field unless none.
    if ((fields.size() != 15 && fields.size() != 16) || fields[1] != "e" || fields.back() != "+0" ||
        ParseCount(fields[3]) < 0 || ParseCount(fields[9]) < 0) {
        result.error = GameLogError::WrongLayout;
        return result;
    }
    const std::string_view moves = fields.size() == 16 ? fields[14] : std::string_view();
    const int count = static_cast<int>((moves.size() + 2) / 3);

    GameHistory history;
    Board board = StartPosition();
    int side = White;
    history.Reset(board, side);
    for (int m = 1; m <= count; ++m) {
        const std::string_view move = moves.substr(3 * (m - 1), 3);
        result.moveText = move;
        if (m > 60 || move.size() != 3 || (move[0] != '+' && move[0] != '-') || move[1] < '1' ||
            move[1] > '8' || move[2] < '1' || move[2] > '8') {
            result.error = GameLogError::BadMove;
            result.moveNumber = m;
            return result;
        }
        const int colour = move[0] == '+' ? Black : White;
        const int square = (move[1] - '1') * 8 + (move[2] - '1');
        if (colour != side) {
            result.error = side < 0 ? GameLogError::AfterTheEnd : GameLogError::WrongSide;
            result.moveNumber = m;
            return result;
        }
        Board next;
        if (board[square] != Empty || TryMove(board, next, square, side) <= 1) {
            result.error = GameLogError::IllegalMove;
            result.moveNumber = m;
            return result;
        }
        history.Append(side, square, next);
        board = next;
        if (CountLegalMoves(board, 1 - side) > 0)
            side = 1 - side;
        else if (CountLegalMoves(board, side) == 0 && m < count)
            side = -1;  // the game ended here, so move m + 1 cannot be anyone's
    }
    result.moveText.clear();
    const StoneCounts counts = CountStones(board);
    if (counts[Black] != ParseCount(fields[3]) || counts[White] != ParseCount(fields[9])) {
        result.error = GameLogError::StoneCounts;
        result.lineCounts = {ParseCount(fields[3]), ParseCount(fields[9]), 0};
        result.movesCounts = {counts[Black], counts[White], 0};
        return result;
    }
    // The final position keeps the colour that made the last move when nobody can move, as
    // the game flow leaves it at the end of a game.
    history.sideAtPly[count] = side;
    history.currentPly = 0;
    result.history = history;
    return result;
}

}  // namespace vell
