#include "book/book.h"

#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "book/board_symmetry.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/random_play.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// One record written out by hand, little-endian.
Bytes RecordBytes(std::int32_t count, std::int32_t sum, const PositionCode& code, int ply,
                  std::uint8_t pad0 = 0, std::uint8_t pad1 = 0) {
    Bytes bytes;
    for (std::int32_t v : {count, sum})
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
    bytes.insert(bytes.end(), code.begin(), code.end());
    bytes.push_back(static_cast<std::uint8_t>(ply));
    bytes.push_back(pad0);
    bytes.push_back(pad1);
    return bytes;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

int PlyOf(const Board& board) {
    return 60 - CountStones(board)[Empty];
}

// The lookup as a plain scan from record 0.
BookLookup ScanLookup(const Book& book, const Board& board, int ply) {
    const PositionCode code = EncodePosition(board);
    for (int i = 0; i < book.Count(); ++i) {
        const BookRecord& r = book.Records()[i];
        if (r.ply != ply || r.code != code) continue;
        return {true, i, r.count == 0 ? 0 : static_cast<int>(std::int64_t{r.sum} * 1000 / r.count)};
    }
    return {};
}

class BookFile : public ::testing::Test {
  protected:
    std::filesystem::path File() const { return dir / "book.dat"; }
    Book Loaded() {
        Book book;
        const BookLoadStatus status = book.Load(File());
        EXPECT_TRUE(status.ok) << status.message;
        return book;
    }

    test::TempDir dir;
    std::vector<Board> boards = test::RandomPlayBoards(31, 200);
};

TEST_F(BookFile, MissingFileGivesAnEmptyBookThatCreatesItsFile) {
    Book book = Loaded();
    EXPECT_EQ(book.Count(), 0);
    EXPECT_FALSE(book.Lookup(StartPosition(), 0).found);
    EXPECT_EQ(book.Lookup(StartPosition(), 0).value, 0);

    const BookAddResult added = book.AddGame(StartPosition(), -44);
    EXPECT_EQ(added.outcome, BookAddOutcome::Appended);
    EXPECT_TRUE(added.message.empty());
    EXPECT_EQ(ReadAll(File()), RecordBytes(1, -44, EncodePosition(StartPosition()), 0));
    const BookLookup found = book.Lookup(StartPosition(), 0);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.index, 0);
    EXPECT_EQ(found.value, -44000);
}

TEST_F(BookFile, UpdateRewritesOnlyItsOwnRecordAndAppendAddsAtTheEnd) {
    const Bytes original =
        Concat({RecordBytes(2, 10, EncodePosition(boards[1]), PlyOf(boards[1]), 0xAA, 0xBB),
                RecordBytes(5, -3, EncodePosition(boards[2]), PlyOf(boards[2]), 0xCC, 0xDD),
                RecordBytes(1, 64, EncodePosition(boards[3]), PlyOf(boards[3]))});
    WriteAll(File(), original);
    Book book = Loaded();
    ASSERT_EQ(book.Count(), 3);

    EXPECT_EQ(book.AddGame(boards[2], 7).outcome, BookAddOutcome::Updated);
    Bytes expected = original;
    const Bytes updated =
        RecordBytes(6, 4, EncodePosition(boards[2]), PlyOf(boards[2]), 0xCC, 0xDD);
    std::copy(updated.begin(), updated.end(), expected.begin() + 24);
    EXPECT_EQ(ReadAll(File()), expected);

    EXPECT_EQ(book.AddGame(boards[4], -2).outcome, BookAddOutcome::Appended);
    expected = Concat({expected, RecordBytes(1, -2, EncodePosition(boards[4]), PlyOf(boards[4]))});
    EXPECT_EQ(ReadAll(File()), expected);

    // What the file says is what the book holds, then and after a reload.
    Book reloaded = Loaded();
    ASSERT_EQ(reloaded.Count(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(EncodeBookRecord(reloaded.Records()[i]), EncodeBookRecord(book.Records()[i]));
    }
    EXPECT_EQ(reloaded.Lookup(boards[2], PlyOf(boards[2])).value, 4 * 1000 / 6);
}

TEST_F(BookFile, ValuesTruncateTowardZeroAndNeverOverflow) {
    struct Row {
        const char* label;
        std::int32_t count, sum;
        int value;
    };
    const Row rows[] = {
        {"count 3 sum -5", 3, -5, -1666},
        {"sum 0 is found with value 0", 4, 0, 0},
        {"count 0 gives 0", 0, 12, 0},
        {"sum x 1000 past 32 bits", 7, 3000000, 428571428},
        {"negative past 32 bits", 7, -3000000, -428571428},
        {"quotient past 32 bits stays inside the choice window", 1, 2147483647, 999999999},
        {"negative quotient stays inside the choice window", 1, -2147483647 - 1, -999999999},
        {"just past the window", 1, 1000000, 999999999},
        {"negative count", -2, 10, -5000},
    };
    Bytes bytes;
    for (std::size_t i = 0; i < std::size(rows); ++i)
        bytes = Concat({bytes, RecordBytes(rows[i].count, rows[i].sum,
                                           EncodePosition(boards[10 + i]), PlyOf(boards[10 + i]))});
    WriteAll(File(), bytes);
    const Book book = Loaded();
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const BookLookup found = book.Lookup(boards[10 + i], PlyOf(boards[10 + i]));
        EXPECT_TRUE(found.found) << rows[i].label;
        EXPECT_EQ(found.index, static_cast<int>(i)) << rows[i].label;
        EXPECT_EQ(found.value, rows[i].value) << rows[i].label;
    }
}

