#include "engine/think_driver.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>

#include "book/book.h"
#include "book/book_choice.h"
#include "core/random.h"
#include "core/player_names.h"
#include "engine/evaluation.h"
#include "engine/fast_search.h"
#include "engine/forward_weight_cache.h"
#include "engine/search.h"

namespace vell {

namespace {

// The thinking run's messages, in the order they can appear.
constexpr const char* BookSearchMessage = "BOOKを探索します……";
constexpr const char* BookBestMessage = "BOOK最善手です:";
constexpr const char* BookSecondMessage = "BOOK次善手です:";
constexpr const char* SearchAfterBookMessage = "普通読みです……";
constexpr const char* SearchWithoutBookMessage = "NOBOOK普通読みです……";

// Shows a progress message in the pane of the side to move and keeps it as the run's message.
void ShowThinkMessage(ThinkControl& control, int side, ThinkOutcome& outcome,
                      const std::string& text) {
    control.ShowPaneText(side + 1, text);
    outcome.message = text;
}

// The control a search sees: the think's own, plus the time limit of the settings (seconds, 0
// or less for none), which asks to play now once it has run out.
class TimedControl : public ThinkControl {
  public:
    TimedControl(ThinkControl& inner, int seconds)
        : inner(inner),
          limited(seconds > 0),
          deadline(std::chrono::steady_clock::now() +
                   std::chrono::seconds(std::clamp(seconds, MinMoveSeconds, MaxMoveSeconds))) {}
    bool AbortRequested() const override { return inner.AbortRequested(); }
    void ShowPaneText(int pane, const std::string& text) override {
        inner.ShowPaneText(pane, text);
    }
    void ReportDepth(int depth) override { inner.ReportDepth(depth); }
    bool PlayNowRequested() const override {
        return inner.PlayNowRequested() ||
               (limited && std::chrono::steady_clock::now() >= deadline);
    }

