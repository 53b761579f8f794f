#include "engine/stones.h"

#include <charconv>
#include <cstdlib>

#include "core/square_name.h"

namespace vell {

namespace {

std::string TenthsText(int tenths, bool sign) {
    std::string text;
    if (sign && tenths > 0) text += '+';
    if (tenths < 0) text += '-';
    const int magnitude = std::abs(tenths);
    text += std::to_string(magnitude / 10);
    text += '.';
    text += std::to_string(magnitude % 10);
    return text;
}

}  // namespace

std::string StonesText(int value) {
    return TenthsText(StoneTenths(value), true);
}

std::string LossStonesText(int loss) {
    return TenthsText(StoneTenths(loss < 0 ? 0 : loss), false);
}

std::optional<int> MessageValue(std::string_view message) {
    const std::size_t colon = message.rfind(':');
    if (colon != std::string_view::npos) message.remove_prefix(colon + 1);
    int value = 0;
    const auto [end, error] =
        std::from_chars(message.data(), message.data() + message.size(), value);
    if (error != std::errc() || end == message.data()) return std::nullopt;
    return value;
}

std::string HintText(int square, std::string_view message) {
    const std::optional<int> value = MessageValue(message);
    std::string text = SquareName(square);
    if (value) {
        text += ' ';
        text += StonesText(*value);
        text += "石";
    }
    return text;
}

}  // namespace vell
