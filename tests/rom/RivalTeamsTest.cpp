#include "GameIdentification.h"
#include "GameImage.h"
#include "RivalTeams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

constexpr std::uint8_t bulbasaur = 1, ivysaur = 2, venusaur = 3, muk = 89, eevee = 133, jolteon = 135,
                       mew = 151, bayleef = 153, meganium = 154;

const GameLayout& gold = *IdentifyGame("AAUE")->layout;
const GameLayout& crystal = *IdentifyGame("BYTE")->layout;

StarterSettings Rivals(std::uint8_t one, std::uint8_t two, std::uint8_t three)
{
    StarterSettings values;
    values[StarterValue::rival1] = one;
    values[StarterValue::rival2] = two;
    values[StarterValue::rival3] = three;
    return values;
}

TEST(RivalTeamsTest, EachStageTakesTheFirstEvolutionListed)
{
    const Bytes rom = MakeGameRom("AAUE");
    const std::array<std::array<int, 3>, 5> cases{{
        {mew, 2, mew}, {bulbasaur, 1, ivysaur}, {bulbasaur, 2, venusaur}, {eevee, 1, jolteon}, {bayleef, 2, meganium}}};
    for (const auto& [species, times, evolved] : cases)
        EXPECT_EQ(EvolvedSpecies(rom, gold, species, times), evolved) << species << " " << times;
}

TEST(RivalTeamsTest, MovesFollowTheGamesRule)
{
    const Bytes rom = MakeGameRom("BYTE");
    const std::tuple<std::uint8_t, std::uint8_t, FourMoves> cases[] = {
        {bayleef, 16, {0x2D, 0x4B, 0x73, 0x4D}}, // six learnt, two of them again
        {muk, 40, {0x8B, 0x01, 0x6A, 0x00}},     // stops at 45 before the 23
        {mew, 22, {0x01, 0x90, 0x05, 0x00}},
    };
    for (const auto& [species, level, moves] : cases)
        EXPECT_EQ(MovesAtLevel(rom, crystal, species, level), moves) << int{species};
}

// Only the slots change; a starter that is no species leaves its line alone.
TEST(RivalTeamsTest, BulbasaurFollowsChikoritasLineAndTheDefaultsGiveItBack)
{
    const Bytes original = MakeGameRom("AAUE");
    Bytes rom = original;
    ASSERT_TRUE(RewriteRivalTeams(rom, gold, Rivals(0, bulbasaur, 0xFF)));
    Bytes expected = original;
    const std::pair<std::size_t, Bytes> changes[] = {
        {0x39AAC, {ivysaur}}, {0x39AD8, {ivysaur, 0x21, 0x2D, 0x49, 0x16}},
        {0x39B32, {venusaur, 0x21, 0x2D, 0x49, 0x16}}, {0x39B9E, {venusaur, 0x21, 0x2D, 0x49, 0x16}},
        {0x3ABFA, {venusaur, 0x2D, 0x49, 0x16, 0x4B}}, {0x3AC72, {venusaur, 0x2D, 0x49, 0x16, 0x4B}},
    };
    for (const auto& [at, bytes] : changes) {
        std::ranges::copy(bytes, expected.begin() + static_cast<std::ptrdiff_t>(at));
        EXPECT_EQ(std::ranges::count(RivalSlotBytes(gold), static_cast<std::int32_t>(at + bytes.size() - 1)), 1);
    }
    EXPECT_EQ(rom, expected);

    EXPECT_TRUE(RewriteRivalTeams(rom, gold, Rivals(0x9E, 0x98, 0x9B)));
    EXPECT_EQ(rom, original);
}

TEST(RivalTeamsTest, PartiesOrEvolutionDataThatDoNotCheckLeaveEverySlotAlone)
{
    const std::pair<std::size_t, std::uint8_t> breaks[] = {
        {0x39AEF, 0x50},  // RIVAL1's first name
        {0x39B08, 17},    // Azalea Town's Bayleef's level
        {0x39B21, 0},     // Burned Tower's party type
        {0x39B36, 0xFF},  // a move inside a party
        {0x426DE, 0x80},  // Mew's entry outside its bank
    };
    for (const auto& [at, byte] : breaks) {
        Bytes rom = MakeGameRom("BYTE");
        rom[at] = byte;
        const Bytes broken = rom;
        EXPECT_FALSE(RewriteRivalTeams(rom, crystal, Rivals(mew, mew, mew))) << at;
        EXPECT_EQ(rom, broken) << at;
    }
}

} // namespace