TEST_F(BookFile, ImagesAndEitherSideFindTheSameRecordButAnotherPlyDoesNot) {
    const Board board = boards[20];
    WriteAll(File(), Concat({RecordBytes(1, 1, EncodePosition(boards[5]), PlyOf(boards[5])),
                             RecordBytes(3, 9, EncodePosition(board), PlyOf(board))}));
    const Book book = Loaded();
    for (int j = 0; j < 8; ++j) {
        Board image;
        for (int s = 0; s < 64; ++s)
            image[s] = board[MapSquare(j, s)];
        const BookLookup found = book.Lookup(image, PlyOf(board));
        EXPECT_TRUE(found.found) << "image " << j;
        EXPECT_EQ(found.index, 1);
        EXPECT_EQ(found.value, 3000);
    }
    EXPECT_FALSE(book.Lookup(board, PlyOf(board) + 1).found);
    EXPECT_FALSE(book.Lookup(board, PlyOf(board) + 256).found);
}

TEST_F(BookFile, DuplicateRecordsAnswerAndUpdateTheFirst) {
    const Board board = boards[30];
    const Bytes first = RecordBytes(1, 2, EncodePosition(board), PlyOf(board));
    const Bytes second = RecordBytes(1, 50, EncodePosition(board), PlyOf(board));
    WriteAll(File(), Concat({RecordBytes(1, 1, EncodePosition(boards[6]), PlyOf(boards[6])), first,
                             second}));
    Book book = Loaded();
    EXPECT_EQ(book.Lookup(board, PlyOf(board)).index, 1);
    book.AddGame(board, 4);
    EXPECT_EQ(book.Records()[1].count, 2);
    EXPECT_EQ(book.Records()[1].sum, 6);
    EXPECT_EQ(book.Records()[2].sum, 50);
}

TEST_F(BookFile, TrailingPartIsIgnoredAndTheNextRecordGoesOverIt) {
    const Bytes records = Concat({RecordBytes(1, 1, EncodePosition(boards[7]), PlyOf(boards[7])),
                                  RecordBytes(1, 2, EncodePosition(boards[8]), PlyOf(boards[8]))});
    WriteAll(File(), Concat({records, Bytes{1, 2, 3, 4, 5}}));
    Book book = Loaded();
    EXPECT_EQ(book.Count(), 2);
    EXPECT_EQ(book.AddGame(boards[9], 3).outcome, BookAddOutcome::Appended);
    EXPECT_EQ(ReadAll(File()),
              Concat({records, RecordBytes(1, 3, EncodePosition(boards[9]), PlyOf(boards[9]))}));
}

