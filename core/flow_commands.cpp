#include "core/flow_commands.h"

#include "core/game_flow.h"

namespace vell {

bool CommandAllowed(FlowCommand command, FlowState state, int ply, int moveCount) {
    const bool stopped = state == FlowState::Stopped;
    const bool steady = stopped || state == FlowState::AwaitingMove;
    switch (command) {
        case FlowCommand::StartGame:
        case FlowCommand::GoToFirst:
            return stopped;
        case FlowCommand::PauseGame:
            return !stopped;
        case FlowCommand::GoToPrevious:
        case FlowCommand::TakeBack:
            return ply > 0 && steady;
        case FlowCommand::GoToNext:
            return ply < moveCount && steady;
        case FlowCommand::GoToLast:
        case FlowCommand::ChangePlayers:
            return steady;
        case FlowCommand::NewGame:
            return true;
    }
    return false;
}

bool CommandAllowedWhenSettled(FlowCommand command, FlowState state, int ply, int moveCount) {
    if (state == FlowState::ApplyMove)
        return CommandAllowed(command, FlowState::AwaitingMove, ply + 1, ply + 1);
    if (state == FlowState::StartTurn)
        return CommandAllowed(command, FlowState::AwaitingMove, ply, moveCount);
    return CommandAllowed(command, state, ply, moveCount);
}

// GameFlow's way in for the window's commands, by the table above.

bool GameFlow::Allowed(FlowCommand command) const {
    return CommandAllowed(command, flowState, history.currentPly, history.moveCount);
}

bool GameFlow::Accepts(FlowCommand command) const {
    return CommandAllowedWhenSettled(command, flowState, history.currentPly, history.moveCount);
}

bool GameFlow::Give(FlowCommand command) {
    if (Allowed(command)) {
        RunCommand(command);
        return true;
    }
    if (Accepts(command)) keptCommand = command;
    return false;
}

bool GameFlow::TakePlayersDue() {
    const bool due = playersDue;
    playersDue = false;
    return due;
}

void GameFlow::RunCommand(FlowCommand command) {
    switch (command) {
        case FlowCommand::StartGame:
            return StartGame();
        case FlowCommand::PauseGame:
            return PauseGame();
        case FlowCommand::GoToFirst:
            return GoToFirst();
        case FlowCommand::GoToPrevious:
            return GoToPrevious();
        case FlowCommand::GoToNext:
            return GoToNext();
        case FlowCommand::GoToLast:
            return GoToLast();
        case FlowCommand::ChangePlayers:
            // Run from the kept command only; given directly the window opens its dialog.
            playersDue = true;
            return;
        case FlowCommand::NewGame:
            return NewGame();
        case FlowCommand::TakeBack:
            return TakeBack();
    }
}

bool GameFlow::CanStartGame() const {
    return Allowed(FlowCommand::StartGame);
}
bool GameFlow::CanPauseGame() const {
    return Allowed(FlowCommand::PauseGame);
}
bool GameFlow::CanGoToFirst() const {
    return Allowed(FlowCommand::GoToFirst);
}
bool GameFlow::CanGoToPrevious() const {
    return Allowed(FlowCommand::GoToPrevious);
}
bool GameFlow::CanGoToNext() const {
    return Allowed(FlowCommand::GoToNext);
}
bool GameFlow::CanGoToLast() const {
    return Allowed(FlowCommand::GoToLast);
}
bool GameFlow::CanChangePlayers() const {
    return Allowed(FlowCommand::ChangePlayers);
}
bool GameFlow::CanTakeBack() const {
    return Allowed(FlowCommand::TakeBack);
}

bool GameFlow::CanGoToPly(int ply) const {
    if (ply < 0 || ply > history.moveCount) return false;
    if (ply == 0) return CanGoToFirst() || (history.currentPly == 1 && CanGoToPrevious());
    if (ply == history.moveCount) return CanGoToLast();
    return CanChangePlayers();
}

void GameFlow::GoToPly(int ply) {
    if (CanGoToPly(ply)) Navigate(ply);
}

}  // namespace vell
