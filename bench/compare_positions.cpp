#include "bench/compare_positions.h"

#include <algorithm>
#include <string>

#include "book/book.h"
#include "core/player_names.h"
#include "core/think.h"
#include "engine/think_driver.h"
#include "learning/opening_variety.h"
#include "platform/huge_pages.h"

namespace vell::bench {

namespace {

class SilentControl : public ThinkControl {
  public:
    bool AbortRequested() const override { return false; }
    void ShowPaneText(int, const std::string&) override {}
};

// The side that moves in `board` when `side` is due: `side`, the other one when `side` must
// pass, or -1 when the game is over.
int Mover(const Board& board, int side) {
    if (CountLegalMoves(board, side) > 0) return side;
    if (CountLegalMoves(board, 1 - side) > 0) return 1 - side;
    return -1;
}

}  // namespace

std::vector<Position> RandomGame(std::mt19937& rng) {
    std::vector<Position> positions;
    Board board = StartPosition();
    for (int side = Mover(board, White); side >= 0; side = Mover(board, 1 - side)) {
        positions.push_back({board, side});
        LegalMap map;
        const int count = CountLegalMoves(board, side, &map);
        int pick = static_cast<int>(rng() % static_cast<unsigned>(count));
        int square = 0;
        while (!map[square] || pick-- > 0)
            ++square;
        PlayMove(board, square, side);
    }
    return positions;
}

SelfPlay SelfPlayPositions(const Weights& weights, std::uint32_t seed, int openings, int count,
                           const std::vector<int>& empties) {
    const Book book;
    ThinkFunction think =
        MakeThink(book, weights, SearchKind::Fast, WallClockSeconds, AdviseHugePages);
    if (openings > 0) think = WithRandomOpening(std::move(think), openings, seed, true);
    const int fewest = *std::min_element(empties.begin(), empties.end());
    SelfPlay result;
    std::vector<std::vector<Position>>& found = result.positions;
    found.resize(empties.size());
    const auto enough = [&] {
        for (const auto& list : found)
            if (static_cast<int>(list.size()) < count) return false;
        return true;
    };
    SilentControl control;
    for (; !enough() && result.games < 50 * count; ++result.games) {
        ThinkRequest request;
        request.board = StartPosition();
        request.settings[BlackPlayerSetting] = CpuPat2Player;
        request.settings[WhitePlayerSetting] = CpuPat2Player;
        for (int side = Mover(request.board, White); side >= 0;
             side = Mover(request.board, 1 - side)) {
            const int left = CountStones(request.board)[Empty];
            for (std::size_t k = 0; k < empties.size(); ++k)
                if (empties[k] == left && static_cast<int>(found[k].size()) < count)
                    found[k].push_back({request.board, side});
            if (left <= fewest) break;
            request.sideToMove = side;
            const ThinkOutcome outcome = think(request, control);
            if (outcome.result != ThinkMoveReady) break;
            PlayMove(request.board, outcome.square, side);
        }
    }
    return result;
}

}  // namespace vell::bench
