#include <climits>
#include <cmath>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "core/folder_lock.h"
#include "learning/adopt_weights.h"
#include "learning/game_log.h"
#include "learning/opening_variety.h"
#include "learning/pattern_eval.h"
#include "learning/trainer.h"
#include "learning/training_pass.h"
#include "learning/weight_file.h"
#include "tests/learning/training_games.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

const std::filesystem::path Resources = VELL_RESOURCES;

class AccumulatingStep : public ::testing::Test {
  protected:
    void SetUp() override { InitPatterns(); }
    void Train(const GameRecord& record) {
        GameDatabase database;
        database.Store(record);
        TrainOnStoredGames(database, weights, nullptr, accumulators, StepRule::Accumulating, {});
    }
    WeightTable weights = WeightTable(WeightTableSize, 0);
    TrainingAccumulators accumulators;
};

// The same game over and over as the table's games: the weights in use move less as the games
// add up (each takes a smaller share of the mean, and of the step where it has been read
// before), so the twentieth game moves them far less than the first; the game's error still
// falls.
TEST_F(AccumulatingStep, StepShrinksAsEvidenceAccumulates) {
    const GameRecord record = test::RecordOf(test::Cpu1Game, test::Cpu1GameResult);
    GameDatabase database;
    database.Store(record);
    std::vector<double> steps;
    const double start = MeasureError(database, weights);
    for (int game = 0; game < 20; ++game) {
        const WeightTable before = weights;
        accumulators.gamesTrained = game;
        Train(record);
        double moved = 0;
        for (int w = 0; w < TotalWeights; ++w)
            moved += std::abs(weights[w] - before[w]);
        steps.push_back(moved);
    }
    EXPECT_GT(steps.front(), 0);
    EXPECT_LT(steps.back(), steps.front() / 3);
    EXPECT_LT(MeasureError(database, weights), start);
}

// The same game moves a weight less when many earlier games have read it.
TEST_F(AccumulatingStep, WeightWithMoreEvidenceMovesLess) {
    const GameRecord record = test::RecordOf(test::FillingMoves(), 16);
    Train(record);
    int w = 0;
    for (int k = 0; k < MobilityWeight; ++k)
        if (std::abs(weights[k]) > std::abs(weights[w])) w = k;
    const int fresh = weights[w];
    weights.assign(WeightTableSize, 0);
    accumulators = TrainingAccumulators{};
    accumulators.evidence[static_cast<std::size_t>(w)] = 5000;
    Train(record);
    EXPECT_NE(fresh, 0);
    EXPECT_GE(weights[w] * fresh, 0);
    EXPECT_LT(std::abs(weights[w]), std::abs(fresh));
}

// A game with the opposite result moves a table with a few games behind it towards that result,
// but less than half the way that game alone would take it: it nudges the weights in use, it
// does not overwrite what the first game taught.
TEST_F(AccumulatingStep, OppositeResultNudgesTheWeights) {
    const GameRecord loss = test::RecordOf(test::Cpu1Game, -20);
    GameDatabase lossOnly;
    lossOnly.Store(loss);
    Train(test::RecordOf(test::Cpu1Game, 20));
    const double afterWin = MeasureError(lossOnly, weights);
    accumulators.gamesTrained = 10;
    Train(loss);
    const double both = MeasureError(lossOnly, weights);
    weights.assign(WeightTableSize, 0);
    accumulators = TrainingAccumulators{};
    Train(loss);
    const double alone = MeasureError(lossOnly, weights);
    EXPECT_LT(both, afterWin);
    EXPECT_GT(both, (afterWin + alone) / 2);
}

// The weights in use are a running mean of the iterates over the table's games that leans
// towards the recent ones: after a table's second game they take four fifths of the way from the
// first game's weights to the iterate, and a table counted as trained on many games hardly
// moves at all.
TEST_F(AccumulatingStep, WeightsAreTheMeanOverTheTablesGames) {
    const test::Moves moves = test::Cpu1Game;
    Train(test::RecordOf(moves, 20));
    const WeightTable first = weights;
    accumulators.gamesTrained = 1;
    Train(test::RecordOf(moves, -20));
    int halfWay = 0;
    for (int w = 0; w < TotalWeights; ++w) {
        const double iterate = accumulators.iterate[static_cast<std::size_t>(w)];
        EXPECT_NEAR(weights[w], (first[w] + 4 * iterate) / 5, 1.0) << w;
        halfWay += weights[w] != first[w] && weights[w] != std::round(iterate);
    }
    EXPECT_GT(halfWay, 0);

    accumulators.gamesTrained = 100000;
    const WeightTable before = weights;
    Train(test::RecordOf(moves, 64));
    int moved = 0;
    for (int w = 0; w < TotalWeights; ++w)
        moved += std::abs(weights[w] - before[w]) > 1;
    EXPECT_EQ(moved, 0);
}

