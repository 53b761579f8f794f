#include "engine/think_driver.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "book/book.h"
#include "book/book_choice.h"
#include "core/random.h"
#include "core/player_names.h"
#include "engine/evaluation.h"
#include "engine/fast_search.h"
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
                        const WeightTable& weights, SecondsClock clock, TablePool* fastTables) {
    SeedRandom(1);
    ThinkReport report;
    ThinkOutcome& outcome = report.outcome;
    const Board& board = request.board;
    const int side = request.sideToMove;
    const Settings& settings = request.settings;
    EvalContext context{settings[side], false, &book, &weights};
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
    int value = 0;
    if (fast) {
        TablePool::Lease lease(*fastTables);
        FastSearchRun search(context, lease.Table(), &control);
        search.depthLimit = depthLimit;
        value = search.Search(board, side);
        if (!search.aborted && value == NoMove) value = search.Search(board, 1 - side);
        report.nodes = search.nodes;
        if (search.aborted) {
            outcome.result = ThinkAborted;
            return report;
        }
        outcome.square = search.chosenSquare;
    } else {
        SearchRun search(context, &control);
        search.depthLimit = depthLimit;
        value = search.Search(board, side, SearchWindowLow, SearchWindowHigh);
        if (!search.aborted && value == NoMove)
            value = search.Search(board, 1 - side, SearchWindowLow, SearchWindowHigh);
        report.nodes = search.nodes;
        if (search.aborted) {
            outcome.result = ThinkAborted;
            return report;
        }
        outcome.square = search.chosenSquare;
    }
    if (value == NoMove) {
        outcome.result = ThinkNoMove;
        return report;
    }
    if (control.AbortRequested()) {
        outcome.result = ThinkAborted;
        return report;
    }
    if (side == White) value = -value;
    outcome.message = VerdictText(value);
    outcome.result = ThinkMoveReady;
    return report;
}

ThinkFunction MakeThink(const Book& book, const Weights& weights, SearchKind search,
                        SecondsClock clock) {
    const Book* bookPtr = &book;
    const WeightTable* table = &weights.table;
    // Shared by the copies of the function; the table inside is allocated by the first think.
    std::shared_ptr<TablePool> pool =
        search == SearchKind::Fast ? std::make_shared<TablePool>() : nullptr;
    return [bookPtr, table, pool, clock](const ThinkRequest& request, ThinkControl& control) {
        return ThinkThread(request, control, *bookPtr, *table, clock, pool.get()).outcome;
    };
}

ThinkFunction MakeThink(const Published<Book>& book, const Published<Weights>& weights,
                        SearchKind search, SecondsClock clock) {
    std::shared_ptr<TablePool> pool =
        search == SearchKind::Fast ? std::make_shared<TablePool>() : nullptr;
    return [&book, &weights, pool, clock](const ThinkRequest& request, ThinkControl& control) {
        const std::shared_ptr<const Book> bookNow = book.Current();
        const std::shared_ptr<const Weights> weightsNow = weights.Current();
        return ThinkThread(request, control, *bookNow, weightsNow->table, clock, pool.get())
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
