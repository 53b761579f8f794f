#include "learning/weight_file.h"

#include <fstream>
#include <iterator>
#include <random>

#include <gtest/gtest.h>

#include "core/folder_lock.h"
#include "tests/support/temp_dir.h"

namespace vell {
namespace {

std::vector<std::uint8_t> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

class WeightFile : public ::testing::Test {
  protected:
    test::TempDir dir;
};

TEST_F(WeightFile, MissingFileGivesZeroWeightsAndTheNoFileHeader) {
    const Weights weights = LoadWeights(dir / "weight4.dat");
    EXPECT_EQ(weights.table, WeightTable(WeightTableSize, 0));
    EXPECT_EQ(DataInfoText(weights.header),
              "ファイル名:weight2.dat\nバージョン: 4.00.01\nトレーニング試合数:0\n"
              "特記事項:バージョン情報なし2\n");
}

TEST_F(WeightFile, WeightsOnlyFileGivesTheNoHeaderNote) {
    std::vector<std::uint8_t> bytes(WeightBlockBytes, 0);
    bytes[0] = 0x34;
    bytes[1] = 0x12;
    bytes[WeightBlockBytes - 2] = 0x00;
    bytes[WeightBlockBytes - 1] = 0x80;
    WriteAll(dir / "weight4.dat", bytes);
    const Weights weights = LoadWeights(dir / "weight4.dat");
    EXPECT_EQ(weights.table[0], 0x1234);
    EXPECT_EQ(weights.table[WeightTableSize - 1], -32768);
    EXPECT_EQ(DataInfoText(weights.header),
              "ファイル名:weight2.dat\nバージョン: 4.00.01\nトレーニング試合数:0\n"
              "特記事項:バージョン情報なし\n");
}

TEST_F(WeightFile, EncodingIsLittleEndianByteForByte) {
    Weights weights;
    weights.table[0] = 0x1234;
    weights.table[1] = -2;
    weights.table[MobilityWeight] = 0x0102;
    weights.table[WeightTableSize - 1] = -32768;
    weights.header.major = 0x01020304;
    weights.header.minor = -1;
    weights.header.revision = 7;
    weights.header.trainingGames = 0x00ABCDEF;
    weights.header.note[0] = 'A';
    weights.header.note[239] = 'Z';
    const std::vector<std::uint8_t> bytes = EncodeWeightFile(weights);
    ASSERT_EQ(bytes.size(), 334856u);
    const std::vector<std::pair<std::size_t, std::uint8_t>> expected = {
        {0, 0x34},      {1, 0x12},      {2, 0xFE},      {3, 0xFF},      {334530, 0x02},
        {334531, 0x01}, {334598, 0x00}, {334599, 0x80}, {334600, 0x04}, {334601, 0x03},
        {334602, 0x02}, {334603, 0x01}, {334604, 0xFF}, {334607, 0xFF}, {334608, 7},
        {334609, 0},    {334612, 0xEF}, {334613, 0xCD}, {334614, 0xAB}, {334615, 0},
        {334616, 'A'},  {334617, 0},    {334855, 'Z'}};
    for (auto [offset, value] : expected)
        EXPECT_EQ(bytes[offset], value) << "offset " << offset;
    EXPECT_EQ(DecodeWeightFile(bytes).table, weights.table);
}

TEST_F(WeightFile, SavedFileReadsBackWithTheTrainedNote) {
    Weights weights;
    std::mt19937 random(5);
    for (auto& w : weights.table)
        w = static_cast<std::int16_t>(std::uniform_int_distribution<int>(-32768, 32767)(random));
    weights.header.major = 4;
    weights.header.minor = 10;
    weights.header.revision = 2;
    weights.header.trainingGames = 41;
    const std::string longNote = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::copy(longNote.begin(), longNote.end(), weights.header.note.begin());

    const WeightSaveStatus status = SaveTrainedWeights(dir / "weight2.dat", weights, 1);
    ASSERT_TRUE(status.ok) << status.message;
    EXPECT_EQ(weights.header.trainingGames, 42);

    const std::vector<std::uint8_t> bytes = ReadAll(dir / "weight2.dat");
    ASSERT_EQ(bytes.size(), WeightFileBytes);
    EXPECT_EQ(bytes, EncodeWeightFile(weights));
    // The note is "特になし♪" in Shift-JIS, its zero, then what lay beyond it before.
    const std::vector<std::uint8_t> note(bytes.begin() + 334616, bytes.begin() + 334616 + 14);
    EXPECT_EQ(note, (std::vector<std::uint8_t>{0x93, 0xC1, 0x82, 0xC9, 0x82, 0xC8, 0x82, 0xB5, 0x81,
                                               0xF4, 0x00, 'L', 'M', 'N'}));

    std::filesystem::rename(dir / "weight2.dat", dir / "weight4.dat");
    const Weights loaded = LoadWeights(dir / "weight4.dat");
    EXPECT_EQ(loaded.table, weights.table);
    EXPECT_EQ(DataInfoText(loaded.header),
              "ファイル名:weight2.dat\nバージョン: 4.10.02\nトレーニング試合数:42\n"
              "特記事項:特になし♪\n");
    EXPECT_FALSE(std::filesystem::exists(TemporaryFileFor(dir / "weight2.dat")));
}

TEST_F(WeightFile, ShortAndLongFilesTakeWhatTheyCover) {
    struct Row {
        const char* label;
        std::size_t size;
        const char* infoVersion;
        std::int32_t games;
    };
    const Row rows[] = {
        {"empty", 0, " 0.00.00", 0},
        {"one odd byte", 1, " 0.00.00", 0},
        {"three bytes", 3, " 0.00.00", 0},
        {"weights less one byte", WeightBlockBytes - 1, " 0.00.00", 0},
        {"weights and one header byte", WeightBlockBytes + 1, "11.00.00", 0},
        {"weights and half the games", WeightBlockBytes + 14, "11.22.33", 0x4544},
        {"whole file", WeightFileBytes, "11.22.33", 0x47464544},
        {"longer file", WeightFileBytes + 1000, "11.22.33", 0x47464544},
    };
    std::vector<std::uint8_t> source(WeightFileBytes + 1000, 0);
    for (std::size_t i = 0; i < WeightBlockBytes; ++i)
        source[i] = static_cast<std::uint8_t>(i);
    source[WeightBlockBytes] = 11;
    source[WeightBlockBytes + 4] = 22;
    source[WeightBlockBytes + 8] = 33;
    for (int i = 0; i < 4; ++i)
        source[WeightBlockBytes + 12 + i] = static_cast<std::uint8_t>(0x44 + i);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        WriteAll(dir / "weight4.dat",
                 std::vector<std::uint8_t>(source.begin(), source.begin() + row.size));
        const Weights weights = LoadWeights(dir / "weight4.dat");
        const std::size_t whole = std::min(row.size / 2, std::size_t{WeightTableSize});
        for (std::size_t i = 0; i < WeightTableSize; ++i) {
            const auto expected =
                i < whole ? static_cast<std::int16_t>(source[2 * i] | (source[2 * i + 1] << 8)) : 0;
            ASSERT_EQ(weights.table[i], expected) << "weight " << i;
        }
        EXPECT_EQ(DataInfoText(weights.header),
                  "ファイル名:weight2.dat\nバージョン:" + std::string(row.infoVersion) +
                      "\nトレーニング試合数:" + std::to_string(row.games) + "\n特記事項:\n");
    }
}

TEST_F(WeightFile, FailedSaveKeepsTheOldFileAndSaysWhy) {
    // A folder stands where the file should go, so the rename cannot replace it.
    std::filesystem::create_directories(dir / "weight2.dat" / "inside");
    Weights weights;
    weights.table[5] = 9;
    const WeightSaveStatus status = SaveTrainedWeights(dir / "weight2.dat", weights, 1);
    EXPECT_FALSE(status.ok);
    EXPECT_FALSE(status.message.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "weight2.dat" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(TemporaryFileFor(dir / "weight2.dat")));
    EXPECT_EQ(weights.table[5], 9);
    EXPECT_EQ(weights.header.trainingGames, 1);

    const WeightSaveStatus noFolder = WriteWeightFile(dir / "missing" / "weight2.dat", weights);
    EXPECT_FALSE(noFolder.ok);
}

TEST(ShiftJisText, ProgramNotesDecodeToTheirTexts) {
    EXPECT_EQ(ShiftJisToUtf8(NoFileNote), "バージョン情報なし2");
    EXPECT_EQ(ShiftJisToUtf8(NoHeaderNote), "バージョン情報なし");
    EXPECT_EQ(ShiftJisToUtf8(TrainedNote), "特になし♪");
    EXPECT_EQ(ShiftJisToUtf8(std::string_view("abc\0def", 7)), "abc");
}

TEST(ShiftJisText, BytesThatAreNotShiftJisBecomeReplacementCharacters) {
    EXPECT_EQ(ShiftJisToUtf8("a\x81"), "a\xEF\xBF\xBD");  // cut off lead byte
    EXPECT_EQ(ShiftJisToUtf8("\xFF"
                             "b"),
              "\xEF\xBF\xBD"
              "b");                                               // never a lead byte
    EXPECT_EQ(ShiftJisToUtf8("\x93\xC1\xA0"), "特\xEF\xBF\xBD");  // unassigned single byte
}

bool IsUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80         ? 1
                           : (c >> 5) == 6  ? 2
                           : (c >> 4) == 14 ? 3
                           : (c >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2) return false;
        i += length;
    }
    return true;
}

