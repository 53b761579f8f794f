#include "bench/side_by_side.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <limits>

#include "core/settings.h"
#include "engine/fast_search.h"
#include "engine/search.h"

namespace vell::bench {

namespace {

class Deadline : public ThinkControl {
  public:
    explicit Deadline(double seconds)
        : limited(seconds > 0),
          end(std::chrono::steady_clock::now() +
              std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                  std::chrono::duration<double>(seconds))) {}
    bool AbortRequested() const override {
        return limited && std::chrono::steady_clock::now() > end;
    }
    void ShowPaneText(int, const std::string&) override {}

  private:
    bool limited;
    std::chrono::steady_clock::time_point end;
};

class Stopwatch {
  public:
    double Wall() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    }
    double Cpu() const { return static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC; }

  private:
    std::chrono::steady_clock::time_point wallStart = std::chrono::steady_clock::now();
    std::clock_t cpuStart = std::clock();
};

const double Unfinished = std::numeric_limits<double>::infinity();

// A finished search's processor time; an unfinished one's counts as endless.
double CpuOf(const SearchFigures& f) {
    return f.finished ? f.cpu : Unfinished;
}

// "12.345" or ">12.345" for a search stopped at its cap.
std::string TimeText(const SearchFigures& f, double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%.3f", f.finished ? "" : ">", seconds);
    return text;
}

double Rate(std::uint64_t nodes, double cpu) {
    return cpu > 0 ? static_cast<double>(nodes) / cpu / 1e6 : 0.0;
}

bool Agree(const SearchFigures& plain, const SearchFigures& fast) {
    return plain.value == fast.value && plain.square == fast.square;
}

const char* Verdict(const SearchFigures& plain, const SearchFigures& fast) {
    if (!plain.ran) return "-";
    if (!plain.finished || !fast.finished) return "?";
    return Agree(plain, fast) ? "same" : "DIFFERENT";
}

}  // namespace

int FinalReadDepth(int empties) {
    return std::max(empties, MaxFinalDepth);
}

SearchFigures PlainFigures(const EvalContext& context, const Position& p, int depth,
                           double timeout) {
    Deadline deadline(timeout);
    SearchRun search(context, &deadline);
    search.depthLimit = depth;
    const Stopwatch watch;
    SearchFigures f;
    f.ran = true;
    f.value = search.Search(p.board, p.side, SearchWindowLow, SearchWindowHigh);
    f.cpu = watch.Cpu();
    f.wall = watch.Wall();
    f.finished = !search.aborted;
    f.square = search.chosenSquare;
    f.nodes = search.nodes;
    return f;
}

SearchFigures FastFigures(const EvalContext& context, TranspositionTable& table, const Position& p,
                          int depth, double timeout) {
    Deadline deadline(timeout);
    FastSearchRun search(context, table, &deadline);
    search.depthLimit = depth;
    const Stopwatch watch;
    SearchFigures f;
    f.ran = true;
    f.value = search.Search(p.board, p.side);
    f.cpu = watch.Cpu();
    f.wall = watch.Wall();
    f.finished = !search.aborted;
    f.square = search.chosenSquare;
    f.nodes = search.nodes;
    return f;
}

SideBySideTable::SideBySideTable() {
    std::printf("%-16s %3s | %-9s %9s %13s | %-9s %9s %13s %7s | %7s %s\n", "position", "emp",
                "plain cpu", "wall s", "nodes", "fast cpu", "wall s", "nodes", "Mn/s", "speedup",
                "agree");
}

void SideBySideTable::Row(const std::string& label, const std::string& group, int empties,
                          const SearchFigures& plain, const SearchFigures& fast) {
    runs.push_back({group, plain, fast});
    char plainPart[64] = "(not run)";
    if (plain.ran)
        std::snprintf(plainPart, sizeof plainPart, "%-9s %9.3f %13llu",
                      TimeText(plain, plain.cpu).c_str(), plain.wall,
                      static_cast<unsigned long long>(plain.nodes));
    char speedup[16] = "-";
    if (plain.ran && plain.finished && fast.finished && fast.cpu > 0)
        std::snprintf(speedup, sizeof speedup, "%.1fx", plain.cpu / fast.cpu);
    std::printf("%-16s %3d | %-33s | %-9s %9.3f %13llu %7.2f | %7s %s\n", label.c_str(), empties,
                plainPart, TimeText(fast, fast.cpu).c_str(), fast.wall,
                static_cast<unsigned long long>(fast.nodes), Rate(fast.nodes, fast.cpu), speedup,
                Verdict(plain, fast));
    std::fflush(stdout);
}

int SideBySideTable::Summary() const {
    std::vector<std::string> groups;
    for (const Run& r : runs)
        if (std::find(groups.begin(), groups.end(), r.group) == groups.end())
            groups.push_back(r.group);
    std::printf("\nsummary, processor seconds (>: stopped at the cap, counted as endless)\n");
    std::printf("%-12s %4s | %-10s %-10s %7s | %-10s %-10s %7s | %s\n", "group", "runs",
                "plain med", "plain max", "Mn/s", "fast med", "fast max", "Mn/s", "agree");
    int disagreements = 0;
    for (const std::string& group : groups) {
        std::vector<const Run*> in;
        for (const Run& r : runs)
            if (r.group == group) in.push_back(&r);
        // Median and worst of one side; "-" when that side did not run.
        const auto column = [&in](bool plainSide, std::string& median, std::string& worst,
                                  std::string& rate) {
            std::vector<const SearchFigures*> figures;
            std::uint64_t nodes = 0;
            double cpu = 0;
            for (const Run* r : in) {
                const SearchFigures& f = plainSide ? r->plain : r->fast;
                if (!f.ran) continue;
                figures.push_back(&f);
                nodes += f.nodes;
                cpu += f.cpu;
            }
            if (figures.empty()) {
                median.assign(1, '-');
                worst = median;
                rate = median;
                return;
            }
            std::sort(figures.begin(), figures.end(), [](auto a, auto b) {
                return CpuOf(*a) < CpuOf(*b) || (CpuOf(*a) == CpuOf(*b) && a->cpu < b->cpu);
            });
            const SearchFigures& low = *figures[(figures.size() - 1) / 2];
            const SearchFigures& high = *figures[figures.size() / 2];
            median =
                high.finished ? TimeText(high, (low.cpu + high.cpu) / 2) : TimeText(high, high.cpu);
            worst = TimeText(*figures.back(), figures.back()->cpu);
            char text[32];
            std::snprintf(text, sizeof text, "%.2f", Rate(nodes, cpu));
            rate = text;
        };
        std::string plainMedian, plainWorst, fastMedian, fastWorst;
        std::string plainRate, fastRate;
        column(true, plainMedian, plainWorst, plainRate);
        column(false, fastMedian, fastWorst, fastRate);
        int compared = 0, same = 0;
        for (const Run* r : in)
            if (r->plain.ran && r->plain.finished && r->fast.finished) {
                ++compared;
                same += Agree(r->plain, r->fast);
            }
        disagreements += compared - same;
        std::printf("%-12s %4zu | %-10s %-10s %7s | %-10s %-10s %7s | %d/%d\n", group.c_str(),
                    in.size(), plainMedian.c_str(), plainWorst.c_str(), plainRate.c_str(),
                    fastMedian.c_str(), fastWorst.c_str(), fastRate.c_str(), same, compared);
    }
    return disagreements;
}

}  // namespace vell::bench
