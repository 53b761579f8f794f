#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "core/game_flow.h"

namespace vell::testing {

// Records what the flow asks of the window. Workers are kept until the test runs them, so a
// test decides exactly when a think ends.
class FakeServices : public FlowServices {
  public:
    void ShowPaneText(int pane, const std::string& text) override {
        std::lock_guard lock(mutex);
        panes[pane] = text;
        paneLog.push_back(std::to_string(pane) + ":" + text);
    }
    void StartWorker(std::function<void()> body) override { workers.push_back(std::move(body)); }
    void RequestRepaint() override { ++repaints; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    // Runs the workers started so far, in order, on this thread.
    void RunWorkers() {
        auto pending = std::move(workers);
        workers.clear();
        for (auto& body : pending)
            body();
    }

    std::string Pane(int pane) {
        std::lock_guard lock(mutex);
        return panes[pane];
    }

    std::mutex mutex;
    std::map<int, std::string> panes;
    std::vector<std::string> paneLog;
    std::vector<std::function<void()>> workers;
    int repaints = 0;
    std::vector<std::string> messages;
};

class MemorySettingsWriter : public SettingsWriter {
  public:
    void WriteSetting(int index, int value) override { written.emplace_back(index, value); }
    std::vector<std::pair<int, int>> written;
};

// A think's control that never aborts and drops its pane texts.
class FakeControl : public ThinkControl {
  public:
    bool AbortRequested() const override { return false; }
    void ShowPaneText(int, const std::string&) override {}
};

// A think that plays the lowest legal square of the side to move.
inline ThinkOutcome FirstLegalMove(const ThinkRequest& request, ThinkControl&) {
    LegalMap map;
    if (CountLegalMoves(request.board, request.sideToMove, &map) == 0) return {ThinkNoMove, -1, {}};
    for (int s = 0; s < 64; ++s)
        if (map[s]) return {ThinkMoveReady, s, "first"};
    return {ThinkNoMove, -1, {}};
}

}  // namespace vell::testing
