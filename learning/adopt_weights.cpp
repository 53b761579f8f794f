#include "learning/adopt_weights.h"

#include <system_error>

#include "core/file_names.h"
#include "core/folder_lock.h"
#include "learning/weight_file.h"

namespace vell {

namespace {

constexpr const char* Unchanged = "\n重みは変わっていません。";

// A header of zero bytes only: no save writes one (it carries the program's version), so the
// file was damaged after it was written.
bool ZeroedHeader(const WeightHeader& header) {
    return header.major == 0 && header.minor == 0 && header.revision == 0 &&
           header.trainingGames == 0 && header.note[0] == 0;
}

}  // namespace

TrainedWeights ReadTrainedWeights(const std::filesystem::path& workDir) {
    const std::filesystem::path file = workDir / TrainedWeightsFileName;
    TrainedWeights result;
    WeightLoadStatus status;
    result.weights = LoadWeights(file, &status);
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (status.missing)
        result.message = "学習した重み " + file.string() +
                         " がありません。トレーニングを有効にして対局すると作られます。";
    else if (status.damaged)
        result.message = status.message;
    else if (error || size != WeightFileBytes)
        result.message = "重みファイル " + file.string() + " は壊れています。大きさが" +
                         std::to_string(WeightFileBytes) + "バイトではありません。";
    else if (ZeroedHeader(result.weights.header))
        result.message = "重みファイル " + file.string() + " は壊れています。ヘッダがすべて0です。";
    else
        result.ok = true;
    if (!result.ok) {
        result.weights = Weights{};
        result.message += Unchanged;
    }
    return result;
}

std::string AdoptQuestion(const Weights& candidate) {
    return "トレーニング試合数 " + std::to_string(candidate.header.trainingGames) +
           " の学習した重み(weight2.dat)を weight4.dat の代わりに使います。\n" +
           "今の weight4.dat は weight4.bak として残します。よろしいですか?";
}

AdoptResult AdoptTrainedWeights(const std::filesystem::path& workDir, Weights& inUse) {
    TrainedWeights candidate = ReadTrainedWeights(workDir);
    if (!candidate.ok) return {false, candidate.message};

    const std::filesystem::path start = workDir / StartWeightsFileName;
    const std::filesystem::path next = TemporaryFileFor(start);
    const WeightSaveStatus written = WriteWeightFile(next, candidate.weights);
    if (!written.ok) return {false, written.message + Unchanged};

    std::error_code error;
    if (std::filesystem::is_regular_file(start, error)) {
        // A byte copy, so a weight4.dat of any length is kept as it was; renamed into place so
        // weight4.bak too is always one whole file.
        const std::filesystem::path backup = workDir / WeightsBackupFileName;
        const std::filesystem::path copy = TemporaryFileFor(backup);
        std::filesystem::copy_file(start, copy, std::filesystem::copy_options::overwrite_existing,
                                   error);
        if (!error) std::filesystem::rename(copy, backup, error);
        if (error) {
            std::error_code ignored;
            std::filesystem::remove(copy, ignored);
            std::filesystem::remove(next, ignored);
            return {false, "今の重みファイルを " + backup.string() + " に残せません。(" +
                               error.message() + ")" + Unchanged};
        }
    }
    std::filesystem::rename(next, start, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(next, ignored);
        return {false, "重みファイル " + start.string() + " を置き換えられません。(" +
                           error.message() + ")" + Unchanged};
    }
    inUse = std::move(candidate.weights);
    return {true, "学習した重み(トレーニング試合数 " + std::to_string(inUse.header.trainingGames) +
                      ")を使います。\n元の重みは weight4.bak に残しました。"};
}

}  // namespace vell
