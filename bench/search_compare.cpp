// Compares the fast search with the plain one and prints figures:
//   vell_search_compare agree SEED GAMES MAXDEPTH MAXFINAL [FINALSTEP]
//     every position of GAMES random games, the three evaluated player types in turn, depths
//     1..MAXDEPTH in turn, read to the end at MAXFINAL empties or fewer (only every FINALSTEP-th
//     such position, default every one: long reads are the slow part); value and square must
//     agree; prints the counts per depth and the first disagreements.
//   vell_search_compare final SEED EMPTIES LIMIT
//     one random-game position with EMPTIES empty squares, read to the end by both searches
//     ("CPU-1"); the plain search is stopped after LIMIT seconds.
//   vell_search_compare table SEED LIMIT
//     plain and fast think times and nodes side by side ("CPU-1"): normal depths 7..12 on the
//     first five positions of vellcli bench, then final reads of 13..24 empties from one
//     random-game position each; a plain search still running after LIMIT seconds is stopped
//     and shown as "over LIMIT s".
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/board.h"
#include "core/player_names.h"
#include "engine/bench_positions.h"
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

int Agree(std::uint32_t seed, int games, int maxDepth, int maxFinal, int finalStep) {
    const WeightTable weights = Weights(seed);
    InitPatterns();
    TranspositionTable table(DefaultTableBytes);
    const auto positions = RandomGames(seed, games);
    long compared = 0, finals = 0, disagreements = 0, finalPositions = 0;
    std::vector<long> perDepth(static_cast<std::size_t>(maxDepth) + 1, 0);
    std::uint64_t plainNodes = 0, fastNodes = 0;
    double plainSeconds = 0, fastSeconds = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        const Position& p = positions[i];
        const int type = Cpu1Player + static_cast<int>(i % 3);
        const EvalContext context{type, false, nullptr, &weights};
        const int empties = CountStones(p.board)[Empty];
        const bool finalRead = empties <= maxFinal;
        const int depth = finalRead ? 60 : 1 + static_cast<int>((i / 3) % maxDepth);
        if (finalRead && finalPositions++ % finalStep != 0) continue;
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
        if (!finalRead) ++perDepth[static_cast<std::size_t>(depth)];
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
    std::printf("at depth");
    for (int d = 1; d <= maxDepth; ++d)
        std::printf(" %d: %ld", d, perDepth[static_cast<std::size_t>(d)]);
    std::printf("; depths 1..%d: %ld\n", maxDepth, compared - finals);
    return disagreements == 0 ? 0 : 1;
}

// One row: both searches on one position at one depth limit.
void TableRow(const char* label, const Position& p, int depth, double limit,
              TranspositionTable& table) {
    const EvalContext context{Cpu1Player, false, nullptr, nullptr};
    Deadline deadline(limit);
    SearchRun plain(context, &deadline);
    plain.depthLimit = depth;
    auto start = std::chrono::steady_clock::now();
    const int expected = plain.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
    const double plainTime = Since(start);
    FastSearchRun fast(context, table);
    fast.depthLimit = depth;
    start = std::chrono::steady_clock::now();
    const int actual = fast.Search(p.board, p.side);
    const double fastTime = Since(start);
    char plainText[64];
    if (plain.aborted)
        std::snprintf(plainText, sizeof plainText, "over %.0f s (%llu nodes)", limit,
                      static_cast<unsigned long long>(plain.nodes));
    else
        std::snprintf(plainText, sizeof plainText, "%.3f s %llu nodes", plainTime,
                      static_cast<unsigned long long>(plain.nodes));
    const char* verdict = plain.aborted ? "-"
                          : (expected == actual && plain.chosenSquare == fast.chosenSquare)
                              ? "same"
                              : "DIFFERENT";
    std::printf("%-12s plain %-32s fast %.4f s %llu nodes  value %d square %d  %s\n", label,
                plainText, fastTime, static_cast<unsigned long long>(fast.nodes), actual,
                fast.chosenSquare, verdict);
    std::fflush(stdout);
}

int Final(std::uint32_t seed, int empties, double limit) {
    const auto positions = RandomGames(seed, 400);
    for (const Position& p : positions) {
        if (CountStones(p.board)[Empty] != empties) continue;
        TranspositionTable table(DefaultTableBytes);
        std::printf("%s %s\n", BoardToText(p.board).c_str(), p.side == Black ? "black" : "white");
        TableRow(("final " + std::to_string(empties)).c_str(), p, empties, limit, table);
        return 0;
    }
    std::printf("final %d: no position\n", empties);
    return 1;
}

int Table(std::uint32_t seed, double limit) {
    TranspositionTable table(DefaultTableBytes);
    for (int depth = 7; depth <= 12; ++depth)
        for (std::size_t k = 0; k < 5; ++k) {  // the middle-game positions of vellcli bench
            Position p{{}, BenchPositions[k].side};
            BoardFromText(BenchPositions[k].board, p.board);
            const std::string label =
                "depth " + std::to_string(depth) + " #" + std::to_string(k + 1);
            TableRow(label.c_str(), p, depth, limit, table);
        }
    const auto positions = RandomGames(seed, 400);
    for (int empties = 13; empties <= 24; ++empties) {
        const auto found = std::find_if(positions.begin(), positions.end(), [&](const Position& p) {
            return CountStones(p.board)[Empty] == empties;
        });
        if (found == positions.end()) continue;
        const std::string label = "final " + std::to_string(empties);
        TableRow(label.c_str(), *found, empties, limit, table);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "agree" && (argc == 6 || argc == 7))
        return Agree(static_cast<std::uint32_t>(std::atol(argv[2])), std::atoi(argv[3]),
                     std::atoi(argv[4]), std::atoi(argv[5]),
                     argc == 7 ? std::max(1, std::atoi(argv[6])) : 1);
    if (mode == "final" && argc == 5)
        return Final(static_cast<std::uint32_t>(std::atol(argv[2])), std::atoi(argv[3]),
                     std::atof(argv[4]));
    if (mode == "table" && argc == 4)
        return Table(static_cast<std::uint32_t>(std::atol(argv[2])), std::atof(argv[3]));
    std::fprintf(
        stderr,
        "usage: vell_search_compare agree SEED GAMES MAXDEPTH MAXFINAL [FINALSTEP] | final "
        "SEED EMPTIES LIMIT | table SEED LIMIT\n");
    return 2;
}