// From zero weights, a few dozen games already carry over to games training never sees: the
// held-out error falls with every block of games and ends well below where it started.
TEST(AccumulatingTraining, HeldOutErrorFallsFromZeroWeights) {
    InitPatterns();
    const std::vector<GameRecord> games = ReadGameLog(Resources / "holdout.txt").games;
    ASSERT_EQ(games.size(), 400u);
    const std::vector<GameRecord> heldOut(games.begin() + 300, games.end());
    WeightTable weights(WeightTableSize, 0);
    TrainingAccumulators accumulators;
    std::vector<double> errors = {HeldOutError(heldOut, weights)};
    for (int g = 0; g < 150; ++g) {
        GameDatabase database;
        database.Store(games[static_cast<std::size_t>(g)]);
        accumulators.gamesTrained = g;
        TrainOnStoredGames(database, weights, nullptr, accumulators, StepRule::Accumulating, {});
        if ((g + 1) % 50 == 0) errors.push_back(HeldOutError(heldOut, weights));
    }
    for (std::size_t k = 1; k < errors.size(); ++k)
        EXPECT_LT(errors[k], errors[k - 1]) << k;
    EXPECT_LT(errors.back(), 0.9 * errors.front());
}

// The held-out measure weighs each game alike: it is the mean of the games' own errors, and
// with zero weights a game's error is its result squared times its share of 60 positions.
TEST(HeldOutError, IsTheMeanOfEachGamesError) {
    InitPatterns();
    const WeightTable zero(WeightTableSize, 0);
    const std::vector<GameRecord> games = {test::RecordOf(test::FillingMoves(), 4),
                                           test::RecordOf(test::Cpu1Game, test::Cpu1GameResult)};
    EXPECT_NEAR(HeldOutError(games, zero), (16.0 + 100.0 * 50 / 60) / 2, 1e-9);
    EXPECT_EQ(HeldOutError({}, zero), 0.0);
}

// Weights whose header cannot be trusted load as missing and say why; the count stops at the
// largest int instead of wrapping.
TEST(WeightHeaderDamage, NegativeCountOrUnreadableNoteIsDamage) {
    test::TempDir dir;
    Weights weights;
    weights.table[3] = 7;
    weights.header.trainingGames = INT_MIN;
    ASSERT_TRUE(WriteWeightFile(dir / "a.dat", weights).ok);
    weights.header.trainingGames = 5;
    weights.header.note.fill('\x01');
    ASSERT_TRUE(WriteWeightFile(dir / "b.dat", weights).ok);
    for (const char* name : {"a.dat", "b.dat"}) {
        WeightLoadStatus status;
        const Weights loaded = LoadWeights(dir / name, &status);
        EXPECT_TRUE(status.damaged) << name;
        EXPECT_FALSE(status.message.empty()) << name;
        EXPECT_EQ(loaded.table[3], 0) << name;
        EXPECT_EQ(loaded.header.trainingGames, 0) << name;
    }
    EXPECT_EQ(AddTrainingGames(INT_MAX, 1), INT_MAX);
    EXPECT_EQ(AddTrainingGames(INT_MIN, 1), 1);
    EXPECT_EQ(AddTrainingGames(41, 1), 42);
}

class AdoptWeights : public ::testing::Test {
  protected:
    void SetUp() override {
        shipped.table[0] = 11;
        shipped.header.trainingGames = 100;
        ASSERT_TRUE(WriteWeightFile(dir / "weight4.dat", shipped).ok);
        inUse = shipped;
    }
    test::TempDir dir;
    Weights shipped, inUse;
};

