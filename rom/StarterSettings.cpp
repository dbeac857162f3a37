#include "StarterSettings.h"

#include <algorithm>

namespace {

constexpr std::string_view blanks = " \t";

bool AllDigits(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

bool AnyNonZero(std::string_view digits)
{
    return std::ranges::any_of(digits, [](char c) { return c != '0'; });
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

std::optional<std::uint8_t> LevelByte(std::string_view text)
{
    text = Trimmed(text);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    const auto point = text.find('.');
    std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || !AllDigits(whole) || !AllDigits(fraction))
        return std::nullopt;

    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > 3)
        return std::nullopt;
    int level = 0;
    for (char digit : whole)
        level = level * 10 + (digit - '0');
    const bool hasFraction = AnyNonZero(fraction);
    if ((negative && (level > 0 || hasFraction)) || level > MaxLevel || (level == MaxLevel && hasFraction))
        return std::nullopt;

    const int tenths = fraction.empty() ? 0 : fraction[0] - '0';
    if (tenths > 5 || (tenths == 5 && (AnyNonZero(fraction.substr(1)) || level % 2 == 1)))
        ++level;
    return static_cast<std::uint8_t>(level);
}
