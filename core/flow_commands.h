#pragma once

// The window's commands on the game flow: the table of when each is allowed, and (in the .cpp)
// the flow's entry points that follow it.

namespace vell {

enum class FlowState { Stopped = 0, AwaitingMove = 1, ApplyMove = 2, StartTurn = 3 };

// The commands of the window, for GameFlow::Give and GameFlow::Accepts.
enum class FlowCommand {
    StartGame,
    PauseGame,
    GoToFirst,
    GoToPrevious,
    GoToNext,
    GoToLast,
    ChangePlayers,
    NewGame,
    TakeBack
};

// Whether `command` may run in `state` with ply `ply` of `moveCount` shown: starting and going
// to the first position only when stopped, pausing only while playing, stepping back (and
// taking back) from ply 1 on and forward before the last ply, the other navigation and the
// players dialog whenever the flow is settled (stopped or awaiting a move), a new game always.
bool CommandAllowed(FlowCommand command, FlowState state, int ply, int moveCount);

// Whether `command` is allowed once a flow in `state` has settled: ApplyMove settles awaiting the
// next move one ply on, StartTurn awaiting a move at the same ply, a settled state as it is.
bool CommandAllowedWhenSettled(FlowCommand command, FlowState state, int ply, int moveCount);

}  // namespace vell
