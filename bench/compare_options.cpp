#include "bench/compare_options.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cmath>
#include <iterator>

#include "core/player_names.h"
#include "engine/bench_positions.h"

namespace vell::bench {

const char* const CompareUsage =
    R"(usage: vell_search_compare MODE [options]
modes:
  bench      plain and fast search side by side on positions of vellcli bench
  realistic  the same on positions of "CPU-PAT2" self-play games with random openings
  agree      value and square of both searches on fresh random-game positions, the three
             evaluated player types in turn; exit status 1 on any disagreement
  playnow    how soon a think answers a request to play now, and how long a think with a
             time limit takes
options (the modes that take them; default):
  --type T            CPU-1, CPU-PAT1, CPU-PAT2 or 1..3 (bench CPU-1; realistic, playnow
                      CPU-PAT2); playnow also takes CPU-1-2, which thinks with the plain search
  --positions LIST    bench: position numbers 1..11 (1,2,3,4,5)
  --depth LIST        bench: depths 1..30 (7,8,9,10,11,12); realistic: depths instead of the
                      final read; playnow: the think's normal depth, one value 1..20 (20)
  --final             realistic: read to the end (the default when --depth is not given)
  --empties LIST      realistic: 1..59 (24,26,28,30); playnow: (24,30,40,50)
  --openings N        realistic, playnow: random plies opening each game, 0..20 (6)
  --seed S            realistic, agree, playnow: 0..4294967295 (1)
  --weights FILE      bench, realistic, playnow: pattern weights (resources/weight4.dat)
  --plain-timeout S   bench, realistic: stop the plain search after S seconds, 0 never (60)
  --fast-timeout S    bench, realistic: stop the fast search after S seconds, 0 never (0)
  --fast-only         bench, realistic: skip the plain search
  --count N           realistic, playnow: positions at each empties count, from as many
                      self-play games as it takes (6); agree: positions to compare (20000)
  --max-depth D       agree: normal depths 1..D in turn, 1..30 (10)
  --max-final E       agree: read to the end at E empties or fewer, 0..30 (18)
  --final-step K      agree: read only every K-th such position (1)
  --minutes M         agree: stop after M minutes of searching, 0 never (0)
  --narrow            agree: the plain search checks the fast value v with the window
                      (v-1, v+1) instead of the full window: it returns exactly v, and the
                      same lowest square of that value, only when v is its value
  --after LIST        playnow: seconds after the start to ask to play now (0.5,2)
  --limit S           playnow: also think with a time limit of S seconds, 1..600 (none)
  --final-depth E     playnow: the think's final depth, 1..30 (30)
LIST is comma-separated; a range A-B of whole numbers counts every number from A to B.
)";

namespace {

struct OptionRule {
    const char* name;
    bool takesValue;
    unsigned modes;  // bit per CompareMode
};

constexpr unsigned BenchBit = 1, RealisticBit = 2, AgreeBit = 4, PlayNowBit = 8;

constexpr OptionRule Rules[] = {
    {"--type", true, BenchBit | RealisticBit | PlayNowBit},
    {"--positions", true, BenchBit},
    {"--depth", true, BenchBit | RealisticBit | PlayNowBit},
    {"--final", false, RealisticBit},
    {"--empties", true, RealisticBit | PlayNowBit},
    {"--openings", true, RealisticBit | PlayNowBit},
    {"--seed", true, RealisticBit | AgreeBit | PlayNowBit},
    {"--weights", true, BenchBit | RealisticBit | PlayNowBit},
    {"--plain-timeout", true, BenchBit | RealisticBit},
    {"--fast-timeout", true, BenchBit | RealisticBit},
    {"--fast-only", false, BenchBit | RealisticBit},
    {"--count", true, RealisticBit | AgreeBit | PlayNowBit},
    {"--max-depth", true, AgreeBit},
    {"--max-final", true, AgreeBit},
    {"--final-step", true, AgreeBit},
    {"--minutes", true, AgreeBit},
    {"--narrow", false, AgreeBit},
    {"--after", true, PlayNowBit},
    {"--limit", true, PlayNowBit},
    {"--final-depth", true, PlayNowBit},
};

[[noreturn]] void Fail(const std::string& option, const std::string& text, const char* what) {
    throw CompareUsageError(option + " " + what + ", not '" + text + "'");
}

long long Whole(const std::string& option, const std::string& text, long long min, long long max) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || value < min || value > max)
        Fail(
            option, text,
            ("must be a whole number " + std::to_string(min) + ".." + std::to_string(max)).c_str());
    return value;
}

double Seconds(const std::string& option, const std::string& text, double max) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value) || value < 0 ||
        value > max) {
        char what[64];
        std::snprintf(what, sizeof what, "must be a number of seconds 0..%g", max);
        Fail(option, text, what);
    }
    return value;
}

// "A,B,C-D": each item a whole number in [min, max] or a rising range of them.
std::vector<int> WholeList(const std::string& option, const std::string& text, int min, int max) {
    std::vector<int> list;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string item = text.substr(start, comma - start);
        const std::size_t dash = item.find('-', 1);
        if (dash == std::string::npos) {
            list.push_back(static_cast<int>(Whole(option, item, min, max)));
        } else {
            const long long from = Whole(option, item.substr(0, dash), min, max);
            const long long to = Whole(option, item.substr(dash + 1), min, max);
            if (to < from) Fail(option, item, "has a falling range");
            for (long long v = from; v <= to; ++v)
                list.push_back(static_cast<int>(v));
        }
        start = comma + 1;
    }
    return list;
}

