#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/think.h"

namespace vell::testing {

// A think's control that records the pane texts and can be told to stop from any thread.
class RecordingControl : public ThinkControl {
  public:
    bool AbortRequested() const override { return abort.load(std::memory_order_relaxed); }
    void ShowPaneText(int pane, const std::string& text) override {
        std::lock_guard lock(mutex);
        panes.emplace_back(pane, text);
    }
    std::vector<std::pair<int, std::string>> Panes() {
        std::lock_guard lock(mutex);
        return panes;
    }

    std::atomic<bool> abort{false};

  private:
    std::mutex mutex;
    std::vector<std::pair<int, std::string>> panes;
};

}  // namespace vell::testing
