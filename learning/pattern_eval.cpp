#include "learning/pattern_eval.h"

#include <algorithm>
#include <bit>
#include <cassert>

#include "book/board_symmetry.h"
#include "core/cpu_level.h"

namespace vell {

namespace {

struct PatternSquares {
    int n;
    std::array<int, 10> column, row;
    std::int16_t flags;
};

// Squares as (column, row) in reading order.
constexpr std::array<PatternSquares, PatternCount> PatternSource = {{
    {4, {3, 2, 1, 0}, {0, 1, 2, 3}, 0},
    {5, {4, 3, 2, 1, 0}, {0, 1, 2, 3, 4}, 0},
    {6, {5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5}, 0},
    {7, {6, 5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5, 6}, 0},
    {8, {7, 6, 5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5, 6, 7}, 0},
    {8, {0, 1, 2, 3, 4, 5, 6, 7}, {1, 1, 1, 1, 1, 1, 1, 1}, 0},
    {8, {0, 1, 2, 3, 4, 5, 6, 7}, {2, 2, 2, 2, 2, 2, 2, 2}, 0},
    {8, {0, 1, 2, 3, 4, 5, 6, 7}, {3, 3, 3, 3, 3, 3, 3, 3}, 0},
    {10, {0, 1, 1, 2, 3, 4, 5, 6, 6, 7}, {0, 0, 1, 0, 0, 0, 0, 1, 0, 0}, 0},
    {10, {0, 1, 2, 3, 4, 0, 1, 2, 3, 4}, {0, 0, 0, 0, 0, 1, 1, 1, 1, 1}, 3},
    {9, {0, 0, 1, 0, 1, 2, 1, 2, 2}, {2, 1, 2, 0, 1, 2, 0, 1, 0}, 0},
}};

constexpr std::array<PatternDef, PatternCount> MakePatterns() {
    std::array<PatternDef, PatternCount> patterns{};
    for (int i = 0; i < PatternCount; ++i) {
        const PatternSquares& source = PatternSource[i];
        PatternDef& def = patterns[i];
        def.n = static_cast<std::int16_t>(source.n);
        def.flags = source.flags;
        for (int k = 0; k < source.n; ++k) {
            def.column[k] = static_cast<std::int16_t>(source.column[k]);
            def.row[k] = static_cast<std::int16_t>(source.row[k]);
            def.square[k] = static_cast<std::int16_t>(source.column[k] * 8 + source.row[k]);
        }
        def.symmetries = (source.flags & 1) ? 8 : 4;
    }
    patterns[4].symmetries = 2;  // the long diagonal maps onto itself under half the maps
    return patterns;
}

constexpr int Power3(int n) {
    int p = 1;
    while (n-- > 0)
        p *= 3;
    return p;
}

constexpr std::array<int, PatternCount> MakeOffsets() {
    std::array<int, PatternCount> offsets{};
    int next = 0;
    for (int i = 0; i < PatternCount; ++i) {
        offsets[i] = next;
        next += Power3(PatternSource[i].n);
    }
    return offsets;
}

constexpr std::array<std::array<std::int8_t, 64>, 8> MakeSymmetryTable() {
    std::array<std::array<std::int8_t, 64>, 8> table{};
    for (int j = 0; j < 8; ++j)
        for (int s = 0; s < 64; ++s)
            table[j][s] = static_cast<std::int8_t>(MapSquare(j, s));
    return table;
}

constexpr auto PatternTable = MakePatterns();
constexpr auto OffsetTable = MakeOffsets();

static_assert(OffsetTable[10] + Power3(9) == MobilityWeight);
static_assert(ParityWeight == MobilityWeight + 1 && TotalWeights == ParityWeight + 1);

// The fast path reads instance j of a pattern from image j of the board (bit s holds square
// MapSquare(j, s)) and from its transpose, image j ^ 4, gathering the pattern's stones of one
// colour into a small bit mask; Gather<P> and GatherSquares name the image squares behind the
// bits. Ternary tables then turn the masks of both colours into the forward and backward
// readings at once: the digit is 2 - 2 x black - white, so a reading is
// (3^n - 1) - 2 x T(black mask) - T(white mask).
template <int P>
constexpr unsigned Gather(Bitboard image, Bitboard transposed) {
    if constexpr (P <= 4) {
        // A diagonal of P + 4 squares (c, r) with c + r = P + 3: one square per column and per
        // row, so adding up the column bytes leaves bit r for square (P + 3 - r, r).
        constexpr Bitboard Diagonal = [] {
            Bitboard d = 0;
            for (int r = 0; r <= P + 3; ++r)
                d |= SquareBB((P + 3 - r) * 8 + r);
            return d;
        }();
        return static_cast<unsigned>(((image & Diagonal) * 0x0101010101010101ULL) >> 56);
    } else if constexpr (P <= 7) {
        // Row P - 4 of the image is column P - 4 of its transpose: one byte, bit c for column c.
        return static_cast<unsigned>((transposed >> (8 * (P - 4))) & 0xFF);
    } else if constexpr (P == 8) {
        // Row 0, then (1, 1) and (6, 1), which the transpose holds at bits 9 and 14.
        return static_cast<unsigned>((transposed & 0xFF) | ((transposed >> 1) & 0x100) |
                                     ((transposed >> 5) & 0x200));
    } else if constexpr (P == 9) {
        // Rows 0 and 1 of columns 0-4: bits 0-4 and 8-12 of the transpose.
        return static_cast<unsigned>((transposed & 0x1F) | ((transposed >> 3) & 0x3E0));
    } else {
        // Rows 0-2 of columns 0-2, column by column.
        return static_cast<unsigned>((image & 0x7) | ((image >> 5) & 0x38) |
                                     ((image >> 10) & 0x1C0));
    }
}

// The image square behind bit g of Gather<P>.
constexpr int GatherSquare(int pattern, int g) {
    if (pattern <= 4) return (pattern + 3 - g) * 8 + g;
    if (pattern <= 7) return g * 8 + (pattern - 4);
    if (pattern == 8) return g < 8 ? g * 8 : (g == 8 ? 9 : 49);
    if (pattern == 9) return g < 5 ? g * 8 : (g - 5) * 8 + 1;
    return (g / 3) * 8 + g % 3;
}

struct TernaryTable {
    int all;  // 3^n - 1, every square empty
    std::array<std::uint16_t, 1024> forward{}, backward{};
};

constexpr std::array<TernaryTable, PatternCount> MakeTernaryTables() {
    std::array<TernaryTable, PatternCount> tables{};
    for (int p = 0; p < PatternCount; ++p) {
        const PatternDef& def = PatternTable[p];
        std::array<int, 10> reading{};  // gathered bit -> reading position k
        for (int g = 0; g < def.n; ++g) {
            reading[g] = -1;
            for (int k = 0; k < def.n; ++k)
                if (def.square[k] == GatherSquare(p, g)) reading[g] = k;
            if (reading[g] < 0) throw "a gathered square is not in the pattern";
        }
        tables[p].all = Power3(def.n) - 1;
        for (int x = 0; x < (1 << def.n); ++x) {
            int forward = 0, backward = 0;
            for (int g = 0; g < def.n; ++g)
                if (x & (1 << g)) {
                    forward += Power3(reading[g]);
                    backward += Power3(def.n - 1 - reading[g]);
                }
            tables[p].forward[x] = static_cast<std::uint16_t>(forward);
            tables[p].backward[x] = static_cast<std::uint16_t>(backward);
        }
    }
    return tables;
}

constexpr auto Ternary = MakeTernaryTables();

// The boards' eight images, black and white.
struct Images {
    std::array<Bitboard, 8> black, white;
};

template <int P>
inline int InstanceIndex(const Images& images, int j) {
    const unsigned b = Gather<P>(images.black[j], images.black[j ^ 4]);
    const unsigned w = Gather<P>(images.white[j], images.white[j ^ 4]);
    const TernaryTable& t = Ternary[P];
    const int forward = t.all - 2 * t.forward[b] - t.forward[w];
    const int backward = t.all - 2 * t.backward[b] - t.backward[w];
    return OffsetTable[P] + std::min(forward, backward);
}

inline int Mobility(Bitboard black, Bitboard white) {
    return std::popcount(LegalMoves(black, white)) - std::popcount(LegalMoves(white, black));
}

inline int Parity(Bitboard black, Bitboard white, int turn) {
    const int parity = (64 - std::popcount(black | white)) & 1;
    return turn == White ? -parity : parity;
}

// Calls visit(weight index) for every instance, in instance order.
template <typename Visit>
inline void ForEachInstance(const Images& images, Visit&& visit) {
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<0>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<1>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<2>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<3>(images, j));
    for (int j = 0; j < 2; ++j)
        visit(InstanceIndex<4>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<5>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<6>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<7>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<8>(images, j));
    for (int j = 0; j < 8; ++j)
        visit(InstanceIndex<9>(images, j));
    for (int j = 0; j < 4; ++j)
        visit(InstanceIndex<10>(images, j));
}

inline Images ImagesOf(Bitboard black, Bitboard white) {
    return {SymmetricImages(black), SymmetricImages(white)};
}

}  // namespace

