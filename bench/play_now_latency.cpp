// The playnow mode: how soon a deep think answers a request to play now, and how long a think
// with a time limit takes in all. Each think runs on a thread of its own, as in the window,
// while this thread sends the request and times the answer.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <future>
#include <string>

#include "bench/compare_modes.h"
#include "bench/compare_positions.h"
#include "book/book.h"
#include "core/player_names.h"
#include "engine/fast_search.h"
#include "engine/think_driver.h"
#include "platform/huge_pages.h"

namespace vell::bench {

namespace {

using Clock = std::chrono::steady_clock;

class PlayNowControl : public ThinkControl {
  public:
    bool AbortRequested() const override { return false; }
    void ShowPaneText(int, const std::string&) override {}
    void ReportDepth(int d) override { depth.store(d); }
    bool PlayNowRequested() const override { return playNow.load(); }

    std::atomic<bool> playNow{false};
    std::atomic<int> depth{0};
};

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Whether the think answered with a legal move of the side to move.
bool Legal(const ThinkReport& report, const Position& p) {
    LegalMap map;
    CountLegalMoves(p.board, p.side, &map);
    return report.outcome.result == ThinkMoveReady && report.outcome.square >= 0 &&
           report.outcome.square < 64 && map[report.outcome.square] != 0;
}

}  // namespace

int RunPlayNowMode(const CompareOptions& options, const Weights& weights,
                   const WeightTable& forward) {
    const int depth = options.depths.front();
    std::printf(
        "play now: %s, normal depth %d, final depth %d, positions of \"CPU-PAT2\" self-play, %d "
        "positions at each empties count, seed %u, %d random opening plies\n",
        std::string(PlayerTypeNames[options.type]).c_str(), depth, options.finalDepth,
        options.perEmpties, options.seed, options.openings);
    const auto found = SelfPlayPositions(weights, options.seed, options.openings,
                                         options.perEmpties, options.empties)
                           .positions;
    const Book book;
    TablePool tables(DefaultTableBytes, AdviseHugePages);
    double worstLatency = 0, worstLimited = 0;
    int requests = 0, limited = 0, illegal = 0;
    std::printf("%-8s %3s  %-22s %9s %9s %6s %6s\n", "position", "emp", "stopped by", "answer s",
                "late s", "depth", "square");
    for (std::size_t k = 0; k < found.size(); ++k)
        for (std::size_t g = 0; g < found[k].size(); ++g) {
            const Position& p = found[k][g];
            ThinkRequest request;
            request.board = p.board;
            request.sideToMove = p.side;
            request.settings[BlackPlayerSetting] = options.type;
            request.settings[WhitePlayerSetting] = options.type;
            request.settings[NormalDepthSetting] = depth;
            request.settings[FinalDepthSetting] = options.finalDepth;
            char label[32];
            std::snprintf(label, sizeof label, "#%zu", g + 1);
            const auto printRow = [&](const std::string& how, double answer, double late,
                                      int reached, const ThinkReport& report) {
                const bool legal = Legal(report, p);
                char lateText[32] = "-";
                if (late >= 0) std::snprintf(lateText, sizeof lateText, "%.3f", late);
                illegal += !legal;
                std::printf("%-8s %3d  %-22s %9.3f %9s %6d %6d%s\n", label, options.empties[k],
                            how.c_str(), answer, lateText, reached, report.outcome.square,
                            legal ? "" : "  NOT A LEGAL MOVE");
                std::fflush(stdout);
            };
            for (const double after : options.after) {
                PlayNowControl control;
                const Clock::time_point start = Clock::now();
                std::future<ThinkReport> think = std::async(std::launch::async, [&] {
                    return ThinkThread(request, control, book, weights.table, WallClockSeconds,
                                       &tables, &forward);
                });
                const auto requestAt = start + std::chrono::duration_cast<Clock::duration>(
                                                   std::chrono::duration<double>(after));
                char how[40];
                double late = -1;
                if (think.wait_until(requestAt) == std::future_status::ready) {
                    std::snprintf(how, sizeof how, "done before %.2f s", after);
                } else {
                    control.playNow.store(true);
                    const Clock::time_point asked = Clock::now();
                    think.wait();
                    late = Seconds(Clock::now() - asked);
                    worstLatency = std::max(worstLatency, late);
                    ++requests;
                    std::snprintf(how, sizeof how, "play now at %.2f s", after);
                }
                const ThinkReport report = think.get();
                printRow(how, Seconds(Clock::now() - start), late, control.depth.load(), report);
            }
            if (options.limit > 0) {
                request.settings[MoveTimeSetting] = options.limit;
                PlayNowControl control;
                const Clock::time_point start = Clock::now();
                const ThinkReport report = ThinkThread(request, control, book, weights.table,
                                                       WallClockSeconds, &tables, &forward);
                const double took = Seconds(Clock::now() - start);
                worstLimited = std::max(worstLimited, took);
                ++limited;
                printRow("limit " + std::to_string(options.limit) + " s", took, -1,
                         control.depth.load(), report);
                request.settings[MoveTimeSetting] = 0;
            }
        }
    std::printf("requests to play now %d, latest answer %.3f s after the request\n", requests,
                worstLatency);
    if (limited > 0)
        std::printf("thinks limited to %d s: %d, longest %.3f s\n", options.limit, limited,
                    worstLimited);
    std::printf("answers that were not a legal move: %d\n", illegal);
    return illegal == 0 ? 0 : 1;
}

}  // namespace vell::bench
