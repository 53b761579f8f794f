#include "cli/args.h"

#include <charconv>

#include "core/player_names.h"

namespace vell::cli {

Args::Args(const std::vector<std::string>& argv, const std::vector<OptionRule>& rules,
           std::size_t maxPositional) {
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& arg = argv[i];
        if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            const auto eq = arg.find('=');
            const std::string name = arg.substr(0, eq);
            const OptionRule* rule = nullptr;
            for (const auto& s : rules)
                if (s.name == name) rule = &s;
            if (!rule) throw UsageError("unknown option " + name);
            if (!rule->takesValue) {
                if (eq != std::string::npos) throw UsageError(name + " takes no value");
                values[name] = "";
            } else if (eq != std::string::npos) {
                values[name] = arg.substr(eq + 1);
            } else {
                if (i + 1 >= argv.size()) throw UsageError(name + " needs a value");
                values[name] = argv[++i];
            }
        } else if (arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9')) {
            throw UsageError("unknown option " + arg);
        } else {
            if (positional.size() >= maxPositional) throw UsageError("unexpected argument " + arg);
            positional.push_back(arg);
        }
    }
}

std::optional<std::string> Args::Value(const std::string& name) const {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

long long ParseInteger(const std::string& text, const std::string& what, long long min,
                       long long max) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < min || value > max)
        throw UsageError(what + " must be a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not '" + text + "'");
    return value;
}

long long Args::Integer(const std::string& name, long long fallback, long long min,
                        long long max) const {
    auto v = Value(name);
    return v ? ParseInteger(*v, name, min, max) : fallback;
}

Board Args::BoardOption(const Board& fallback) const {
    auto v = Value("--board");
    if (!v) return fallback;
    Board board;
    if (!BoardFromText(*v, board))
        throw UsageError("--board needs 64 characters of x, o and -, got " +
                         std::to_string(v->size()) + " characters: '" + *v + "'");
    return board;
}

int Args::SideOption(int fallback) const {
    auto v = Value("--side");
    if (!v) return fallback;
    if (*v == "black") return Black;
    if (*v == "white") return White;
    throw UsageError("--side must be black or white, not '" + *v + "'");
}

int Args::PlayerOption(const std::string& name, int fallback) const {
    auto v = Value(name);
    if (!v) return fallback;
    for (int t = 0; t < PlayerTypeCount; ++t)
        if (*v == PlayerTypeNames[t] || *v == std::to_string(t)) return t;
    throw UsageError(name + " must be 0..4 or Human, CPU-1, CPU-PAT1, CPU-PAT2, CPU-1-2, not '" +
                     *v + "'");
}

SearchKind Args::SearchOption() const {
    SearchKind kind = SearchKind::Fast;
    auto v = Value("--search");
    if (v && !ParseSearchKind(*v, kind))
        throw UsageError("--search must be plain or fast, not '" + *v + "'");
    return kind;
}

}  // namespace vell::cli