const std::array<PatternDef, PatternCount> Patterns = PatternTable;
const std::array<int, PatternCount> PatternOffsets = OffsetTable;
const std::array<std::array<std::int8_t, 64>, 8> SymmetryTable = MakeSymmetryTable();

void InitPatterns() {
    int instances = 0;
    for (const PatternDef& def : PatternTable)
        instances += def.symmetries;
    assert(instances == PatternInstances);
    (void)instances;
}

int PatternIndex(int pattern, int symmetry, const PositionRecord& record) {
    assert(pattern >= 0 && pattern < PatternCount);
    assert(symmetry >= 0 && symmetry < PatternTable[pattern].symmetries);
    const PatternDef& def = PatternTable[pattern];
    int forward = 0, backward = 0;
    for (int k = def.n - 1; k >= 0; --k)
        forward = 3 * forward + record.board[MapSquare(symmetry, def.square[k])];
    for (int k = 0; k < def.n; ++k)
        backward = 3 * backward + record.board[MapSquare(symmetry, def.square[k])];
    return std::min(forward, backward);
}

int ScalarFeature(int k, const PositionRecord& record) {
    const Bitboard black = StonesOf(record.board, Black), white = StonesOf(record.board, White);
    return k == 0 ? Mobility(black, white) : Parity(black, white, record.turn);
}