TEST_F(AdoptWeights, CleanTrainedWeightsTakeThePlaceOfTheStartWeights) {
    Weights trained;
    trained.table[0] = 22;
    trained.header.trainingGames = 130;
    ASSERT_TRUE(WriteWeightFile(dir / "weight2.dat", trained).ok);
    const TrainedWeights candidate = ReadTrainedWeights(dir.Path());
    ASSERT_TRUE(candidate.ok);
    EXPECT_NE(AdoptQuestion(candidate.weights).find("130"), std::string::npos);

    const AdoptResult result = AdoptTrainedWeights(dir.Path(), inUse);
    EXPECT_TRUE(result.ok) << result.message;
    EXPECT_EQ(inUse.table[0], 22);
    EXPECT_EQ(LoadWeights(dir / "weight4.dat").table[0], 22);
    EXPECT_EQ(LoadWeights(dir / "weight4.bak").table[0], 11);
    EXPECT_EQ(LoadWeights(dir / "weight4.bak").header.trainingGames, 100);
    EXPECT_FALSE(std::filesystem::exists(TemporaryFileFor(dir / "weight4.dat")));
}

// Missing, damaged (negative count), cut-short and zero-headed weight2.dat are refused (for
// adoption and for selfplay --continue alike): nothing changes.
TEST_F(AdoptWeights, MissingOrDamagedTrainedWeightsChangeNothing) {
    Weights damaged;
    damaged.header.trainingGames = -3;
    for (int kind = 0; kind < 4; ++kind) {
        std::filesystem::remove(dir / "weight2.dat");
        if (kind == 1) {
            ASSERT_TRUE(WriteWeightFile(dir / "weight2.dat", damaged).ok);
        }
        if (kind == 2) {
            std::ofstream(dir / "weight2.dat", std::ios::binary) << std::string(1000, '\0');
        }
        if (kind == 3) {
            ASSERT_TRUE(WriteWeightFile(dir / "weight2.dat", Weights{}).ok);
        }
        const AdoptResult result = AdoptTrainedWeights(dir.Path(), inUse);
        EXPECT_FALSE(result.ok) << kind;
        EXPECT_NE(result.message.find("weight2.dat"), std::string::npos) << kind;
        EXPECT_EQ(inUse.table, shipped.table) << kind;
        EXPECT_EQ(LoadWeights(dir / "weight4.dat").table[0], 11) << kind;
        EXPECT_FALSE(std::filesystem::exists(dir / "weight4.bak")) << kind;
    }
}

// Training games open with random moves (different games from the same position), even where
// the book took its second-best move; later moves and games without training are the think's own.
TEST(RandomOpening, VariesTheFirstMovesOfTrainingGamesOnly) {
    const ThinkFunction lowest = [](const ThinkRequest& request, ThinkControl&) {
        LegalMap legal;
        CountLegalMoves(request.board, request.sideToMove, &legal);
        int square = 0;
        while (!legal[square])
            ++square;
        return ThinkOutcome{ThinkMoveReady, square, "BOOK次善手"};
    };
    const ThinkFunction varied = WithRandomOpening(lowest, 4, 7);
    struct : ThinkControl {
        bool AbortRequested() const override { return false; }
        void ShowPaneText(int, const std::string&) override {}
    } control;
    ThinkRequest request;
    request.board = StartPosition();
    const int own = lowest(request, control).square;
    EXPECT_EQ(varied(request, control).square, own);  // training off
    request.settings[TrainingModeSetting] = 1;
    std::set<int> first;
    for (int k = 0; k < 20; ++k)
        first.insert(varied(request, control).square);
    EXPECT_GT(first.size(), 1u);
    request.board = StartPosition();
    for (const auto& [colour, square] : test::RandomMoves(3, 4))
        PlayMove(request.board, square, colour);
    EXPECT_EQ(varied(request, control).square, lowest(request, control).square);
}

// A trainer on a damaged count goes on from 0 and numbers its log line 0.
TEST(TrainerCount, DamagedCountCountsFromZero) {
    InitPatterns();
    test::TempDir dir;
    Weights weights;
    weights.header.trainingGames = INT_MIN;
    Trainer trainer(weights, nullptr, dir.Path(), {});
    trainer.Train(test::RecordOf(test::Cpu1Game, test::Cpu1GameResult));
    EXPECT_EQ(weights.header.trainingGames, 1);
    std::ifstream log(dir / "Trainlog.txt");
    std::string line;
    std::getline(log, line);
    EXPECT_EQ(line.substr(0, 10), "        0 ");
}

}  // namespace
}  // namespace vell