// Random bytes of every length class: each decodes without a fault and with the weights the
// bytes hold, and the data text stays valid UTF-8.
TEST_F(WeightFile, AnyBytesLoad) {
    std::mt19937 random(77);
    std::uniform_int_distribution<int> byte(0, 255);
    const std::size_t boundaries[] = {0,
                                      1,
                                      2,
                                      WeightBlockBytes - 1,
                                      WeightBlockBytes,
                                      WeightBlockBytes + 1,
                                      WeightFileBytes - 1,
                                      WeightFileBytes,
                                      WeightFileBytes + 1};
    std::vector<std::uint8_t> bytes;
    for (int round = 0; round < 3000; ++round) {
        std::size_t size;
        if (round < 9)
            size = boundaries[round];
        else if (round % 10 == 0)
            size = WeightBlockBytes + std::uniform_int_distribution<std::size_t>(0, 300)(random);
        else if (round % 50 == 1)
            size = std::uniform_int_distribution<std::size_t>(0, WeightFileBytes + 5000)(random);
        else
            size = std::uniform_int_distribution<std::size_t>(0, 600)(random);
        bytes.resize(size);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(byte(random));
        const Weights weights = DecodeWeightFile(bytes);
        const std::size_t whole = std::min(size / 2, std::size_t{WeightTableSize});
        if (whole > 0) {
            ASSERT_EQ(static_cast<std::uint16_t>(weights.table[whole - 1]),
                      bytes[2 * whole - 2] | (bytes[2 * whole - 1] << 8));
        }
        ASSERT_TRUE(IsUtf8(DataInfoText(weights.header))) << "size " << size;
        if (round % 100 == 0) {
            WriteAll(dir / "weight4.dat", bytes);
            WeightLoadStatus status;
            const Weights loaded = LoadWeights(dir / "weight4.dat", &status);
            EXPECT_EQ(status.damaged, !HeaderDamage(weights.header).empty()) << "size " << size;
            EXPECT_EQ(loaded.table,
                      status.damaged ? WeightTable(WeightTableSize, 0) : weights.table);
        }
    }
}

TEST(ShiftJisText, RandomNotesGiveValidUtf8) {
    std::mt19937 random(99);
    WeightHeader header;
    for (int round = 0; round < 3000; ++round) {
        for (auto& c : header.note)
            c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(random));
        ASSERT_TRUE(IsUtf8(DataInfoText(header)));
    }
}

}  // namespace
}  // namespace vell
