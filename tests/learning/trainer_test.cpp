#include "learning/trainer.h"

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "book/book.h"
#include "core/player_names.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"
#include "tests/core/fake_services.h"
#include "tests/learning/training_games.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

using test::ReadText;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Passes every call on to the trainer and keeps the records it was given.
class RecordingLearner : public GameLearner {
  public:
    explicit RecordingLearner(Trainer& trainer) : trainer(trainer) {}
    int TrainingGameCount() const override { return trainer.TrainingGameCount(); }
    void Train(const GameRecord& record) override {
        records.push_back(record);
        trainer.Train(record);
    }
    Trainer& trainer;
    std::vector<GameRecord> records;
};

class TrainerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPatterns();
        ASSERT_TRUE(book.Load(dir / "book.dat").ok);
    }
    Trainer MakeTrainer() {
        return Trainer(weights, &book, dir.Path(),
                       [this](const std::string& text) { reports.push_back(text); });
    }
    // Plays one game of two computer players that take the lowest legal square, to its end.
    void PlayGame(Settings& settings, GameLearner* learner) {
        testing::FakeServices services;
        testing::MemorySettingsWriter writer;
        GameFlow flow(services, settings, writer, testing::FirstLegalMove, learner, dir.Path());
        flow.StartGame();
        for (int tick = 0; tick < 1000 && writer.written.empty(); ++tick) {
            flow.OnTimer();
            services.RunWorkers();
        }
        ASSERT_EQ(writer.written, (std::vector<std::pair<int, int>>{{GamesPlayedSetting, 1}}));
        finalHistory = flow.History();
    }

    test::TempDir dir;
    Book book;
    Weights weights;
    std::vector<std::string> reports;
    GameHistory finalHistory;
};

// With training on, the end of a game logs it, trains on it, books its first fifteen positions,
// saves the weights with the game counted and appends the error line.
TEST_F(TrainerTest, FinishedGameWithTrainingOnWritesEveryFile) {
    Trainer trainer = MakeTrainer();
    RecordingLearner learner(trainer);
    Settings settings = DefaultSettings;
    settings[BlackPlayerSetting] = settings[WhitePlayerSetting] = Cpu1Player;
    settings[TrainingModeSetting] = 1;
    PlayGame(settings, &learner);

    ASSERT_EQ(learner.records.size(), 1u);
    const GameRecord& record = learner.records[0];
    const int moves = finalHistory.moveCount;
    const StoneCounts counts = CountStones(finalHistory.boardAtPly[moves]);
    EXPECT_EQ(record.MoveCount(), moves);
    EXPECT_EQ(record.Result(), counts[Black] - counts[White]);

    EXPECT_EQ(Lines(ReadText(dir / "vellkif.txt")).size(), 1u);
    EXPECT_EQ(ReadText(dir / "vellkif.txt").substr(0, 18), "        0 e CPU-1 ");

    const std::vector<std::string> log = Lines(ReadText(dir / "Trainlog.txt"));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(log[0], std::regex(R"( {8}0 \d+\.\d{6} -> \d+\.\d{6}\(-?\d+\.\d{6}\))")))
        << log[0];
    char before[32];
    std::snprintf(before, sizeof before, "%lf",
                  double(record.Result()) * record.Result() * moves / 60.0);
    EXPECT_EQ(log[0].substr(10, std::string(before).size()), before);

    const Weights saved = LoadWeights(dir / "weight2.dat");
    EXPECT_EQ(std::filesystem::file_size(dir / "weight2.dat"), WeightFileBytes);
    EXPECT_EQ(saved.header.trainingGames, 1);
    EXPECT_EQ(std::string(saved.header.note.data()), TrainedNote);
    EXPECT_EQ(saved.table, weights.table);
    EXPECT_NE(weights.table, WeightTable(WeightTableSize, 0));
    EXPECT_EQ(std::filesystem::file_size(dir / "book.dat"), 24u * std::min(15, moves));
    EXPECT_TRUE(reports.empty());
}

// With training off only the game log is written; weights and book stay as they were.
TEST_F(TrainerTest, FinishedGameWithTrainingOffTouchesNothingElse) {
    Trainer trainer = MakeTrainer();
    RecordingLearner learner(trainer);
    Settings settings = DefaultSettings;
    settings[BlackPlayerSetting] = settings[WhitePlayerSetting] = Cpu1Player;
    PlayGame(settings, &learner);

    EXPECT_TRUE(learner.records.empty());
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"vellkif.txt"});
    EXPECT_EQ(weights.table, WeightTable(WeightTableSize, 0));
    EXPECT_EQ(book.Count(), 0);
}

// A log that cannot be appended to (a folder stands in its place) is reported once; its lines
// wait in memory and are all written, in order, once the log can be written again.
TEST_F(TrainerTest, UnwritableLogIsReportedOnceAndItsLinesKept) {
    Trainer trainer = MakeTrainer();
    std::filesystem::create_directory(dir / "Trainlog.txt");
    const GameRecord record = test::RecordOf(test::Cpu1Game, test::Cpu1GameResult);
    trainer.Train(record);
    trainer.Train(record);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("Trainlog.txt"), std::string::npos);
    EXPECT_EQ(Lines(trainer.PendingLogLines()).size(), 2u);
    EXPECT_FALSE(trainer.FilesCurrent());
    EXPECT_EQ(LoadWeights(dir / "weight2.dat").header.trainingGames, 2);

    std::filesystem::remove(dir / "Trainlog.txt");
    trainer.Train(record);
    const std::vector<std::string> log = Lines(ReadText(dir / "Trainlog.txt"));
    ASSERT_EQ(log.size(), 3u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(log[k].substr(0, 9), "        " + std::to_string(k));
    EXPECT_TRUE(trainer.FilesCurrent());
    EXPECT_EQ(reports.size(), 1u);
}

