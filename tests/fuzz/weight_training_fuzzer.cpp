// Loads any bytes as a weight file, then runs one training pass on a game taken from the input,
// as the end of a game does: weights trained, weight2.dat saved, Trainlog.txt appended.
//
// Input: byte 0 chooses the file's shape, bytes 1..62 are the stored game (a damaged record is
// allowed), the rest is file content. With bit 0 of byte 0 clear the rest is the whole file, so
// short and odd-sized files come straight from the input. With it set the rest is a header (up
// to 256 bytes) after a full weight block that repeats the bytes following the header, so a small
// input reaches the header fields at offset 334600 that a file of its own size never has.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/game_record.h"
#include "learning/trainer.h"
#include "learning/weight_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::vector<std::uint8_t> FileBytes(const std::uint8_t* data, std::size_t size, bool padded) {
    if (!padded) return {data, data + size};
    const std::size_t headerSize = size < vell::WeightHeaderBytes ? size : vell::WeightHeaderBytes;
    const std::uint8_t* fill = data + headerSize;
    const std::size_t fillSize = size - headerSize;
    std::vector<std::uint8_t> bytes(vell::WeightBlockBytes, 0);
    if (fillSize > 0)
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = fill[i % fillSize];
    bytes.insert(bytes.end(), data, data + headerSize);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vell;
    if (size < 1 + 62) return 0;
    const bool padded = data[0] & 1;
    GameRecord record;
    std::memcpy(record.bytes.data(), data + 1, record.bytes.size());
    const std::vector<std::uint8_t> file = FileBytes(data + 63, size - 63, padded);

    const auto weightFile = fuzz::ScratchDir() / "weight4.dat";
    fuzz::WriteWholeFile(weightFile, file.data(), file.size());
    Weights weights = LoadWeights(weightFile);
    fuzz::Require(weights.table.size() == WeightTableSize, "a full weight table");

    std::filesystem::remove(fuzz::ScratchDir() / "Trainlog.txt");
    Trainer trainer(weights, nullptr, fuzz::ScratchDir(), [](const std::string&) {});
    trainer.Train(record);
    fuzz::Require(weights.table.size() == WeightTableSize, "training keeps the table's size");
    fuzz::Require(trainer.FilesCurrent(), "weight2.dat and Trainlog.txt written");

    // The saved file reads back as the weights in memory.
    const Weights saved = LoadWeights(fuzz::ScratchDir() / "weight2.dat");
    fuzz::Require(saved.table == weights.table, "weight2.dat holds the trained weights");
    fuzz::Require(saved.header.trainingGames == weights.header.trainingGames,
                  "weight2.dat holds the training game count");
    return 0;
}