TEST_F(BookFile, FullAfterTheRunsLimitIsReportedOnceWhileUpdatesGoOn) {
    Book book = Loaded();
    std::mt19937 random(41);
    const Board first = test::RandomBoard(random);
    ASSERT_EQ(book.AddGame(first, 1).outcome, BookAddOutcome::Appended);
    int appended = 1;
    while (appended < Book::AddLimit) {
        const BookAddResult result = book.AddGame(test::RandomBoard(random), 1);
        ASSERT_NE(result.outcome, BookAddOutcome::Stopped) << result.message;
        appended += result.outcome == BookAddOutcome::Appended;
    }
    EXPECT_EQ(book.FreeRecords(), 0);
    const int count = book.Count();
    const Board fresh = test::RandomBoard(random);
    const BookAddResult full = book.AddGame(fresh, 1);
    EXPECT_EQ(full.outcome, BookAddOutcome::Full);
    EXPECT_EQ(full.message, "FULL");
    const BookAddResult again = book.AddGame(fresh, 1);
    EXPECT_EQ(again.outcome, BookAddOutcome::Full);
    EXPECT_TRUE(again.message.empty());
    EXPECT_EQ(book.Count(), count);
    EXPECT_EQ(std::filesystem::file_size(File()), 24u * count);

    EXPECT_EQ(book.AddGame(first, 5).outcome, BookAddOutcome::Updated);
    EXPECT_EQ(book.Records()[0].count, 2);

    // A new run may add again.
    Book nextRun = Loaded();
    EXPECT_EQ(nextRun.AddGame(fresh, 1).outcome, BookAddOutcome::Appended);
}

TEST_F(BookFile, FailedWriteStopsAddingReportsOnceAndKeepsMemoryAsTheFile) {
    Book book = Loaded();
    ASSERT_EQ(book.AddGame(boards[1], 1).outcome, BookAddOutcome::Appended);
    ASSERT_EQ(book.AddGame(boards[2], 1).outcome, BookAddOutcome::Appended);
    std::filesystem::remove(File());

    const BookAddResult update = book.AddGame(boards[1], 1);
    EXPECT_EQ(update.outcome, BookAddOutcome::Stopped);
    EXPECT_FALSE(update.message.empty());
    EXPECT_EQ(book.Records()[0].count, 1);
    const BookAddResult append = book.AddGame(boards[3], 1);
    EXPECT_EQ(append.outcome, BookAddOutcome::Stopped);
    EXPECT_TRUE(append.message.empty());
    EXPECT_EQ(book.Count(), 2);
    EXPECT_FALSE(std::filesystem::exists(File()));

    // A folder in the file's place: it cannot be read, and nothing is written into it.
    std::filesystem::create_directory(File());
    Book blocked;
    EXPECT_FALSE(blocked.Load(File()).ok);
    EXPECT_EQ(blocked.Count(), 0);
    EXPECT_EQ(blocked.AddGame(boards[1], 1).outcome, BookAddOutcome::Stopped);

    Book unnamed;
    const BookAddResult noFile = unnamed.AddGame(boards[1], 1);
    EXPECT_EQ(noFile.outcome, BookAddOutcome::Stopped);
    EXPECT_FALSE(noFile.message.empty());
}

// Another program changed the file after the load: the book writes nothing into it (a record
// would land in the wrong place) and stops taking additions.
TEST_F(BookFile, FileChangedByAnotherProgramAfterTheLoadIsLeftAlone) {
    Book book = Loaded();
    ASSERT_EQ(book.AddGame(boards[1], 1).outcome, BookAddOutcome::Appended);
    const Bytes changed =
        Concat({ReadAll(File()), RecordBytes(3, 9, EncodePosition(boards[5]), PlyOf(boards[5]))});
    WriteAll(File(), changed);
    for (const Board& board : {boards[1], boards[2]}) {
        const BookAddResult result = book.AddGame(board, 1);
        EXPECT_EQ(result.outcome, BookAddOutcome::Stopped);
        EXPECT_EQ(ReadAll(File()), changed);
    }
    EXPECT_EQ(book.Count(), 1);
}

// A disk that takes only part of an appended record: the part is cut off again, so the file
// keeps whole records and the book stops taking additions.
TEST_F(BookFile, RecordAppendedInPartIsCutBackToWholeRecords) {
    Book book = Loaded();
    ASSERT_EQ(book.AddGame(boards[1], 1).outcome, BookAddOutcome::Appended);
    ASSERT_EQ(book.AddGame(boards[2], 1).outcome, BookAddOutcome::Appended);
    const Bytes before = ReadAll(File());
    {
        test::FileSizeLimit limit(before.size() + 8);
        EXPECT_EQ(book.AddGame(boards[3], 1).outcome, BookAddOutcome::Stopped);
    }
    EXPECT_EQ(ReadAll(File()), before);
    EXPECT_EQ(book.Count(), 2);
}

