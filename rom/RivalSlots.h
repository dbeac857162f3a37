#pragma once

#include "StarterLayout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

// The six later battles against the rival, in the order he fights them.
enum class RivalBattle : std::uint8_t {
    azaleaTown, burnedTower, goldenrodUnderground, victoryRoad, mtMoon, indigoPlateau,
};

inline constexpr std::array<std::string_view, 6> RivalBattleNames{
    "Azalea Town", "Burned Tower", "Goldenrod Underground", "Victory Road", "Mt. Moon", "Indigo Plateau",
};

enum class TrainerClass : std::uint8_t { rival1, rival2 };

// A normal party's members are level and species; a moves party's add four moves.
enum class PartyType : std::uint8_t { normal = 0, moves = 1 };

using FourMoves = std::array<std::uint8_t, 4>;

// One later slot of a line, as the unmodified game has it.
struct RivalSlot {
    RivalBattle battle;
    TrainerClass trainer;
    std::uint8_t party; // counted from 1 within the trainer class
    std::uint8_t level;
    std::uint8_t stage; // the slot's place in its line: 2 or 3
    std::uint8_t species;
    PartyType type;
    FourMoves moves; // zero in a normal party
};

// The slots that continue one of the rival's starters, whose first team is
// RIVAL1's party `firstParty`.
struct RivalLine {
    StarterValue starter;
    std::uint8_t firstParty;
    std::array<RivalSlot, 6> laterSlots;
};

inline constexpr std::array<RivalLine, 3> RivalLines{{
    {StarterValue::rival2, 1, {{
        {RivalBattle::azaleaTown, TrainerClass::rival1, 4, 16, 2, 0x99, PartyType::normal, {}},
        {RivalBattle::burnedTower, TrainerClass::rival1, 7, 22, 2, 0x99, PartyType::moves, {0x2D, 0x73, 0x4B, 0x4D}},
        {RivalBattle::goldenrodUnderground, TrainerClass::rival1, 10, 32, 3, 0x9A, PartyType::moves, {0x73, 0x4B, 0x4D, 0x22}},
        {RivalBattle::victoryRoad, TrainerClass::rival1, 13, 38, 3, 0x9A, PartyType::moves, {0x73, 0x4B, 0x4D, 0x22}},
        {RivalBattle::mtMoon, TrainerClass::rival2, 1, 45, 3, 0x9A, PartyType::moves, {0x4B, 0x4D, 0x22, 0x71}},
        {RivalBattle::indigoPlateau, TrainerClass::rival2, 4, 50, 3, 0x9A, PartyType::moves, {0xCA, 0x22, 0x71, 0xDB}},
    }}},
    {StarterValue::rival3, 2, {{
        {RivalBattle::azaleaTown, TrainerClass::rival1, 5, 16, 2, 0x9C, PartyType::normal, {}},
        {RivalBattle::burnedTower, TrainerClass::rival1, 8, 22, 2, 0x9C, PartyType::moves, {0x2B, 0x6C, 0x34, 0x62}},
        {RivalBattle::goldenrodUnderground, TrainerClass::rival1, 11, 32, 2, 0x9C, PartyType::moves, {0x6C, 0x34, 0x62, 0xAC}},
        {RivalBattle::victoryRoad, TrainerClass::rival1, 14, 38, 3, 0x9D, PartyType::moves, {0x6C, 0x34, 0x62, 0xAC}},
        {RivalBattle::mtMoon, TrainerClass::rival2, 2, 45, 3, 0x9D, PartyType::moves, {0x6C, 0x62, 0xAC, 0x81}},
        {RivalBattle::indigoPlateau, TrainerClass::rival2, 5, 50, 3, 0x9D, PartyType::moves, {0x6C, 0x62, 0x7E, 0x81}},
    }}},
    {StarterValue::rival1, 3, {{
        {RivalBattle::azaleaTown, TrainerClass::rival1, 6, 16, 2, 0x9F, PartyType::normal, {}},
        {RivalBattle::burnedTower, TrainerClass::rival1, 9, 22, 2, 0x9F, PartyType::moves, {0x2B, 0x63, 0x37, 0x2C}},
        {RivalBattle::goldenrodUnderground, TrainerClass::rival1, 12, 32, 3, 0xA0, PartyType::moves, {0x63, 0x37, 0x2C, 0xB8}},
        {RivalBattle::victoryRoad, TrainerClass::rival1, 15, 38, 3, 0xA0, PartyType::moves, {0x63, 0x37, 0xB8, 0xA3}},
        {RivalBattle::mtMoon, TrainerClass::rival2, 3, 45, 3, 0xA0, PartyType::moves, {0x63, 0x37, 0xB8, 0xA3}},
        {RivalBattle::indigoPlateau, TrainerClass::rival2, 6, 50, 3, 0xA0, PartyType::moves, {0x39, 0xF0, 0xA3, 0x67}},
    }}},
}};