int StageOf(const Board& board) {
    const int empties = 64 - std::popcount(StonesOf(board, Black) | StonesOf(board, White));
    return std::clamp((60 - empties) / 60, 0, StageCount - 1);
}

namespace {

[[gnu::always_inline]] inline int PatternValue(Bitboard black, Bitboard white, int turn,
                                               const WeightTable& weights) {
    assert(weights.size() == WeightTableSize && (black & white) == 0);
    const std::int16_t* w = weights.data();
    int sum =
        Parity(black, white, turn) * w[ParityWeight] + Mobility(black, white) * w[MobilityWeight];
    const Images images = ImagesOf(black, white);
    ForEachInstance(images, [&](int index) { sum += w[index]; });
    return 10 * sum;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// The same for a processor that counts bits in one instruction (PatternValue is inlined here).
__attribute__((target("popcnt"))) int PatternValuePopcount(Bitboard black, Bitboard white, int turn,
                                                           const WeightTable& weights) {
    return PatternValue(black, white, turn, weights);
}
#define VELL_HAVE_POPCOUNT_PATTERN 1
#endif

}  // namespace

int PatternEvaluate(Bitboard black, Bitboard white, int turn, const WeightTable& weights) {
#ifdef VELL_HAVE_POPCOUNT_PATTERN
    if (KernelLevel() >= CpuLevel::Popcount)
        return PatternValuePopcount(black, white, turn, weights);
#endif
    return PatternValue(black, white, turn, weights);
}

int PatternEvaluate(const PositionRecord& record, const WeightTable& weights) {
    return PatternEvaluate(StonesOf(record.board, Black), StonesOf(record.board, White),
                           record.turn, weights);
}

std::int64_t PatternEvaluateForTraining(const PositionRecord& record, int stage,
                                        const WeightTable& weights, TrainingScratch& scratch) {
    assert(stage >= 0 && stage < StageCount && weights.size() == WeightTableSize);
    (void)stage;  // one weight set
    const Bitboard black = StonesOf(record.board, Black), white = StonesOf(record.board, White);
    scratch.mobility = Mobility(black, white);
    scratch.parity = Parity(black, white, record.turn);
    std::int64_t sum = std::int64_t{scratch.parity} * weights[ParityWeight] +
                       std::int64_t{scratch.mobility} * weights[MobilityWeight];
    int instance = 0;
    ForEachInstance(ImagesOf(black, white), [&](int index) {
        scratch.weightIndex[instance++] = index;
        sum += weights[index];
    });
    return 1000 * sum;
}

}  // namespace vell