  private:
    ThinkControl& inner;
    bool limited;
    std::chrono::steady_clock::time_point deadline;
};

// What a search decided: the value in black's frame (NoMove when neither side can move), the
// square, the depth it was proved to, and whether a stop request ended it.
struct SearchAnswer {
    int value = NoMove;
    int square = -1;
    int depth = 0;
    bool aborted = false;
    std::uint64_t nodes = 0;
};

// The fast search of the side to move, or of the other side when it has no move. A request to
// play now ends it with the answer of its deepest completed depth.
SearchAnswer FastAnswer(const EvalContext& context, TablePool& tables, ThinkControl& control,
                        const Board& board, int side, int depthLimit) {
    TablePool::Lease lease(tables);
    FastSearchRun search(context, lease.Table(), &control);
    search.depthLimit = depthLimit;
    SearchAnswer answer;
    answer.value = search.Search(board, side);
    if (!search.aborted && answer.value == NoMove) answer.value = search.Search(board, 1 - side);
    answer.nodes = search.nodes;
    answer.aborted = control.AbortRequested();
    if (search.aborted) {
        answer.value = search.completedValue;
        answer.square = search.completedSquare;
        answer.depth = search.completedDepth;
        answer.aborted = answer.aborted || search.completedDepth == 0;
    } else {
        answer.square = search.chosenSquare;
        answer.depth = depthLimit;
    }
    return answer;
}

// The plain search at `depth` of the side to move, or of the other side when it has no move.
SearchAnswer PlainAt(const EvalContext& context, const ThinkControl* control, const Board& board,
                     int side, int depth) {
    SearchRun search(context, control);
    search.depthLimit = depth;
    SearchAnswer answer;
    answer.value = search.Search(board, side, SearchWindowLow, SearchWindowHigh);
    if (!search.aborted && answer.value == NoMove)
        answer.value = search.Search(board, 1 - side, SearchWindowLow, SearchWindowHigh);
    answer.square = search.chosenSquare;
    answer.depth = depth;
    answer.aborted = search.aborted;
    answer.nodes = search.nodes;
    return answer;
}

// The plain search: at the full depth; with a time limit, deepening one ply at a time up to it.
// A request to play now ends it with its deepest completed depth, or with a one-ply search when
// none is complete.
SearchAnswer PlainAnswer(const EvalContext& context, ThinkControl& control, const Board& board,
                         int side, int depthLimit, bool deepen) {
    SearchAnswer done;
    std::uint64_t nodes = 0;
    for (int depth = deepen ? 1 : depthLimit; depth <= depthLimit; ++depth) {
        const SearchAnswer answer = PlainAt(context, &control, board, side, depth);
        nodes += answer.nodes;
        if (answer.aborted) break;
        done = answer;
        if (!deepen || answer.value == NoMove) break;
        control.ReportDepth(depth);
    }
    if (done.depth == 0 && !control.AbortRequested()) {
        done = PlainAt(context, nullptr, board, side, 1);
        nodes += done.nodes;
    }
    done.aborted = control.AbortRequested();
    done.nodes = nodes;
    return done;
}

// Added to the verdict when a think played before its full depth: the depth it had completed.
std::string StoppedEarlyText(int depth) {
    return "（" + std::to_string(depth) + "手読み）";
}

}  // namespace

int ThinkDepthLimit(int empties, const Settings& settings) {
    const int normal = std::clamp(settings[NormalDepthSetting], MinNormalDepth, MaxNormalDepth);
    const int finalDepth = std::clamp(settings[FinalDepthSetting], MinFinalDepth, MaxFinalDepth);
    return empties <= finalDepth ? finalDepth : std::min(normal, empties);
}

std::string VerdictText(int value) {
    const char* wording = value > 10000    ? "とっても有利です。"
                          : value > 5000   ? "有利です。"
                          : value < -10000 ? "すごく不利です。"
                          : value < -5000  ? "不利です。"
                                           : "互角です。";
    return std::to_string(value) + wording;
}

std::uint32_t WallClockSeconds() {
    return static_cast<std::uint32_t>(std::time(nullptr));
}

ThinkReport ThinkThread(const ThinkRequest& request, ThinkControl& control, const Book& book,
                        const WeightTable& weights, SecondsClock clock, TablePool* fastTables,
                        const WeightTable* forwardWeights) {
    SeedRandom(1);
    TimedControl timed(control, request.settings[MoveTimeSetting]);
    ThinkReport report;
    ThinkOutcome& outcome = report.outcome;
    const Board& board = request.board;
    const int side = request.sideToMove;
    const Settings& settings = request.settings;
    EvalContext context{settings[side], false, &book, &weights, forwardWeights};
    const int empties = CountStones(board)[Empty];

    const char* searchMessage = SearchWithoutBookMessage;
    if (64 - empties <= BookPhaseStones) {
        context.bookMode = true;
        ShowThinkMessage(control, side, outcome, BookSearchMessage);
        const bool training = settings[TrainingModeSetting] != 0;
        const auto evaluate = [&context](const Board& child, int gameOver, int childSide) {
            return EvaluatePosition(context, child, gameOver, childSide);
        };
        BookChoice choice = ChooseBookMove(board, side, SearchWindowLow, training,
                                           training ? clock() : 0, evaluate);
        if (choice.legalMoves == 0)
            choice = ChooseBookMove(board, 1 - side, SearchWindowLow, training,
                                    training ? clock() : 0, evaluate);
        outcome.square = choice.square;
        if (choice.legalMoves == 0) {
            outcome.result = ThinkNoMove;
            return report;
        }
        const int value = side == White ? -choice.value : choice.value;
        if (value != 0) {
            ShowThinkMessage(
                control, side, outcome,
                (choice.bestMove ? BookBestMessage : BookSecondMessage) + std::to_string(value));
            outcome.result = ThinkMoveReady;
            return report;
        }
        searchMessage = SearchAfterBookMessage;
    }
    ShowThinkMessage(control, side, outcome, searchMessage);
    context.bookMode = false;

    const int depthLimit = ThinkDepthLimit(empties, settings);
    const bool fast =
        fastTables && (context.playerType == Cpu1Player || context.playerType == CpuPat1Player ||
                       context.playerType == CpuPat2Player);
    const SearchAnswer answer =
        fast ? FastAnswer(context, *fastTables, timed, board, side, depthLimit)
             : PlainAnswer(context, timed, board, side, depthLimit, settings[MoveTimeSetting] > 0);
    report.nodes = answer.nodes;
    if (answer.aborted || control.AbortRequested()) {
        outcome.result = ThinkAborted;
        return report;
    }
    if (answer.value == NoMove) {
        outcome.result = ThinkNoMove;
        return report;
    }
    outcome.square = answer.square;
    const int value = side == White ? -answer.value : answer.value;
    outcome.message = VerdictText(value);
    if (answer.depth < depthLimit) outcome.message += StoppedEarlyText(answer.depth);
    outcome.result = ThinkMoveReady;
    return report;
}

namespace {

// The tables of a made think, shared by the copies of its function (the table inside is
// allocated by the first think); none for the plain search.
std::shared_ptr<TablePool> ThinkTables(SearchKind search, TableMemoryAdvice advice) {
    if (search != SearchKind::Fast) return nullptr;
    return std::make_shared<TablePool>(DefaultTableBytes, advice);
}

}  // namespace

ThinkFunction MakeThink(const Book& book, const Weights& weights, SearchKind search,
                        SecondsClock clock, TableMemoryAdvice advice) {
    const Book* bookPtr = &book;
    const WeightTable* table = &weights.table;
    std::shared_ptr<TablePool> pool = ThinkTables(search, advice);
    auto forwardCache = std::make_shared<ForwardWeightCache>();
    return [bookPtr, table, pool, forwardCache, clock](const ThinkRequest& request,
                                                       ThinkControl& control) {
        const std::shared_ptr<const WeightTable> forward = forwardCache->For(*table);
        return ThinkThread(request, control, *bookPtr, *table, clock, pool.get(), forward.get())
            .outcome;
    };
}

ThinkFunction MakeThink(const Published<Book>& book, const Published<Weights>& weights,
                        SearchKind search, SecondsClock clock, TableMemoryAdvice advice) {
    std::shared_ptr<TablePool> pool = ThinkTables(search, advice);
    auto forwardCache = std::make_shared<ForwardWeightCache>();
    return [&book, &weights, pool, forwardCache, clock](const ThinkRequest& request,
                                                        ThinkControl& control) {
        const std::shared_ptr<const Book> bookNow = book.Current();
        const std::shared_ptr<const Weights> weightsNow = weights.Current();
        const std::shared_ptr<const WeightTable> forward = forwardCache->For(weightsNow);
        return ThinkThread(request, control, *bookNow, weightsNow->table, clock, pool.get(),
                           forward.get())
            .outcome;
    };
}

bool ParseSearchKind(const std::string& text, SearchKind& kind) {
    if (text == "plain")
        kind = SearchKind::Plain;
    else if (text == "fast")
        kind = SearchKind::Fast;
    else
        return false;
    return true;
}

}  // namespace vell