// A full disk: the append fails at the flush, nothing of the line stays in the log, and the
// line is written whole once the log can take it, not doubled.
TEST_F(TrainerTest, FailedAppendOnAFullDiskLeavesWholeLines) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    Trainer trainer = MakeTrainer();
    std::filesystem::create_symlink("/dev/full", dir / "Trainlog.txt");
    const GameRecord record = test::RecordOf(test::Cpu1Game, test::Cpu1GameResult);
    trainer.Train(record);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_FALSE(trainer.FilesCurrent());
    std::filesystem::remove(dir / "Trainlog.txt");
    trainer.Train(record);
    const std::vector<std::string> log = Lines(ReadText(dir / "Trainlog.txt"));
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].substr(0, 10), "        0 ");
    EXPECT_EQ(log[1].substr(0, 10), "        1 ");
    EXPECT_TRUE(trainer.FilesCurrent());
}

// A disk that takes only part of a log line: the part is cut off again, and the line is written
// whole, once, when the log can take it.
TEST_F(TrainerTest, LogLineWrittenInPartIsCutBack) {
    Trainer trainer = MakeTrainer();
    const GameRecord record = test::RecordOf(test::Cpu1Game, test::Cpu1GameResult);
    trainer.Train(record);
    const std::string before = ReadText(dir / "Trainlog.txt");
    ASSERT_EQ(Lines(before).size(), 1u);
    {
        test::FileSizeLimit limit(before.size() + 10);
        trainer.Train(record);
    }
    EXPECT_EQ(ReadText(dir / "Trainlog.txt"), before);
    EXPECT_FALSE(trainer.FilesCurrent());
    trainer.Train(record);
    const std::vector<std::string> log = Lines(ReadText(dir / "Trainlog.txt"));
    ASSERT_EQ(log.size(), 3u);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(log[k].substr(0, 10), "        " + std::to_string(k) + " ");
}

// Weights adopted between two passes are trained from as they are: what the trainer learned
// before (its running mean) never comes back over them.
TEST_F(TrainerTest, AdoptedWeightsAreTrainedFromAfresh) {
    Trainer trainer = MakeTrainer();
    trainer.Train(test::RecordOf(test::Cpu1Game, test::Cpu1GameResult));
    Weights adopted;
    for (std::size_t i = 0; i < adopted.table.size(); ++i)
        adopted.table[i] = static_cast<std::int16_t>(static_cast<int>(i % 61) - 30);
    adopted.header.trainingGames = 50;
    weights = adopted;
    trainer.WeightsReplaced();
    const GameRecord next = test::RecordOf(test::RandomMoves(4, 60), 6);
    trainer.Train(next);

    test::TempDir otherDir;
    Weights fresh = adopted;
    Trainer reference(fresh, nullptr, otherDir.Path(), [](const std::string&) {});
    reference.Train(next);
    EXPECT_EQ(weights.header.trainingGames, 51);
    EXPECT_TRUE(weights.table == fresh.table);
}

// A weight file that cannot be replaced is reported once; the trained weights and the count
// stay in memory, the old file stays whole, and the next save that works writes them all.
TEST_F(TrainerTest, UnwritableWeightFileIsReportedOnceAndTheWeightsKept) {
    Trainer trainer = MakeTrainer();
    std::filesystem::create_directory(dir / "weight2.dat");
    const GameRecord record = test::RecordOf(test::Cpu1Game, test::Cpu1GameResult);
    trainer.Train(record);
    trainer.Train(record);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("weight2.dat"), std::string::npos);
    EXPECT_EQ(weights.header.trainingGames, 2);
    EXPECT_NE(weights.table, WeightTable(WeightTableSize, 0));
    EXPECT_FALSE(trainer.FilesCurrent());
    EXPECT_EQ(Lines(ReadText(dir / "Trainlog.txt")).size(), 2u);

    std::filesystem::remove(dir / "weight2.dat");
    trainer.Train(record);
    const Weights saved = LoadWeights(dir / "weight2.dat");
    EXPECT_EQ(saved.header.trainingGames, 3);
    EXPECT_EQ(saved.table, weights.table);
    EXPECT_TRUE(trainer.FilesCurrent());
    EXPECT_EQ(reports.size(), 1u);
}

// A book that refuses additions says so once, not once per position or per game.
TEST_F(TrainerTest, RefusingBookIsReportedOnce) {
    Book closed;
    Trainer trainer(weights, &closed, dir.Path(),
                    [this](const std::string& text) { reports.push_back(text); });
    const GameRecord record = test::RecordOf(test::Cpu1Game, test::Cpu1GameResult);
    EXPECT_FALSE(trainer.BookStopped());
    trainer.Train(record);
    trainer.Train(record);
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_EQ(Lines(ReadText(dir / "Trainlog.txt")).size(), 2u);
    // vellcli selfplay fails on it instead of reporting success.
    EXPECT_TRUE(trainer.BookStopped());
}

// The log line: games trained before this one, right-aligned in nine columns, and the errors
// with six decimals.
TEST(TrainingLogLine, FollowsTheLogFormat) {
    EXPECT_EQ(TrainingLogLine(0, {83.333333333, 7.25}),
              "        0 83.333333 -> 7.250000(-76.083333)\n");
    EXPECT_EQ(TrainingLogLine(123456789, {0.0, 0.0}), "123456789 0.000000 -> 0.000000(0.000000)\n");
}

}  // namespace
}  // namespace vell
