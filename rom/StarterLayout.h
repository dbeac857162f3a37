#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <utility>

// The fifteen starter values, in the order in which they are written back.
enum class StarterValue : std::uint8_t {
    poke1, poke2, poke3,
    lvl1, lvl2, lvl3,
    item1, item2, item3,
    rival1, rlvl1,
    rival2, rlvl2,
    rival3, rlvl3,
};
inline constexpr std::size_t StarterValueCount = 15;

constexpr std::size_t IndexOf(StarterValue value) { return std::to_underlying(value); }

// Every value, in write order.
inline constexpr auto AllStarterValues = [] {
    std::array<StarterValue, StarterValueCount> values{};
    for (std::size_t i = 0; i < StarterValueCount; ++i)
        values[i] = static_cast<StarterValue>(i);
    return values;
}();

// The window control that shows each value bears the value's name.
inline constexpr std::array<std::string_view, StarterValueCount> StarterValueNames{
    "poke1", "poke2", "poke3",
    "lvl1", "lvl2", "lvl3",
    "item1", "item2", "item3",
    "rival1", "rlvl1",
    "rival2", "rlvl2",
    "rival3", "rlvl3",
};

enum class ValueKind { species, level, item };

constexpr ValueKind KindOf(StarterValue value)
{
    using enum StarterValue;
    switch (value) {
    case lvl1: case lvl2: case lvl3: case rlvl1: case rlvl2: case rlvl3:
        return ValueKind::level;
    case item1: case item2: case item3:
        return ValueKind::item;
    default:
        return ValueKind::species;
    }
}

// Up to four offsets, written in this order.
class WriteOffsets {
public:
    constexpr WriteOffsets(std::initializer_list<std::int32_t> offsets)
        : size_(offsets.size())
    {
        std::ranges::copy(offsets, offsets_.begin());
    }
    constexpr const std::int32_t* begin() const { return offsets_.data(); }
    constexpr const std::int32_t* end() const { return offsets_.data() + size_; }
    constexpr std::size_t size() const { return size_; }
    constexpr std::int32_t operator[](std::size_t i) const { return offsets_[i]; }

private:
    std::array<std::int32_t, 4> offsets_{};
    std::size_t size_;
};

struct ValueLocation {
    StarterValue value;
    std::int32_t read;
    WriteOffsets writes;
};

using StarterLayout = std::array<ValueLocation, StarterValueCount>;

constexpr const ValueLocation& LocationOf(const StarterLayout& layout, StarterValue value)
{
    return layout[IndexOf(value)];
}

// Pokémon Gold and Pokémon Silver.
inline constexpr StarterLayout GoldSilverLayout{{
    {StarterValue::poke1, 0x1800F6, {0x1800F6, 0x1800D2, 0x1800D4, 0x1800EB}},
    {StarterValue::poke2, 0x180138, {0x180138, 0x180114, 0x180116, 0x18012D}},
    {StarterValue::poke3, 0x180174, {0x180174, 0x180150, 0x180152, 0x180169}},
    {StarterValue::lvl1, 0x1800F7, {0x1800F7}},
    {StarterValue::lvl2, 0x180139, {0x180139}},
    {StarterValue::lvl3, 0x180175, {0x180175}},
    {StarterValue::item1, 0x1800F8, {0x1800F8}},
    {StarterValue::item2, 0x18013A, {0x18013A}},
    {StarterValue::item3, 0x180176, {0x180176}},
    {StarterValue::rival1, 0x39AA2, {0x39AA2}},
    {StarterValue::rlvl1, 0x39AA1, {0x39AA1}},
    {StarterValue::rival2, 0x39A96, {0x39A96}},
    {StarterValue::rlvl2, 0x39A95, {0x39A95}},
    {StarterValue::rival3, 0x39A9C, {0x39A9C}},
    {StarterValue::rlvl3, 0x39A9B, {0x39A9B}},
}};

// Pokémon Crystal.
inline constexpr StarterLayout CrystalLayout{{
    {StarterValue::poke1, 0x78CA3, {0x78CA3, 0x78C7F, 0x78C81, 0x78C98}},
    {StarterValue::poke2, 0x78CE5, {0x78CE5, 0x78CC1, 0x78CC3, 0x78CDA}},
    {StarterValue::poke3, 0x78D21, {0x78D21, 0x78CFD, 0x78CFF, 0x78D16}},
    {StarterValue::lvl1, 0x78CA4, {0x78CA4}},
    {StarterValue::lvl2, 0x78CE6, {0x78CE6}},
    {StarterValue::lvl3, 0x78D22, {0x78D22}},
    {StarterValue::item1, 0x78CA5, {0x78CA5}},
    {StarterValue::item2, 0x78CE7, {0x78CE7}},
    {StarterValue::item3, 0x78D23, {0x78D23}},
    {StarterValue::rival1, 0x39AFF, {0x39AFF}},
    {StarterValue::rlvl1, 0x39AFE, {0x39AFE}},
    {StarterValue::rival2, 0x39AF3, {0x39AF3}},
    {StarterValue::rlvl2, 0x39AF2, {0x39AF2}},
    {StarterValue::rival3, 0x39AF9, {0x39AF9}},
    {StarterValue::rlvl3, 0x39AF8, {0x39AF8}},
}};

