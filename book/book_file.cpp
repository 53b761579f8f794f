#include "book/book_file.h"

#include <algorithm>
#include <cassert>
#include <fstream>
#include <new>
#include <system_error>

namespace vell {

namespace {

void PutInt32(std::uint8_t* out, std::int32_t value) {
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t GetInt32(const std::uint8_t* in) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t{in[i]} << (8 * i);
    return static_cast<std::int32_t>(u);
}

}  // namespace

BookRecordBytes EncodeBookRecord(const BookRecord& record) {
    BookRecordBytes bytes{};
    PutInt32(&bytes[0], record.count);
    PutInt32(&bytes[4], record.sum);
    std::copy(record.code.begin(), record.code.end(), bytes.begin() + 8);
    bytes[21] = static_cast<std::uint8_t>(record.ply);
    bytes[22] = record.padding[0];
    bytes[23] = record.padding[1];
    return bytes;
}

BookRecord DecodeBookRecord(std::span<const std::uint8_t, BookRecordSize> bytes) {
    BookRecord record;
    record.count = GetInt32(&bytes[0]);
    record.sum = GetInt32(&bytes[4]);
    std::copy(bytes.begin() + 8, bytes.begin() + 21, record.code.begin());
    record.ply = static_cast<std::int8_t>(bytes[21]);
    record.padding = {bytes[22], bytes[23]};
    return record;
}

std::vector<BookRecord> DecodeBookRecords(std::span<const std::uint8_t> bytes, std::size_t spare) {
    std::vector<BookRecord> records;
    records.reserve(bytes.size() / BookRecordSize + spare);
    for (std::size_t at = 0; at + BookRecordSize <= bytes.size(); at += BookRecordSize)
        records.push_back(DecodeBookRecord(bytes.subspan(at).first<BookRecordSize>()));
    return records;
}

int BookValue(const BookRecord& record) {
    if (record.count == 0) return 0;
    const std::int64_t value = std::int64_t{record.sum} * 1000 / record.count;
    return static_cast<int>(std::clamp<std::int64_t>(value, -BookValueLimit, BookValueLimit));
}

BookFileRead ReadBookFile(const std::filesystem::path& file, std::size_t spare) {
    BookFileRead read;
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return read;  // no book yet
    std::uintmax_t size = 0;
    if (!error && std::filesystem::is_regular_file(status))
        size = std::filesystem::file_size(file, error);
    std::ifstream in(file, std::ios::binary);
    if (error || !std::filesystem::is_regular_file(status) || !in) {
        read.ok = false;
        read.message = "定石ファイル " + file.string() + " を読めません。";
        return read;
    }
    const std::uintmax_t whole = size / BookRecordSize;
    try {
        std::vector<std::uint8_t> bytes(whole * BookRecordSize);
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (static_cast<std::uintmax_t>(in.gcount()) != bytes.size()) {
            read.ok = false;
            read.message = "定石ファイル " + file.string() + " を読めません。";
            return read;
        }
        read.records = DecodeBookRecords(bytes, spare);
    } catch (const std::bad_alloc&) {
        read = BookFileRead{};
        read.ok = false;
        read.message = "メモリ確保に失敗しました。";
    }
    return read;
}

std::string WriteBookRecord(const std::filesystem::path& file, std::size_t index,
                            const BookRecord& record, std::size_t bookRecords) {
    assert(index <= bookRecords);
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    if (error)
        return "定石ファイル " + file.string() + " を調べられません。(" + error.message() + ")";
    if (!exists) {
        if (bookRecords != 0) return "定石ファイル " + file.string() + " がなくなっています。";
        std::ofstream create(file, std::ios::binary);
        if (!create) return "定石ファイル " + file.string() + " を作れません。";
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return "定石ファイル " + file.string() + " の大きさが分かりません。(" + error.message() +
               ")";
    if (size / BookRecordSize != bookRecords)
        return "定石ファイル " + file.string() + " の記録の数がメモリの定石と違っています。";

    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) return "定石ファイル " + file.string() + " を書き込み用に開けません。";
    const BookRecordBytes bytes = EncodeBookRecord(record);
    out.seekp(static_cast<std::streamoff>(index * BookRecordSize));
    out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    out.flush();
    out.close();
    if (out.fail()) {
        // A record appended in part (a disk that filled up) is cut off again, so the file keeps
        // whole records only.
        if (index == bookRecords) {
            std::error_code cut;
            std::filesystem::resize_file(file, index * BookRecordSize, cut);
        }
        return "定石ファイル " + file.string() + " に書き込めません。";
    }
    return {};
}

}  // namespace vell
