#include "book/book.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

#include "book/position_code.h"

namespace vell {

namespace {

// A game adds one to a count and its result to a sum; a file may hold values near the ends of
// the range, so stop there instead of overflowing.
std::int32_t SaturatingAdd(std::int32_t a, std::int64_t b) {
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

constexpr const char* FullMessage = "FULL";
constexpr const char* StopNote = "\nこの実行では定石の追加を止めます。";

}  // namespace

BookLoadStatus Book::Load(const std::filesystem::path& bookFile) {
    *this = Book{};
    file = bookFile;
    BookFileRead read = ReadBookFile(file, AddLimit);
    try {
        if (read.ok) {
            records = std::move(read.records);
            index.Build(records, records.size() + AddLimit);
            return {};
        }
    } catch (const std::bad_alloc&) {
        records = {};
        index = BookIndex{};
        read.message = "メモリ確保に失敗しました。";
    }
    // Never write into a file that could not be read: its records would be overwritten.
    stopReason = read.message;
    return {false, std::move(read.message)};
}

BookLookup Book::Lookup(const Board& board, int ply) const {
    const std::int32_t found = index.Find(records, EncodePosition(board), ply);
    if (found < 0) return {};
    return {true, found, BookValue(records[static_cast<std::size_t>(found)])};
}

BookAddResult Book::Stop(std::string reason) {
    if (stopReason.empty()) stopReason = std::move(reason);
    if (stopReported) return {BookAddOutcome::Stopped, {}};
    stopReported = true;
    return {BookAddOutcome::Stopped, stopReason + StopNote};
}

BookAddResult Book::AddGame(const Board& board, int result) {
    if (file.empty()) return Stop("定石ファイルが決まっていません。");
    if (!stopReason.empty()) return Stop(stopReason);
    const int ply = 60 - CountStones(board)[Empty];
    const BookLookup known = Lookup(board, ply);
    if (known.found) {
        const auto i = static_cast<std::size_t>(known.index);
        BookRecord updated = records[i];
        updated.count = SaturatingAdd(updated.count, 1);
        updated.sum = SaturatingAdd(updated.sum, result);
        if (std::string failure = WriteBookRecord(file, i, updated, records.size());
            !failure.empty())
            return Stop(std::move(failure));
        records[i] = updated;
        return {BookAddOutcome::Updated, {}};
    }
    if (freeRecords <= 0) {
        const bool first = !fullReported;
        fullReported = true;
        return {BookAddOutcome::Full, first ? FullMessage : ""};
    }
    BookRecord added;
    added.count = 1;
    added.sum = SaturatingAdd(0, result);
    added.code = EncodePosition(board);
    added.ply = static_cast<std::int8_t>(ply);
    if (std::string failure = WriteBookRecord(file, records.size(), added, records.size());
        !failure.empty())
        return Stop(std::move(failure));
    records.push_back(added);
    index.Insert(records, static_cast<std::int32_t>(records.size() - 1));
    --freeRecords;
    return {BookAddOutcome::Appended, {}};
}

}  // namespace vell
