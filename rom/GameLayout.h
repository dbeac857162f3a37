#pragma once

#include "PictureTables.h"
#include "RivalSlots.h"
#include "StarterLayout.h"

#include <algorithm>
#include <array>
#include <cstdint>

// A byte that an unmodified game holds at a fixed distance from a starter value.
struct ExpectedByte {
    std::int32_t distance;
    std::uint8_t byte;
};

// The script that hands over a Poké Ball's Pokémon, around its species offset.
using BallScript = std::array<ExpectedByte, 8>;

inline constexpr BallScript GoldSilverBallScript{{
    {-37, 0x55}, // show the picture
    {-35, 0x83}, // play the cry
    {-33, 0x00}, //   high byte of the cry's species
    {-29, 0x4C}, // write Elm's question
    {-12, 0x40}, // get the species' name
    {-10, 0x00},
    {-1, 0x2D},  // give the Pokémon
    {+3, 0x00},  //   not a trainer's gift
}};

inline constexpr BallScript CrystalBallScript{{
    {-37, 0x56},
    {-35, 0x84},
    {-33, 0x00},
    {-29, 0x4C},
    {-12, 0x40},
    {-10, 0x00},
    {-1, 0x2D},
    {+3, 0x00},
}};

// The rival's first party around its species offset, the same in every game:
// name, party type, then level and species, then the end of the party.
inline constexpr std::array<ExpectedByte, 4> RivalParty{{
    {-4, 0xE6},
    {-3, 0x50},
    {-2, 0x00},
    {+1, 0xFF},
}};

// Elm's question for a ball is found through a pointer in the ball's script,
// little-endian, into the script's own bank.
inline constexpr std::int32_t LabTextPointerDistance = -28;

inline constexpr std::uint8_t LastSpecies = 251;
inline constexpr std::uint8_t Unown = 201;
inline constexpr std::size_t BaseDataEntrySize = 32;

// Everything that Tidewell knows about where one family of games keeps things.
struct GameLayout {
    StarterLayout starters;
    BallScript ballScript;
    std::int32_t speciesNames; // 10 bytes per species, species 1 first
    std::int32_t baseData;     // 32 bytes per species, species 1 first
    bool hasBaseBlock;         // the end-of-ROM check data has Crystal's base block
    const RivalTeamsLayout* rivalTeams;
    const PictureTables* pictures;
};

inline constexpr GameLayout GoldSilver{GoldSilverLayout, GoldSilverBallScript, 0x1B0B74, 0x51B0B, false,
                                       &GoldSilverRivalTeams, &GoldSilverPictures};
inline constexpr GameLayout Crystal{CrystalLayout, CrystalBallScript, 0x53384, 0x51424, true, &CrystalRivalTeams,
                                    &CrystalPictures};

// A byte at its place in the file.
struct ByteAt {
    std::int32_t offset;
    std::uint8_t byte;
};

inline constexpr std::size_t StructureByteCount = 3 * BallScript{}.size() + 3 * RivalParty.size();

// The script bytes around the three balls, then the rival's three parties.
constexpr std::array<ByteAt, StructureByteCount> StructureOf(const GameLayout& layout)
{
    using enum StarterValue;
    std::array<ByteAt, StructureByteCount> bytes{};
    std::size_t n = 0;
    for (StarterValue ball : {poke1, poke2, poke3})
        for (const auto& [distance, byte] : layout.ballScript)
            bytes[n++] = {LocationOf(layout.starters, ball).read + distance, byte};
    for (StarterValue rival : {rival1, rival2, rival3})
        for (const auto& [distance, byte] : RivalParty)
            bytes[n++] = {LocationOf(layout.starters, rival).read + distance, byte};
    return bytes;
}

namespace layout_checks {

// A structure byte that Save writes would fail the check after the first Save.
constexpr bool StructureStaysClearOfWrites(const GameLayout& layout)
{
    for (const ByteAt& checked : StructureOf(layout))
        for (const ValueLocation& location : layout.starters)
            if (std::ranges::find(location.writes, checked.offset) != location.writes.end())
                return false;
    return true;
}

constexpr bool StructureBytesAreDistinct(const GameLayout& layout)
{
    auto bytes = StructureOf(layout);
    std::ranges::sort(bytes, {}, &ByteAt::offset);
    return std::ranges::adjacent_find(bytes, {}, &ByteAt::offset) == bytes.end();
}

static_assert(StructureStaysClearOfWrites(GoldSilver) && StructureStaysClearOfWrites(Crystal));
static_assert(StructureBytesAreDistinct(GoldSilver) && StructureBytesAreDistinct(Crystal));

} // namespace layout_checks