TEST_F(BookFile, IndexAnswersAsAScanFromTheFirstRecord) {
    // A book with repeated positions, other plies and the run of a whole game, checked against
    // the plain scan for positions in and out of it.
    std::mt19937 random(51);
    const std::vector<Board> games = test::RandomPlayBoards(52, 3000);
    Bytes bytes;
    for (int i = 0; i < 2000; ++i) {
        const Board& board = games[std::uniform_int_distribution<int>(0, 1999)(random)];
        const int ply = PlyOf(board) + (i % 17 == 0 ? 1 : 0);
        bytes = Concat({bytes, RecordBytes(1 + i % 5, i % 129 - 64, EncodePosition(board), ply)});
    }
    WriteAll(File(), bytes);
    const Book book = Loaded();
    for (const Board& board : games) {
        const BookLookup fast = book.Lookup(board, PlyOf(board));
        const BookLookup scan = ScanLookup(book, board, PlyOf(board));
        ASSERT_EQ(fast.found, scan.found) << BoardToText(board);
        ASSERT_EQ(fast.index, scan.index) << BoardToText(board);
        ASSERT_EQ(fast.value, scan.value) << BoardToText(board);
    }
}

TEST_F(BookFile, TwoThreadsLookUpAtOnce) {
    Book book = Loaded();
    for (int i = 0; i < 100; ++i)
        book.AddGame(boards[i], i % 7 - 3);
    std::vector<BookLookup> expected;
    for (const Board& board : boards)
        expected.push_back(book.Lookup(board, PlyOf(board)));
    auto check = [&](int* mismatches) {
        for (int round = 0; round < 20; ++round)
            for (std::size_t i = 0; i < boards.size(); ++i) {
                const BookLookup got = book.Lookup(boards[i], PlyOf(boards[i]));
                *mismatches += got.found != expected[i].found || got.index != expected[i].index ||
                               got.value != expected[i].value;
            }
    };
    int first = 0, second = 0;
    std::thread other(check, &first);
    check(&second);
    other.join();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 0);
}

// Random bytes as book.dat: every length loads, answers lookups and takes additions that keep
// the file and the book alike.
TEST_F(BookFile, AnyBytesLoad) {
    std::mt19937 random(61);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        std::size_t size = round < 50
                               ? static_cast<std::size_t>(round)
                               : std::uniform_int_distribution<std::size_t>(0, 24 * 40)(random);
        if (round % 500 == 7)
            size = std::uniform_int_distribution<std::size_t>(0, 24 * 5000)(random);
        Bytes bytes(size);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(byte(random));
        // Some records get a real position so that lookups and updates find them.
        for (std::size_t at = 0; at + 24 <= size && at < 24 * 4; at += 24) {
            const Board& board = boards[(round + at) % boards.size()];
            const PositionCode code = EncodePosition(board);
            std::copy(code.begin(), code.end(), bytes.begin() + at + 8);
            bytes[at + 21] = static_cast<std::uint8_t>(PlyOf(board));
        }
        if (round % 10 == 0) {
            const std::vector<BookRecord> records = DecodeBookRecords(bytes);
            ASSERT_EQ(records.size(), size / 24);
            for (std::size_t i = 0; i < records.size(); ++i) {
                const BookRecordBytes encoded = EncodeBookRecord(records[i]);
                ASSERT_TRUE(std::equal(encoded.begin(), encoded.end(), bytes.begin() + 24 * i));
            }
            continue;
        }
        WriteAll(File(), bytes);
        Book book = Loaded();
        ASSERT_EQ(book.Count(), static_cast<int>(size / 24));
        for (int i = 0; i < 3; ++i) {
            const Board& board = boards[(round + 24 * i) % boards.size()];
            const BookLookup fast = book.Lookup(board, PlyOf(board));
            const BookLookup scan = ScanLookup(book, board, PlyOf(board));
            ASSERT_EQ(fast.index, scan.index);
            if (fast.found) {
                ASSERT_EQ(fast.value, BookValue(book.Records()[fast.index]));
            }
            const BookAddResult result = book.AddGame(board, 64);
            ASSERT_NE(result.outcome, BookAddOutcome::Stopped) << result.message;
        }
        const Bytes after = ReadAll(File());
        ASSERT_EQ(after.size() / 24, static_cast<std::size_t>(book.Count()));
        for (int i = 0; i < book.Count(); ++i)
            ASSERT_TRUE(std::equal(after.begin() + 24 * i, after.begin() + 24 * i + 24,
                                   EncodeBookRecord(book.Records()[i]).begin()));
    }
}

}  // namespace
}  // namespace vell
