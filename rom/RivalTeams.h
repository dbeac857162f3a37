#pragma once

#include "ByteSlice.h"
#include "GameLayout.h"
#include "RivalSlots.h"
#include "StarterSettings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Makes the six later slots of each of the rival's lines follow his starter
// in `values`: the species evolved to the slot's stage, and in a moves party
// the game's own moves for the game's own species, else the moves the game
// would give that species at the slot's level. A starter that is no species
// leaves its line alone. When the parties or the evolution data do not look
// like the game's own, nothing is written and the result is false.
bool RewriteRivalTeams(std::span<std::uint8_t> rom, const GameLayout& layout, const StarterSettings& values);

// The species after `times` evolutions, each the first one the ROM's own data
// lists for it, whatever its method. Data that does not check ends the chain.
std::uint8_t EvolvedSpecies(std::span<const std::uint8_t> rom, const GameLayout& layout, std::uint8_t species,
                            int times);

// The moves the game gives a Pokémon of a normal party: its learnset walked up
// to the first move above `level`, duplicates skipped, the oldest dropped past
// four, empty slots 0. Nothing when the learnset does not check.
std::optional<FourMoves> MovesAtLevel(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                      std::uint8_t species, std::uint8_t level);

// Every offset that RewriteRivalTeams may change.
constexpr std::array<std::int32_t, RivalSlotByteCount> RivalSlotBytes(const GameLayout& layout)
{
    std::array<std::int32_t, RivalSlotByteCount> bytes{};
    std::size_t n = 0;
    for (std::size_t line = 0; line < RivalLines.size(); ++line)
        for (std::size_t i = 0; i < 6; ++i) {
            const std::int32_t species = layout.rivalTeams->slotSpecies[line][i];
            bytes[n++] = species;
            if (RivalLines[line].laterSlots[i].type == PartyType::moves)
                for (std::int32_t move = 1; move <= 4; ++move)
                    bytes[n++] = species + move;
        }
    return bytes;
}

// One later slot as the ROM holds it now.
struct HeldSlot {
    RivalBattle battle;
    std::uint8_t level;
    std::uint8_t species;
    std::optional<FourMoves> moves; // moves parties only
};

struct HeldLine {
    StarterValue starter;
    std::array<HeldSlot, 6> laterSlots;
};

// The later slots of the lines of rival1, rival2 and rival3, in that order;
// nothing when the image is too short to hold them.
std::optional<std::array<HeldLine, 3>> ReadRivalLaterTeams(std::span<const std::uint8_t> rom,
                                                           const GameLayout& layout);

namespace rival_checks {

// RIVAL1's first parties hold one member each: name, type, level, species, end.
constexpr bool FirstTeamsAreWhereTheStartersAre(const GameLayout& layout)
{
    return std::ranges::all_of(RivalLines, [&layout](const RivalLine& line) {
        return layout.rivalTeams->rival1Start + 6 * (line.firstParty - 1) + 4
            == LocationOf(layout.starters, line.starter).read;
    });
}

constexpr bool SlotBytesAreDistinctAndApartFromTheStructure(const GameLayout& layout)
{
    auto bytes = RivalSlotBytes(layout);
    std::ranges::sort(bytes);
    if (std::ranges::adjacent_find(bytes) != bytes.end())
        return false;
    return std::ranges::none_of(StructureOf(layout), [&bytes](const ByteAt& checked) {
        return std::ranges::binary_search(bytes, checked.offset);
    });
}

// A slot's level, species and moves never straddle two banks.
constexpr bool SlotsLieInOneBank(const GameLayout& layout)
{
    for (const auto& line : layout.rivalTeams->slotSpecies)
        for (std::int32_t species : line)
            if ((species - 1) / std::int32_t{BankSize} != (species + 4) / std::int32_t{BankSize})
                return false;
    return true;
}

static_assert(SlotsLieInOneBank(GoldSilver) && SlotsLieInOneBank(Crystal));
static_assert(FirstTeamsAreWhereTheStartersAre(GoldSilver) && FirstTeamsAreWhereTheStartersAre(Crystal));
static_assert(SlotBytesAreDistinctAndApartFromTheStructure(GoldSilver)
              && SlotBytesAreDistinctAndApartFromTheStructure(Crystal));

} // namespace rival_checks
