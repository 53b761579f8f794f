#pragma once

#include <cstdint>

#include "core/think.h"

namespace vell {

// Random plies at the start of each self-played training game. Two deterministic players would
// replay one game over and over and training would learn nothing new from it.
constexpr int DefaultRandomOpeningMoves = 6;

// The pane text of a random opening move.
constexpr const char* RandomOpeningMessage = "序盤はランダムに打ちます。";

// Wraps `think` so that, while the board holds fewer than 4 + `moves` stones (the first `moves`
// plies of a game from the start position) and training is on in the request's settings (or
// `always` is set), the side to move plays a random legal move instead of the think's move. That
// includes the book's own second-best choice: it is drawn from a generator seeded with the
// clock's seconds, so every game played within one second would follow it into the same line
// (and a run with a fixed clock would replay one game for good). A stopped or failed think, or a
// side without a legal move, keeps the think's outcome.
// The draws depend only on `seed` and the order of the calls, and are safe from any thread.
ThinkFunction WithRandomOpening(ThinkFunction think, int moves, std::uint64_t seed,
                                bool always = false);

}  // namespace vell
