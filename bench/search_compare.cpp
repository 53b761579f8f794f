// Compares the fast search with the plain one and prints figures:
//   vell_search_compare agree SEED GAMES MAXDEPTH MAXFINAL
//     every position of GAMES random games, the three evaluated player types in turn, depths
//     1..MAXDEPTH in turn, read to the end at MAXFINAL empties or fewer; value and square must
//     agree; prints the counts and the first disagreements.
//   vell_search_compare final SEED EMPTIES LIMIT
//     one random-game position with EMPTIES empty squares, read to the end by both searches
//     ("CPU-1"); the plain search is stopped after LIMIT seconds.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/player_names.h"
#include "engine/fast_search.h"
#include "engine/search.h"
#include "learning/pattern_eval.h"

namespace {

using namespace vell;

struct Position {
    Board board;
    int side;
};

std::vector<Position> RandomGames(std::uint32_t seed, int games) {
    std::mt19937 rng(seed);
    std::vector<Position> positions;
    for (int g = 0; g < games; ++g) {
        Board board = StartPosition();
        int side = White;
        for (;;) {
            LegalMap map;
            if (CountLegalMoves(board, side, &map) == 0) {
                side = 1 - side;
                if (CountLegalMoves(board, side, &map) == 0) break;
            }
            positions.push_back({board, side});
            std::vector<int> legal;
            for (int s = 0; s < 64; ++s)
                if (map[s]) legal.push_back(s);
            PlayMove(board, legal[rng() % legal.size()], side);
            side = 1 - side;
        }
    }
    return positions;
}

WeightTable Weights(std::uint32_t seed) {
    std::mt19937 rng(seed);
    WeightTable table(WeightTableSize);
    for (auto& w : table)
        w = static_cast<std::int16_t>(static_cast<int>(rng() % 601) - 300);
    return table;
}

class Deadline : public ThinkControl {
  public:
    explicit Deadline(double seconds)
        : end(std::chrono::steady_clock::now() +
              std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                  std::chrono::duration<double>(seconds))) {}
    bool AbortRequested() const override { return std::chrono::steady_clock::now() > end; }
    void ShowPaneText(int, const std::string&) override {}

  private:
    std::chrono::steady_clock::time_point end;
};

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int Agree(std::uint32_t seed, int games, int maxDepth, int maxFinal) {
    const WeightTable weights = Weights(seed);
    InitPatterns();
    TranspositionTable table(DefaultTableBytes);
    const auto positions = RandomGames(seed, games);
    long compared = 0, finals = 0, disagreements = 0;
    std::uint64_t plainNodes = 0, fastNodes = 0;
    double plainSeconds = 0, fastSeconds = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Position& p = positions[i];
        const int type = Cpu1Player + static_cast<int>(i % 3);
        const EvalContext context{type, false, nullptr, &weights};
        const int empties = CountStones(p.board)[Empty];
        const bool finalRead = empties <= maxFinal;
        const int depth = finalRead ? 60 : 1 + static_cast<int>((i / 3) % maxDepth);
        SearchRun plain(context);
        plain.depthLimit = depth;
        auto start = std::chrono::steady_clock::now();
        const int expected = plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
        plainSeconds += Since(start);
        FastSearchRun fast(context, table);
        fast.depthLimit = depth;
        start = std::chrono::steady_clock::now();
        const int actual = fast.Search(p.board, p.side);
        fastSeconds += Since(start);
        plainNodes += plain.nodes;
        fastNodes += fast.nodes;
        ++compared;
        finals += finalRead;
        if (actual != expected || fast.chosenSquare != plain.chosenSquare) {
            if (++disagreements <= 10)
                std::printf("disagree %s %s type %d depth %d: plain %d at %d, fast %d at %d\n",
                            BoardToText(p.board).c_str(), p.side == Black ? "black" : "white", type,
                            depth, expected, plain.chosenSquare, actual, fast.chosenSquare);
        }
    }
    std::printf(
        "positions %ld (final reads %ld) disagreements %ld; plain %llu nodes %.1f s, fast %llu "
        "nodes %.1f s\n",
        compared, finals, disagreements, static_cast<unsigned long long>(plainNodes), plainSeconds,
        static_cast<unsigned long long>(fastNodes), fastSeconds);
    return disagreements == 0 ? 0 : 1;
}

int Final(std::uint32_t seed, int empties, double limit) {
    const auto positions = RandomGames(seed, 400);
    for (const Position& p : positions) {
        if (CountStones(p.board)[Empty] != empties) continue;
        const EvalContext context{Cpu1Player, false, nullptr, nullptr};
        Deadline deadline(limit);
        SearchRun plain(context, &deadline);
        plain.depthLimit = empties;
        auto start = std::chrono::steady_clock::now();
        const int expected = plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
        const double plainTime = Since(start);
        TranspositionTable table(DefaultTableBytes);
        FastSearchRun fast(context, table);
        fast.depthLimit = empties;
        start = std::chrono::steady_clock::now();
        const int actual = fast.Search(p.board, p.side);
        const double fastTime = Since(start);
        std::printf(
            "final %d %s %s plain %s%llu nodes %.3f s value %d square %d | fast %llu "
            "nodes %.3f s value %d square %d\n",
            empties, BoardToText(p.board).c_str(), p.side == Black ? "black" : "white",
            plain.aborted ? "stopped after " : "", static_cast<unsigned long long>(plain.nodes),
            plainTime, expected, plain.chosenSquare, static_cast<unsigned long long>(fast.nodes),
            fastTime, actual, fast.chosenSquare);
        return 0;
    }
    std::printf("final %d: no position\n", empties);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "agree" && argc == 6)
        return Agree(static_cast<std::uint32_t>(std::atol(argv[2])), std::atoi(argv[3]),
                     std::atoi(argv[4]), std::atoi(argv[5]));
    if (mode == "final" && argc == 5)
        return Final(static_cast<std::uint32_t>(std::atol(argv[2])), std::atoi(argv[3]),
                     std::atof(argv[4]));
    std::fprintf(stderr,
                 "usage: vell_search_compare agree SEED GAMES MAXDEPTH MAXFINAL | final SEED "
                 "EMPTIES LIMIT\n");
    return 2;
}
