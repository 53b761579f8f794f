#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/board.h"
#include "engine/think_driver.h"

namespace vell::cli {

// A bad command line: main prints the message on one line of standard error and exits 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One option a subcommand takes: "--name" with a value or a bare flag.
struct OptionRule {
    std::string name;
    bool takesValue;
};

// Parsed command line of one subcommand. A value option takes the next argument whatever it
// looks like (board texts start with '-'), or the text after '=' in "--name=value".
class Args {
  public:
    Args(const std::vector<std::string>& argv, const std::vector<OptionRule>& rules,
         std::size_t maxPositional);

    const std::vector<std::string>& Positional() const { return positional; }
    bool Has(const std::string& name) const { return values.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;

    // Typed readers; each throws UsageError naming the option on bad text.
    long long Integer(const std::string& name, long long fallback, long long min,
                      long long max) const;
    Board BoardOption(const Board& fallback) const;                 // --board
    int SideOption(int fallback) const;                             // --side black|white
    int PlayerOption(const std::string& name, int fallback) const;  // 0..4 or a type name
    SearchKind SearchOption() const;  // --search plain|fast, fast when not given

  private:
    std::map<std::string, std::string> values;
    std::vector<std::string> positional;
};

// Parses a whole decimal number in [min, max] or throws UsageError naming `what`.
long long ParseInteger(const std::string& text, const std::string& what, long long min,
                       long long max);

}  // namespace vell::cli