int PlayerType(const std::string& option, const std::string& text, bool randomToo) {
    const int last = randomToo ? Cpu12Player : CpuPat2Player;
    for (int t = Cpu1Player; t <= last; ++t)
        if (text == PlayerTypeNames[t] || text == std::to_string(t)) return t;
    Fail(option, text,
         randomToo ? "must be CPU-1, CPU-PAT1, CPU-PAT2, CPU-1-2 or 1..4"
                   : "must be CPU-1, CPU-PAT1, CPU-PAT2 or 1..3");
}

CompareMode ModeOf(const std::string& text) {
    if (text == "bench") return CompareMode::Bench;
    if (text == "realistic") return CompareMode::Realistic;
    if (text == "agree") return CompareMode::Agree;
    if (text == "playnow") return CompareMode::PlayNow;
    throw CompareUsageError(text.empty() ? "a mode is required" : "unknown mode '" + text + "'");
}

}  // namespace

CompareOptions ParseCompareOptions(const std::vector<std::string>& args) {
    CompareOptions o;
    o.mode = ModeOf(args.empty() ? "" : args[0]);
    const unsigned modeBit = 1u << static_cast<unsigned>(o.mode);
    bool depthGiven = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& name = args[i];
        const auto rule = std::find_if(std::begin(Rules), std::end(Rules),
                                       [&](const OptionRule& s) { return name == s.name; });
        if (rule == std::end(Rules)) throw CompareUsageError("unknown option '" + name + "'");
        if (!(rule->modes & modeBit))
            throw CompareUsageError(name + " does not apply to mode " + args[0]);
        std::string v;
        if (rule->takesValue) {
            if (i + 1 >= args.size()) throw CompareUsageError(name + " needs a value");
            v = args[++i];
        }
        if (name == "--type")
            o.type = PlayerType(name, v, o.mode == CompareMode::PlayNow);
        else if (name == "--positions")
            o.positions = WholeList(name, v, 1, static_cast<int>(std::size(BenchPositions)));
        else if (name == "--depth") {
            o.depths = WholeList(name, v, 1, o.mode == CompareMode::PlayNow ? 20 : 30);
            if (o.mode == CompareMode::PlayNow && o.depths.size() != 1)
                Fail(name, v, "takes one depth in mode playnow");
            depthGiven = true;
        } else if (name == "--final")
            o.finalRead = true;
        else if (name == "--empties")
            o.empties = WholeList(name, v, 1, 59);
        else if (name == "--openings")
            o.openings = static_cast<int>(Whole(name, v, 0, 20));
        else if (name == "--seed")
            o.seed = static_cast<std::uint32_t>(Whole(name, v, 0, UINT32_MAX));
        else if (name == "--weights")
            o.weights = v;
        else if (name == "--plain-timeout")
            o.plainTimeout = Seconds(name, v, 1e6);
        else if (name == "--fast-timeout")
            o.fastTimeout = Seconds(name, v, 1e6);
        else if (name == "--fast-only")
            o.fastOnly = true;
        else if (name == "--count" && o.mode == CompareMode::Agree)
            o.count = static_cast<long>(Whole(name, v, 1, 100000000));
        else if (name == "--count")
            o.perEmpties = static_cast<int>(Whole(name, v, 1, 10000));
        else if (name == "--max-depth")
            o.maxDepth = static_cast<int>(Whole(name, v, 1, 30));
        else if (name == "--max-final")
            o.maxFinal = static_cast<int>(Whole(name, v, 0, 30));
        else if (name == "--final-step")
            o.finalStep = static_cast<int>(Whole(name, v, 1, 1000000));
        else if (name == "--narrow")
            o.narrow = true;
        else if (name == "--minutes")
            o.minutes = Seconds(name, v, 1e6);
        else if (name == "--after") {
            o.after.clear();
            std::size_t start = 0;
            while (start <= v.size()) {
                std::size_t comma = v.find(',', start);
                if (comma == std::string::npos) comma = v.size();
                o.after.push_back(Seconds(name, v.substr(start, comma - start), 3600));
                start = comma + 1;
            }
        } else if (name == "--limit")
            o.limit = static_cast<int>(Whole(name, v, 1, 600));
        else if (name == "--final-depth")
            o.finalDepth = static_cast<int>(Whole(name, v, 1, 30));
    }
    // The modes' defaults.
    switch (o.mode) {
        case CompareMode::Bench:
            if (!o.type) o.type = Cpu1Player;
            if (o.positions.empty()) o.positions = {1, 2, 3, 4, 5};
            if (!depthGiven) o.depths = {7, 8, 9, 10, 11, 12};
            break;
        case CompareMode::Realistic:
            if (!o.type) o.type = CpuPat2Player;
            if (o.empties.empty()) o.empties = {24, 26, 28, 30};
            if (!depthGiven) o.finalRead = true;
            break;
        case CompareMode::Agree:
            break;
        case CompareMode::PlayNow:
            if (!o.type) o.type = CpuPat2Player;
            if (o.empties.empty()) o.empties = {24, 30, 40, 50};
            if (!depthGiven) o.depths = {20};
            if (o.after.empty() && o.limit == 0) o.after = {0.5, 2};
            break;
    }
    return o;
}

}  // namespace vell::bench
