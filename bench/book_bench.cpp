#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "book/book.h"
#include "book/book_file.h"
#include "tests/support/random_play.h"
#include "tests/support/temp_dir.h"

namespace {

constexpr int BookSize = 1000000;

// A book.dat of one million records: positions of random games (each kept once) topped up with
// random boards, so the plies and codes look like a grown book.
struct MillionBook {
    MillionBook() {
        std::ofstream out(File(), std::ios::binary);
        std::mt19937 random(3);
        std::vector<vell::Board> games = vell::test::RandomPlayBoards(4, 200000);
        for (int i = 0; i < BookSize; ++i) {
            const vell::Board board = i < static_cast<int>(games.size())
                                          ? games[static_cast<std::size_t>(i)]
                                          : vell::test::RandomBoard(random);
            if (i % 100 == 0) probes.push_back(board);
            vell::BookRecord record;
            record.count = 1 + i % 9;
            record.sum = i % 129 - 64;
            record.code = vell::EncodePosition(board);
            record.ply = static_cast<std::int8_t>(60 - vell::CountStones(board)[vell::Empty]);
            const auto bytes = vell::EncodeBookRecord(record);
            out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        }
        for (int i = 0; i < 1000; ++i)
            misses.push_back(vell::test::RandomBoard(random));
    }
    std::filesystem::path File() const { return dir / "book.dat"; }

    vell::test::TempDir dir;
    std::vector<vell::Board> probes, misses;
};

MillionBook& Shared() {
    static MillionBook book;
    return book;
}

void BM_BookLoadMillion(benchmark::State& state) {
    MillionBook& data = Shared();
    for (auto _ : state) {
        vell::Book book;
        benchmark::DoNotOptimize(book.Load(data.File()).ok);
        if (book.Count() != BookSize) state.SkipWithError("wrong record count");
    }
}
BENCHMARK(BM_BookLoadMillion)->Unit(benchmark::kMillisecond)->Iterations(5);

void LookupIn(benchmark::State& state, const std::vector<vell::Board>& boards, bool expectFound) {
    vell::Book book;
    book.Load(Shared().File());
    std::vector<int> plies;
    for (const vell::Board& b : boards)
        plies.push_back(60 - vell::CountStones(b)[vell::Empty]);
    std::size_t i = 0;
    for (auto _ : state) {
        const std::size_t k = i++ % boards.size();
        const vell::BookLookup found = book.Lookup(boards[k], plies[k]);
        if (found.found != expectFound && expectFound) state.SkipWithError("probe not found");
        benchmark::DoNotOptimize(found);
    }
}

void BM_BookLookupMillionFound(benchmark::State& state) {
    LookupIn(state, Shared().probes, true);
}
BENCHMARK(BM_BookLookupMillionFound)->Unit(benchmark::kNanosecond);

void BM_BookLookupMillionMissing(benchmark::State& state) {
    LookupIn(state, Shared().misses, false);
}
BENCHMARK(BM_BookLookupMillionMissing)->Unit(benchmark::kNanosecond);

}  // namespace
