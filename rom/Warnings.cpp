#include "Warnings.h"

#include <array>

namespace {

constexpr std::uint8_t unown = 201;

} // namespace

std::vector<std::string> UnownWarnings(const StarterSettings& values)
{
    constexpr std::array balls{StarterValue::poke1, StarterValue::poke2, StarterValue::poke3};
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < balls.size(); ++i)
        if (values[balls[i]] == unown)
            warnings.push_back("Poké Ball " + std::to_string(i + 1)
                               + " holds Unown. Elm's lab cannot show its picture: the game will show "
                                 "garbage there and may freeze.");
    return warnings;
}
