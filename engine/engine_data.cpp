#include "engine/engine_data.h"

#include <utility>

#include "engine/game_review.h"

namespace vell {

EngineData::EngineData(std::filesystem::path dir, TrainingReport report, TableMemoryAdvice advice)
    : workDir(std::move(dir)),
      tableAdvice(advice),
      trainer(weights, &book, workDir, std::move(report)) {
    trainer.SetPassDone([this] { Publish(); });
}

void EngineData::Publish() {
    bookInUse.Publish(book);
    weightsInUse.Publish(weights);
}

AdoptResult EngineData::Adopt() {
    AdoptResult result = AdoptTrainedWeights(workDir, weights);
    if (result.ok) {
        trainer.WeightsReplaced();
        Publish();
    }
    return result;
}

ThinkFunction EngineData::Think(SearchKind search) const {
    return MakeThink(bookInUse, weightsInUse, search, WallClockSeconds, tableAdvice);
}

ReviewFunction EngineData::Review() const {
    return [this, search = FastRootSearch(DefaultTableBytes, tableAdvice)](
               const GameHistory& history, const ReviewOptions& options,
               const std::atomic<bool>* abort, const ReviewProgress& progress) {
        const std::shared_ptr<const Weights> snapshot = weightsInUse.Current();
        return ReviewGame(history, options, snapshot->table, search, abort, progress);
    };
}

}  // namespace vell
