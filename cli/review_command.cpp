#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/command_options.h"
#include "cli/commands.h"
#include "core/file_names.h"
#include "core/game_log.h"
#include "core/player_names.h"
#include "core/settings.h"
#include "engine/game_review.h"
#include "engine/review_text.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"
#include "platform/huge_pages.h"

namespace vell::cli {

namespace {

const char* SideWord(int side) {
    return side == Black ? "black" : "white";
}

// The non-blank lines of a game log, each one game, in file order.
std::vector<std::string> ReadGameLines(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw UsageError(file + ": cannot be read");
    std::vector<std::string> games;
    for (std::string line; std::getline(in, line);)
        if (line.find_first_not_of(" \t\r") != std::string::npos) games.push_back(line);
    if (in.bad()) throw UsageError(file + ": read error");
    return games;
}

// The game of a log line, or a UsageError that names the move which does not replay.
GameHistory ReplayGame(const std::string& line, const std::string& where) {
    const GameLogReadResult read = ReadGameLogLine(line);
    const std::string ply =
        where + ", ply " + std::to_string(read.moveNumber) + " '" + read.moveText + "': ";
    switch (read.error) {
        case GameLogError::None:
            return read.history;
        case GameLogError::WrongLayout:
            throw UsageError(where + ": not a game-log line");
        case GameLogError::BadMove:
            throw UsageError(ply + "not a move (sign + or -, column and row 1 to 8)");
        case GameLogError::WrongSide:
            throw UsageError(ply + "it is " + SideWord(read.moveText[0] == '+' ? White : Black) +
                             "'s turn");
        case GameLogError::AfterTheEnd:
            throw UsageError(ply + "the game is already over");
        case GameLogError::IllegalMove:
            throw UsageError(ply + "not a legal move");
        case GameLogError::StoneCounts:
            throw UsageError(where + ": the line gives " + std::to_string(read.lineCounts[Black]) +
                             " black and " + std::to_string(read.lineCounts[White]) +
                             " white stones, its moves " + std::to_string(read.movesCounts[Black]) +
                             " and " + std::to_string(read.movesCounts[White]));
    }
    throw UsageError(where + ": not a game-log line");
}

int ReviewedType(const Args& args) {
    const int type = args.PlayerOption("--type", CpuPat2Player);
    if (type != ReviewPlayerType(type))
        throw UsageError("--type " + std::string(PlayerTypeNames[type]) +
                         ": random evaluations value no move; use CPU-1, CPU-PAT1 or CPU-PAT2");
    return type;
}

// The root search of --search. Both searches give the same values, the fast one sooner.
RootSearch SearchOption(const Args& args) {
    const std::string kind = args.Value("--search").value_or("fast");
    if (kind == "plain") return PlainRootSearch();
    if (kind == "fast") return FastRootSearch(DefaultTableBytes, AdviseHugePages);
    throw UsageError("--search must be plain or fast, not '" + kind + "'");
}

// One line of JSON per move and the summary's line: the machine-readable form.
void PrintJson(const GameReview& review) {
    for (const MoveReview& move : review.moves)
        std::cout << "{\"ply\":" << move.moveNumber << ",\"side\":\"" << SideWord(move.side)
                  << "\",\"played\":" << move.played << ",\"playedValue\":" << move.playedValue
                  << ",\"best\":" << move.best << ",\"bestValue\":" << move.bestValue
                  << ",\"loss\":" << move.loss << ",\"mark\":\"" << MarkText(move.mark) << "\"}\n";
    std::cout << "{";
    for (const int side : {Black, White})
        std::cout << (side == Black ? "" : ",") << "\"" << SideWord(side)
                  << "\":{\"averageLoss\":" << review.sides[side].AverageLoss()
                  << ",\"marks\":" << review.sides[side].marks << "}";
    std::cout << "}\n";
}

// The window's review as text: the heading, one line per move, a blank line and each side's
// summary, in stones and square names.
void PrintText(const GameReview& review) {
    std::cout << ReviewHeadingText() << "\n";
    for (const MoveReview& move : review.moves)
        std::cout << ReviewLineText(move) << "\n";
    std::cout << "\n";
    for (const int side : {Black, White})
        std::cout << SideSummaryText(review, side) << "\n";
}

}  // namespace

// A move-by-move review of one game of a game log: by default one line of JSON per move and a
// summary, with --format text the columns of the window's review.
int RunReview(const std::vector<std::string>& argv) {
    Args args(argv, ReviewOptionRules, 0);
    if (!args.Has("--kif")) throw UsageError("--kif FILE is required");
    ReviewOptions options;
    const int type = ReviewedType(args);
    options.playerTypes = {type, type};
    options.normalDepth = static_cast<int>(args.Integer(
        "--normal-depth", DefaultSettings[NormalDepthSetting], MinNormalDepth, MaxNormalDepth));
    options.finalDepth = static_cast<int>(args.Integer(
        "--final-depth", DefaultSettings[FinalDepthSetting], MinFinalDepth, MaxFinalDepth));
    const RootSearch search = SearchOption(args);
    const std::string format = args.Value("--format").value_or("json");
    if (format != "json" && format != "text")
        throw UsageError("--format must be json or text, not '" + format + "'");
    const auto weightsFile = args.Value("--weights");
    std::error_code error;
    if (weightsFile && !std::filesystem::is_regular_file(*weightsFile, error))
        throw UsageError("--weights " + *weightsFile + ": no such file");

    const std::string kif = *args.Value("--kif");
    const std::vector<std::string> games = ReadGameLines(kif);
    if (games.empty()) throw UsageError(kif + ": holds no game");
    const auto count = static_cast<long long>(games.size());
    long long n = count;
    if (const auto game = args.Value("--game")) {
        try {
            n = ParseInteger(*game, "--game", 1, count);
        } catch (const UsageError& e) {
            throw UsageError(e.what() + (", the games of " + kif));
        }
    }
    const GameHistory history =
        ReplayGame(games[static_cast<std::size_t>(n - 1)], kif + " game " + std::to_string(n));

    const Weights weights = LoadWeights(weightsFile.value_or(StartWeightsFileName));
    InitPatterns();
    const auto start = std::chrono::steady_clock::now();
    const GameReview review =
        ReviewGame(history, options, weights.table, search, nullptr, [](int reviewed, int total) {
            std::cerr << "review: move " << reviewed << "/" << total << "\n";
        });
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (review.status != ReviewStatus::Done)
        throw std::runtime_error("the review stopped at move " + std::to_string(review.badMove));

    if (format == "text")
        PrintText(review);
    else
        PrintJson(review);
    char summary[120];
    std::snprintf(summary, sizeof summary, "review: moves=%zu nodes=%llu seconds=%.3f",
                  review.moves.size(), static_cast<unsigned long long>(review.nodes),
                  seconds.count());
    std::cerr << summary << "\n";
    return 0;
}

}  // namespace vell::cli
