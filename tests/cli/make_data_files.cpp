// Writes the weight and book files that the vellcli data checks read, into the folder given as
// the only argument: the files come from the library's own save and add routines.
#include <bit>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "book/book.h"
#include "learning/pattern_eval.h"
#include "learning/weight_file.h"

int main(int argc, char** argv) {
    using namespace vell;
    if (argc != 2) {
        std::cerr << "usage: make_data_files FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);

    // Every empty second row reads weight 3 (four instances at the start: 120), the parity 50.
    Weights weights;
    weights.table[PatternOffsets[5] + 6560] = 3;
    weights.table[ParityWeight] = 50;
    weights.header = {4, 10, 2, 41, {}};
    if (!SaveTrainedWeights(folder / "weight4.dat", weights, 1).ok) return 1;
    const std::vector<std::uint8_t> bytes = EncodeWeightFile(weights);
    std::ofstream(folder / "weights-only.dat", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), WeightBlockBytes);
    std::ofstream(folder / "short.dat", std::ios::binary).write("\x01\x02\x03", 3);

    // The start position after three games, then white's first legal move in square order
    // after two, one seen mirrored.
    Book book;
    book.Load(folder / "book.dat");
    const Board start = StartPosition();
    Board moved = start;
    PlayMove(moved, std::countr_zero(LegalMoves(StonesOf(start, White), StonesOf(start, Black))),
             White);
    Board mirrored;
    for (int s = 0; s < 64; ++s)
        mirrored[s] = moved[(7 - s / 8) * 8 + s % 8];
    for (auto [board, result] :
         {std::pair{start, 10}, {start, -4}, {start, 0}, {moved, 10}, {mirrored, -3}})
        if (!book.AddGame(board, result).message.empty()) return 1;
    std::cout << BoardToText(moved) << "\n";
    return 0;
}
