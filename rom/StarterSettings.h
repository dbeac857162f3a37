#pragma once

#include "StarterLayout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The fifteen starter bytes of one ROM.
struct StarterSettings {
    std::array<std::uint8_t, StarterValueCount> bytes{};

    constexpr std::uint8_t& operator[](StarterValue value) { return bytes[IndexOf(value)]; }
    constexpr std::uint8_t operator[](StarterValue value) const { return bytes[IndexOf(value)]; }
    bool operator==(const StarterSettings&) const = default;
};

struct ValueByte {
    StarterValue value;
    std::uint8_t byte;
};

// Cyndaquil, Totodile and Chikorita at level 5 holding a Berry; the rival gets
// the starter that is strong against the player's. Set in this order.
inline constexpr std::array<ValueByte, StarterValueCount> DefaultSelection{{
    {StarterValue::poke1, 155},
    {StarterValue::poke2, 158},
    {StarterValue::poke3, 152},
    {StarterValue::lvl1, 5},
    {StarterValue::lvl2, 5},
    {StarterValue::lvl3, 5},
    {StarterValue::item1, 173},
    {StarterValue::item2, 173},
    {StarterValue::item3, 173},
    {StarterValue::rlvl1, 5},
    {StarterValue::rlvl2, 5},
    {StarterValue::rlvl3, 5},
    {StarterValue::rival1, 158},
    {StarterValue::rival2, 152},
    {StarterValue::rival3, 155},
}};

static_assert([] {
    std::array<bool, StarterValueCount> set{};
    for (const auto& [value, byte] : DefaultSelection)
        set[IndexOf(value)] = true;
    return std::ranges::all_of(set, std::identity{});
}());

inline constexpr std::uint8_t MaxLevel = 100;

// The byte for a level typed as a decimal number from 0 to 100: an optional
// sign, digits with an optional fractional part, spaces around. A fraction is
// rounded to the nearest whole number, a half to the even one.
std::optional<std::uint8_t> LevelByte(std::string_view text);
