#pragma once

#include "StarterLayout.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// A Poké Ball or one of the rival's starters: a row of the table, an option
// of set and a key of the JSON output.
struct StarterRow {
    std::string_view label;
    std::string_view key;
    StarterValue species;
    StarterValue level;
    std::optional<StarterValue> item;
};

inline constexpr std::array<StarterRow, 6> StarterRows{{
    {"Poké Ball 1", "ball1", StarterValue::poke1, StarterValue::lvl1, StarterValue::item1},
    {"Poké Ball 2", "ball2", StarterValue::poke2, StarterValue::lvl2, StarterValue::item2},
    {"Poké Ball 3", "ball3", StarterValue::poke3, StarterValue::lvl3, StarterValue::item3},
    {"Rival's starter 1", "rival1", StarterValue::rival1, StarterValue::rlvl1, std::nullopt},
    {"Rival's starter 2", "rival2", StarterValue::rival2, StarterValue::rlvl2, std::nullopt},
    {"Rival's starter 3", "rival3", StarterValue::rival3, StarterValue::rlvl3, std::nullopt},
}};

// The row's values in the order an option gives them: species, level, item.
inline std::vector<StarterValue> PartsOf(const StarterRow& row)
{
    std::vector<StarterValue> parts{row.species, row.level};
    if (row.item)
        parts.push_back(*row.item);
    return parts;
}
