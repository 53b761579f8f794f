#pragma once

#include <functional>
#include <iostream>
#include <string>

#include "core/game_flow.h"

namespace vell::cli {

// Writes a message of the game or the training to standard error: each of its lines on a line
// of its own, after "vellcli COMMAND: ", so every line says where it comes from.
inline void PrintMessage(const std::string& command, const std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::cerr << "vellcli " << command << ": " << text.substr(start, end - start) << "\n";
        start = end + 1;
    }
}

// The game flow's services for vellcli's unattended games: a think runs at once on the calling
// thread, so every tick can go on with the next step; panes and repaints have no window to go
// to; a message box becomes a line on standard error and is kept for the caller.
class DirectServices : public FlowServices {
  public:
    explicit DirectServices(std::string command) : command(std::move(command)) {}

    void ShowPaneText(int, const std::string&) override {}
    void StartWorker(std::function<void()> body) override { body(); }
    void RequestRepaint() override {}
    void ShowMessage(const std::string& text) override {
        PrintMessage(command, text);
        lastMessage = text;
    }
    void GameFinished(const FinishedGame& game) override {
        if (onGameFinished) onGameFinished(game);
    }

    std::string lastMessage;
    std::function<void(const FinishedGame&)> onGameFinished;

  private:
    std::string command;
};

}  // namespace vell::cli
