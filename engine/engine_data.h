#pragma once

#include <filesystem>
#include <memory>

#include "book/book.h"
#include "core/published.h"
#include "engine/review_runner.h"
#include "engine/think_driver.h"
#include "learning/adopt_weights.h"
#include "learning/trainer.h"
#include "learning/weights.h"

namespace vell {

// The book and the weights a program plays and trains with, and their one owner. The owner's
// thread (the window's) keeps the working copies, which only the training pass and the adoption
// of trained weights change; after each change both are published, and every think, hint and
// review reads the snapshot published when its work started (Published). So training and
// adoption never wait for a think, and no think ever sees them write.
class EngineData {
  public:
    // `workDir` holds the files training and adoption write; `report` shows the trainer's texts;
    // `advice` goes to the tables of the thinks and reviews made here (none by default).
    EngineData(std::filesystem::path workDir, TrainingReport report,
               TableMemoryAdvice advice = nullptr);
    EngineData(const EngineData&) = delete;
    EngineData& operator=(const EngineData&) = delete;

    // The working copies, for loading at start-up; Publish afterwards.
    Book& WorkingBook() { return book; }
    Weights& WorkingWeights() { return weights; }
    // Makes the working copies the ones every piece of work starting from now on reads.
    void Publish();

    // The learner of the game flow: trains the working copies and publishes them after each pass.
    Trainer& Training() { return trainer; }
    // Puts a clean weight2.dat in place of weight4.dat and into use (AdoptTrainedWeights); the
    // trainer starts afresh from the adopted weights.
    AdoptResult Adopt();

    // The computer players' think and the review, each reading the snapshots of its start.
    ThinkFunction Think(SearchKind search = SearchKind::Fast) const;
    ReviewFunction Review() const;

    std::shared_ptr<const Weights> WeightsInUse() const { return weightsInUse.Current(); }
    std::shared_ptr<const Book> BookInUse() const { return bookInUse.Current(); }

  private:
    std::filesystem::path workDir;
    TableMemoryAdvice tableAdvice;
    Book book;
    Weights weights;
    Published<Book> bookInUse;
    Published<Weights> weightsInUse;
    Trainer trainer;
};

}  // namespace vell
