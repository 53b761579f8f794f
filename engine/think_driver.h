#pragma once

#include <cstdint>
#include <string>

#include "core/published.h"
#include "core/settings.h"
#include "core/think.h"
#include "engine/table_memory.h"
#include "learning/weights.h"

namespace vell {

class Book;
class TablePool;

// Which search decides outside the book: the plain reference search, or the exact fast search,
// which proves the same value and square with far fewer nodes. "Human" and "CPU-1-2" always
// get the plain search: their random evaluations follow the order of the calls.
enum class SearchKind { Plain, Fast };

// The book phase applies while the board holds this many stones or fewer.
constexpr int BookPhaseStones = 14;

// The search depth for a position with `empties` empty squares: the final depth when the empties
// are at most that many (the search then reads to the end of the game), else the normal depth
// capped at the empties. Both depth settings are first clamped into the players dialog's ranges
// (1..20 and 1..30), so a hand-edited setting can neither stop the search from choosing a move
// nor make it run without end.
int ThinkDepthLimit(int empties, const Settings& settings);

// The verdict on a search value from the mover's point of view: its decimal digits followed
// directly by the wording (above 10 stones "とっても有利です。", above 5 "有利です。", below -10
// "すごく不利です。", below -5 "不利です。", else "互角です。").
std::string VerdictText(int value);

// Seconds of the wall clock; the training reseed of the book choice adds them to a draw.
using SecondsClock = std::uint32_t (*)();
std::uint32_t WallClockSeconds();

// One think as the game flow runs it, plus the number of search nodes it took.
struct ThinkReport {
    ThinkOutcome outcome;
    std::uint64_t nodes = 0;
};

// The body of one thinking run, the computer player's turn on the request's private position,
// run on the worker thread the game flow starts for the turn: with 14 stones or fewer the
// opening book is tried first (the search follows when no book move has a nonzero value),
// otherwise the alpha-beta search decides at the depth of ThinkDepthLimit. Evaluations use the
// player type of the request's side to move. Progress messages go to that side's pane
// (side + 1) and to outcome.message; after a search, outcome.message is the verdict.
// When the side to move has no legal move, the other side's move is reported in its place;
// when neither side has one the result is ThinkNoMove; a stop request gives ThinkAborted.
// The calling thread's random generator starts at state 1, as on a fresh thread.
// With `fastTables` the fast search decides (for the player types it serves), using a table of
// that pool; without, the plain search. `nodes` counts the nodes of the search that ran.
// `forwardWeights`, when given, is `weights` as a forward table (MakeForwardWeights).
ThinkReport ThinkThread(const ThinkRequest& request, ThinkControl& control, const Book& book,
                        const WeightTable& weights, SecondsClock clock = WallClockSeconds,
                        TablePool* fastTables = nullptr,
                        const WeightTable* forwardWeights = nullptr);

// The think for the game flow. `book` and `weights` must outlive it and stay unchanged while a
// think runs; several thinks may run at once. A fast think owns one transposition table, taken
// by one think at a time (a think running alongside gets a small table of its own). `clock`
// seeds the training-mode book choice; a fixed one makes training runs repeatable. `advice` goes
// to the fast think's table when it is allocated (none by default).
ThinkFunction MakeThink(const Book& book, const Weights& weights,
                        SearchKind search = SearchKind::Fast, SecondsClock clock = WallClockSeconds,
                        TableMemoryAdvice advice = nullptr);

// The think for a program whose book and weights change while it plays (training, adoption):
// each think reads the book and the weights published when it starts, whatever is published
// while it runs. `book` and `weights` must outlive the function. `advice` as above.
ThinkFunction MakeThink(const Published<Book>& book, const Published<Weights>& weights,
                        SearchKind search = SearchKind::Fast, SecondsClock clock = WallClockSeconds,
                        TableMemoryAdvice advice = nullptr);

// "plain" or "fast" as given to vellcli's --search; false for any other text.
bool ParseSearchKind(const std::string& text, SearchKind& kind);

}  // namespace vell
