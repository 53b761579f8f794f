#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_names.h"
#include "learning/weights.h"

namespace vell {

// A weight file: the 167300 weights as little-endian int16, then the header as little-endian
// int32 major, minor, revision and training games, then the 240-byte Shift-JIS note.
constexpr std::size_t WeightBlockBytes = 2 * WeightTableSize;  // 334600
constexpr std::size_t WeightHeaderBytes = 256;
constexpr std::size_t WeightFileBytes = WeightBlockBytes + WeightHeaderBytes;  // 334856

// The notes the program writes, as Shift-JIS (code page 932) bytes: "バージョン情報なし2" when
// there is no weight file, "バージョン情報なし" for a file without a header, "特になし♪" after
// training.
constexpr std::string_view NoFileNote =
    "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1\x82\xc8\x82\xb5\x32";
constexpr std::string_view NoHeaderNote =
    "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1\x82\xc8\x82\xb5";
constexpr std::string_view TrainedNote = "\x93\xc1\x82\xc9\x82\xc8\x82\xb5\x81\xf4";

// The weights and header of the first bytes of a weight file (pass at most WeightFileBytes;
// later bytes are ignored anyway). Exactly WeightBlockBytes gives the "no header" defaults
// (version 4.00.01, 0 games). Otherwise every whole weight and every header byte the bytes
// cover is taken, and the rest stay 0. Any bytes decode.
Weights DecodeWeightFile(std::span<const std::uint8_t> bytes);

// The WeightFileBytes bytes of a weight file holding `weights`.
std::vector<std::uint8_t> EncodeWeightFile(const Weights& weights);

// Why a header cannot be trusted, in Japanese, or empty when it can: a negative training game
// count, or a note that is not zero-terminated Shift-JIS text (control bytes other than tab and
// line breaks count as damage). The format has no checksum; this catches a file of random bytes.
std::string HeaderDamage(const WeightHeader& header);

// The one line said when a weight file the players need is missing: the players go on with
// zero weights.
std::string MissingWeightsText(const std::filesystem::path& file);

// How a weight file loaded: `missing` when it could not be opened (not an error), `damaged`
// with `message` when its header fails HeaderDamage.
struct WeightLoadStatus {
    bool missing = false;
    bool damaged = false;
    std::string message;
};

// Reads a weight file as DecodeWeightFile does. A file that cannot be opened or read gives zero
// weights and the "no file" header (version 4.00.01, 0 games); that is not an error. A damaged
// header gives the same zero weights and "no file" header, and `status` says what was wrong.
Weights LoadWeights(const std::filesystem::path& file, WeightLoadStatus* status = nullptr);

// Whether a save reached the disk; `message` says why not.
struct WeightSaveStatus {
    bool ok = true;
    std::string message;
};

// Writes `weights` to `file` through a temporary file in the same folder that is renamed over
// it, so `file` is always either the old file or the whole new one. On failure the old file
// stays and the status says why.
WeightSaveStatus WriteWeightFile(const std::filesystem::path& file, const Weights& weights);

// The training game count after `games` more games: saturates at the largest int, and a
// negative count (damage) counts from 0.
std::int32_t AddTrainingGames(std::int32_t count, int games);

// The save after a training pass: adds `gamesTrained` to the header's training games, puts the
// note "特になし♪" at the start of the note field (the bytes after its zero stay), then writes
// the file. The header in memory keeps the new count and note even when the write fails.
WeightSaveStatus SaveTrainedWeights(const std::filesystem::path& file, Weights& weights,
                                    int gamesTrained);

// The text of the data-information message, in UTF-8: the file name (the file the header came
// from; weight2.dat unless given), the version, the training games and the note, one per line,
// ending with a line break.
std::string DataInfoText(const WeightHeader& header,
                         std::string_view fileName = TrainedWeightsFileName);

// A Shift-JIS text (up to its first zero byte) in UTF-8. A byte sequence that is not Shift-JIS
// becomes U+FFFD.
std::string ShiftJisToUtf8(std::string_view text);

}  // namespace vell