inline constexpr std::uint8_t Rival1PartyCount = 15;
inline constexpr std::uint8_t Rival2PartyCount = 6;

// Where one family of games keeps the rival's parties and the evolution data.
struct RivalTeamsLayout {
    std::int32_t rival1Start; // RIVAL1's first party
    std::int32_t rival2Start;
    std::array<std::array<std::int32_t, 6>, 3> slotSpecies; // per line of RivalLines, per slot
    std::int32_t evolutionPointers; // species 1 first, 2 bytes each, into bank 0x10
};

inline constexpr RivalTeamsLayout GoldSilverRivalTeams{
    0x39A92, 0x3ABD8,
    {{{0x39AAC, 0x39AD8, 0x39B32, 0x39B9E, 0x3ABFA, 0x3AC72},
      {0x39AB6, 0x39AF4, 0x39B54, 0x39BC6, 0x3AC22, 0x3AC9A},
      {0x39AC0, 0x39B10, 0x39B76, 0x39BEE, 0x3AC4A, 0x3ACC2}}},
    0x427BD,
};

inline constexpr RivalTeamsLayout CrystalRivalTeams{
    0x39AEF, 0x3AE2A,
    {{{0x39B09, 0x39B35, 0x39B8F, 0x39BFB, 0x3AE4C, 0x3AEC4},
      {0x39B13, 0x39B51, 0x39BB1, 0x39C23, 0x3AE74, 0x3AEEC},
      {0x39B1D, 0x39B6D, 0x39BD3, 0x39C4B, 0x3AE9C, 0x3AF14}}},
    0x425B1,
};

// The rewrites change each slot's species and, in a moves party, its four moves.
inline constexpr std::size_t RivalSlotByteCount = 18 + 4 * 15;

namespace rival_checks {

constexpr bool LinesFollowTheBattles()
{
    return std::ranges::all_of(RivalLines, [](const RivalLine& line) {
        for (std::size_t i = 0; i < line.laterSlots.size(); ++i)
            if (std::to_underlying(line.laterSlots[i].battle) != i)
                return false;
        return true;
    });
}

constexpr bool MovesOnlyInMovesParties()
{
    std::size_t movesSlots = 0;
    for (const RivalLine& line : RivalLines)
        for (const RivalSlot& slot : line.laterSlots) {
            const bool moves = slot.type == PartyType::moves;
            movesSlots += moves;
            if (std::ranges::count(slot.moves, 0) != (moves ? 0 : 4) || std::ranges::count(slot.moves, 0xFF) != 0)
                return false;
        }
    return 18 + 4 * movesSlots == RivalSlotByteCount;
}

// Every later party of both classes holds exactly one slot, and the first
// teams are RIVAL1's first three parties.
constexpr bool EachLaterPartyOnce()
{
    std::array<int, Rival1PartyCount + Rival2PartyCount> used{};
    for (const RivalLine& line : RivalLines) {
        ++used[line.firstParty - 1];
        for (const RivalSlot& slot : line.laterSlots)
            ++used[(slot.trainer == TrainerClass::rival2 ? Rival1PartyCount : 0) + slot.party - 1];
    }
    return std::ranges::all_of(used, [](int n) { return n == 1; });
}

constexpr bool StagesAreLaterStages()
{
    return std::ranges::all_of(RivalLines, [](const RivalLine& line) {
        return std::ranges::all_of(line.laterSlots, [](const RivalSlot& slot) {
            return slot.stage == 2 || slot.stage == 3;
        });
    });
}

// Crystal keeps each class's parties as Gold and Silver do, further on.
constexpr bool CrystalPartiesLieFurther()
{
    const std::int32_t shift1 = CrystalRivalTeams.rival1Start - GoldSilverRivalTeams.rival1Start;
    const std::int32_t shift2 = CrystalRivalTeams.rival2Start - GoldSilverRivalTeams.rival2Start;
    for (std::size_t line = 0; line < RivalLines.size(); ++line)
        for (std::size_t i = 0; i < 6; ++i) {
            const bool second = RivalLines[line].laterSlots[i].trainer == TrainerClass::rival2;
            if (CrystalRivalTeams.slotSpecies[line][i]
                != GoldSilverRivalTeams.slotSpecies[line][i] + (second ? shift2 : shift1))
                return false;
        }
    return true;
}

static_assert(LinesFollowTheBattles());
static_assert(MovesOnlyInMovesParties());
static_assert(EachLaterPartyOnce());
static_assert(StagesAreLaterStages());
static_assert(CrystalPartiesLieFurther());

} // namespace rival_checks