// Open reads the values in an order of its own.
inline constexpr std::array<StarterValue, StarterValueCount> OpenReadOrder{
    StarterValue::poke1, StarterValue::poke2, StarterValue::poke3,
    StarterValue::item1, StarterValue::item2, StarterValue::item3,
    StarterValue::lvl1, StarterValue::lvl2, StarterValue::lvl3,
    StarterValue::rival2, StarterValue::rival3, StarterValue::rival1,
    StarterValue::rlvl2, StarterValue::rlvl3, StarterValue::rlvl1,
};

constexpr std::int32_t HighestWriteOffset(const StarterLayout& layout)
{
    std::int32_t highest = 0;
    for (const auto& location : layout)
        highest = std::max(highest, *std::ranges::max_element(location.writes));
    return highest;
}

// The structure both games share, so that a mistyped offset cannot build.
namespace layout_checks {

constexpr std::int32_t ReadOf(const StarterLayout& layout, StarterValue value)
{
    return LocationOf(layout, value).read;
}

constexpr bool IsPlayerSpecies(StarterValue value)
{
    return IndexOf(value) <= IndexOf(StarterValue::poke3);
}

constexpr bool IsRivalValue(StarterValue value)
{
    return IndexOf(value) >= IndexOf(StarterValue::rival1);
}

constexpr bool RowsInWriteOrder(const StarterLayout& layout)
{
    for (std::size_t i = 0; i < layout.size(); ++i)
        if (IndexOf(layout[i].value) != i)
            return false;
    return true;
}

constexpr bool EachReadIsFirstWrite(const StarterLayout& layout)
{
    return std::ranges::all_of(layout, [](const ValueLocation& location) {
        return location.writes.size() == (IsPlayerSpecies(location.value) ? 4u : 1u)
            && location.writes[0] == location.read;
    });
}

constexpr bool PlayerBlocksFollowEachOther(const StarterLayout& layout)
{
    using enum StarterValue;
    constexpr std::array<std::array<StarterValue, 3>, 3> blocks{{
        {poke1, lvl1, item1}, {poke2, lvl2, item2}, {poke3, lvl3, item3}}};
    for (const auto& [species, level, item] : blocks) {
        const std::int32_t s = ReadOf(layout, species);
        const auto& copies = LocationOf(layout, species).writes;
        if (ReadOf(layout, level) != s + 1 || ReadOf(layout, item) != s + 2
            || copies[1] != s - 36 || copies[2] != s - 34 || copies[3] != s - 11)
            return false;
    }
    return ReadOf(layout, poke2) == ReadOf(layout, poke1) + 66
        && ReadOf(layout, poke3) == ReadOf(layout, poke2) + 60;
}

constexpr bool RivalEntriesFollowEachOther(const StarterLayout& layout)
{
    using enum StarterValue;
    return ReadOf(layout, rlvl1) == ReadOf(layout, rival1) - 1
        && ReadOf(layout, rlvl2) == ReadOf(layout, rival2) - 1
        && ReadOf(layout, rlvl3) == ReadOf(layout, rival3) - 1
        && ReadOf(layout, rival3) == ReadOf(layout, rival2) + 6
        && ReadOf(layout, rival1) == ReadOf(layout, rival3) + 6;
}

constexpr bool FollowsStarterStructure(const StarterLayout& layout)
{
    return RowsInWriteOrder(layout) && EachReadIsFirstWrite(layout)
        && PlayerBlocksFollowEachOther(layout) && RivalEntriesFollowEachOther(layout);
}

constexpr bool CrystalRivalsLieFurther(const StarterLayout& goldSilver,
                                       const StarterLayout& crystal, std::int32_t shift)
{
    for (const auto& location : goldSilver)
        if (IsRivalValue(location.value) && ReadOf(crystal, location.value) != location.read + shift)
            return false;
    return true;
}

constexpr bool IsPermutation(const std::array<StarterValue, StarterValueCount>& order)
{
    std::array<bool, StarterValueCount> seen{};
    for (StarterValue value : order)
        seen[IndexOf(value)] = true;
    return std::ranges::all_of(seen, std::identity{});
}

static_assert(FollowsStarterStructure(GoldSilverLayout));
static_assert(FollowsStarterStructure(CrystalLayout));
static_assert(CrystalRivalsLieFurther(GoldSilverLayout, CrystalLayout, 0x5D));
static_assert(IsPermutation(OpenReadOrder));

} // namespace layout_checks
