#include <climits>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "book/book.h"
#include "cli/args.h"
#include "core/file_names.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "cli/computer_players.h"
#include "core/board.h"
#include "core/player_names.h"
#include "engine/think_driver.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"
#include "platform/huge_pages.h"

namespace vell::cli {

namespace {

struct Position {
    Board board = StartPosition();
    int side = White;
};

// The side that moves next under the flow's rules: the side to move, or the other side when it
// has no move (a pass); -1 when neither can move and the game is over.
int SideToPlay(const Position& position) {
    if (CountLegalMoves(position.board, position.side) > 0) return position.side;
    if (CountLegalMoves(position.board, 1 - position.side) > 0) return 1 - position.side;
    return -1;
}

// Up to `moves` random legal moves from the start position (white first, passes as in a game);
// fewer when the game ends before. The draws come from `random` alone, so a seed replays them.
Position RandomOpening(int moves, std::mt19937& random, std::vector<int>& squares) {
    Position position;
    squares.clear();
    for (int k = 0; k < moves; ++k) {
        const int side = SideToPlay(position);
        if (side < 0) break;
        LegalMap map;
        const int count = CountLegalMoves(position.board, side, &map);
        int pick = static_cast<int>(random() % static_cast<std::uint32_t>(count));
        int square = 0;
        while (!map[square] || pick-- > 0)
            ++square;
        PlayMove(position.board, square, side);
        squares.push_back(square);
        position.side = 1 - side;
    }
    return position;
}

// Plays `position` to the end with the players of `settings`; returns black minus white stones.
int PlayOut(Position position, const Settings& settings, const ThinkFunction& think) {
    QuietControl control;
    for (int side; (side = SideToPlay(position)) >= 0; position.side = 1 - side) {
        const ThinkOutcome outcome = think(ThinkRequest{position.board, side, settings}, control);
        Board scratch;
        if (outcome.result != ThinkMoveReady || outcome.square < 0 || outcome.square >= 64 ||
            position.board[outcome.square] != Empty ||
            TryMove(position.board, scratch, outcome.square, side) == 1)
            throw std::runtime_error("the think gave no legal move (result " +
                                     std::to_string(outcome.result) + ")");
        PlayMove(position.board, outcome.square, side);
    }
    const StoneCounts counts = CountStones(position.board);
    return counts[Black] - counts[White];
}

std::string MoveList(const std::vector<int>& squares) {
    if (squares.empty()) return "-";
    std::string text = std::to_string(squares[0]);
    for (std::size_t k = 1; k < squares.size(); ++k) {
        text += ',';
        text += std::to_string(squares[k]);
    }
    return text;
}

}  // namespace

// Games between two computer player types, in pairs from one random opening with the colours
// swapped, training off, no file written.
int RunMatch(const std::vector<std::string>& argv) {
    Args args(argv, MatchOptionRules, 0);
    if (!args.Has("--games")) throw UsageError("--games N is required");
    const int games = static_cast<int>(args.Integer("--games", 0, 2, INT_MAX - 1));
    if (games % 2 != 0) throw UsageError("--games must be even: games are played in pairs");
    const int typeA = ComputerPlayerOption(args, "--a", -1);
    const int typeB = ComputerPlayerOption(args, "--b", -1);
    Settings settings = DefaultSettings;
    DepthOptions(args, settings);
    settings[TrainingModeSetting] = 0;
    const int openingMoves = static_cast<int>(args.Integer("--openings", 6, 0, 60));
    const auto seed = static_cast<std::uint32_t>(args.Integer("--seed", 1, 0, UINT32_MAX));

    // Without --book there is no book, so results depend only on the options.
    Book book;
    if (const auto bookFile = args.Value("--book")) {
        const BookLoadStatus status = book.Load(*bookFile);
        if (!status.ok) throw std::runtime_error(*bookFile + ": " + status.message);
    }
    WeightLoadStatus weightStatus;
    const std::string weightFile = args.Value("--weights").value_or(StartWeightsFileName);
    const Weights weights = LoadWeights(weightFile, &weightStatus);
    if (weightStatus.damaged) throw std::runtime_error(weightStatus.message);
    if (weightStatus.missing)
        std::cerr << "vellcli match: " << MissingWeightsText(weightFile) << "\n";
    InitPatterns();
    const ThinkFunction think =
        MakeThink(book, weights, args.SearchOption(), WallClockSeconds, AdviseHugePages);

    std::mt19937 random(seed);
    int winsA = 0, winsB = 0, draws = 0;
    std::vector<int> opening;
    for (int pair = 0; pair < games / 2; ++pair) {
        const Position start = RandomOpening(openingMoves, random, opening);
        for (int round = 0; round < 2; ++round) {
            const int colourA = round == 0 ? Black : White;
            settings[BlackPlayerSetting] = colourA == Black ? typeA : typeB;
            settings[WhitePlayerSetting] = colourA == Black ? typeB : typeA;
            const int result = PlayOut(start, settings, think);
            const int resultA = colourA == Black ? result : -result;
            if (resultA > 0)
                ++winsA;
            else if (resultA < 0)
                ++winsB;
            else
                ++draws;
            std::cerr << "match: game " << 2 * pair + round + 1 << "/" << games
                      << " black=" << PlayerTypeNames[settings[BlackPlayerSetting]]
                      << " white=" << PlayerTypeNames[settings[WhitePlayerSetting]]
                      << " opening=" << MoveList(opening) << " result=" << result << " a=" << winsA
                      << " b=" << winsB << " draws=" << draws << "\n";
        }
    }
    char summary[160];
    std::snprintf(summary, sizeof summary, "games=%d a=%d b=%d draws=%d score=%.3f", games, winsA,
                  winsB, draws, (winsA + 0.5 * draws) / games);
    std::cout << summary << "\n";
    return 0;
}

}  // namespace vell::cli
