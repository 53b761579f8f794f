#pragma once

#include <memory>
#include <mutex>
#include <utility>

namespace vell {

// A value that one owner changes while workers read it. The one rule for data shared with
// workers: a reader takes the current value when its work starts and keeps that snapshot, which
// never changes, until it ends; the owner builds the next value on its own copy and publishes it
// for the work that starts after. So no reader ever sees a write, and no writer waits for a
// reader (a think may run for seconds; the window must not stop for it).
template <typename T>
class Published {
  public:
    explicit Published(T initial = T{}) : current(std::make_shared<const T>(std::move(initial))) {}

    // The value for a piece of work that starts now; any thread.
    std::shared_ptr<const T> Current() const {
        std::lock_guard lock(mutex);
        return current;
    }
    // Makes `next` the value for work that starts from now on; work already running keeps its
    // snapshot, freed when the last one ends.
    void Publish(T next) {
        auto value = std::make_shared<const T>(std::move(next));
        std::lock_guard lock(mutex);
        current = std::move(value);
    }

  private:
    mutable std::mutex mutex;
    std::shared_ptr<const T> current;
};

}  // namespace vell
