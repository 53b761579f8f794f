// Loads any bytes as book.dat, looks positions up and records a game, checking that the file
// keeps one record per record of the book and that record i of memory stays at offset 24 x i.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "book/book.h"
#include "core/board.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vell;
    const auto file = fuzz::ScratchDir() / "book.dat";
    fuzz::WriteWholeFile(file, data, size);

    Book book;
    const BookLoadStatus status = book.Load(file);
    fuzz::Require(status.ok, "an existing readable book loads");
    fuzz::Require(book.Count() == static_cast<int>(size / BookRecordSize),
                  "the book holds every whole record of its file");

    // A few early positions of one game, looked up and then recorded with a result taken from
    // the input, as training does.
    Board board = StartPosition();
    int side = White;
    const int result = size > 0 ? static_cast<std::int8_t>(data[0]) : 0;
    for (int ply = 0; ply < 4; ++ply) {
        const BookLookup lookup = book.Lookup(board, ply);
        if (lookup.found) {
            fuzz::Require(lookup.index >= 0 && lookup.index < book.Count(), "found index in range");
        }
        const BookAddResult added = book.AddGame(board, result);
        if (added.outcome == BookAddOutcome::Updated || added.outcome == BookAddOutcome::Appended) {
            const std::vector<std::uint8_t> bytes = ReadAll(file);
            // A short tail of a damaged file stays until the next new record covers it.
            fuzz::Require(bytes.size() / BookRecordSize == static_cast<std::size_t>(book.Count()),
                          "after a change the file holds the book's records");
            const BookRecord stored =
                DecodeBookRecord(std::span<const std::uint8_t, BookRecordSize>(
                    bytes.data() +
                        static_cast<std::size_t>(book.Lookup(board, ply).index) * BookRecordSize,
                    BookRecordSize));
            const BookRecord& held =
                book.Records()[static_cast<std::size_t>(book.Lookup(board, ply).index)];
            fuzz::Require(stored.count == held.count && stored.sum == held.sum &&
                              stored.code == held.code && stored.ply == held.ply,
                          "the record in the file is the record in memory");
        }
        LegalMap legal;
        if (CountLegalMoves(board, side, &legal) == 0) break;
        int square = 0;
        while (!legal[square])
            ++square;
        PlayMove(board, square, side);
        side = 1 - side;
    }
    return 0;
}
