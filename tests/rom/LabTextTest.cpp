#include "ExpectedOffsets.h"
#include "GameIdentification.h"
#include "GameImage.h"
#include "LabText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <utility>

namespace {

using enum StarterValue;
using LeftAlone = std::array<bool, 3>;

constexpr std::uint8_t bulbasaur = 1, charmander = 4, squirtle = 7, pikachu = 25, chikorita = 152,
                       cyndaquil = 155, totodile = 158, hoOh = 250;

StarterSettings InBalls(std::uint8_t one, std::uint8_t two, std::uint8_t three)
{
    StarterSettings values;
    values[poke1] = one;
    values[poke2] = two;
    values[poke3] = three;
    return values;
}

const StarterSettings defaults = InBalls(cyndaquil, totodile, chikorita);

class LabTextTest : public ::testing::TestWithParam<const char*> {
protected:
    std::string_view code() const { return GetParam(); }

    LeftAlone Rewrite(std::span<std::uint8_t> rom, const StarterSettings& values) const
    {
        LeftAlone leftAlone{};
        std::ranges::transform(RewriteLabTexts(rom, *IdentifyGame(code())->layout, values), leftAlone.begin(),
                               [](const auto& rewritten) { return !rewritten; });
        return leftAlone;
    }

    // The image with a text written over the start of a ball's question.
    Bytes WithText(Bytes rom, int ball, std::string_view text) const
    {
        std::ranges::copy(GameText(text), rom.begin() + LabTextOffset(code(), ball));
        return rom;
    }
};

TEST_P(LabTextTest, LongFormNamesTheSpeciesAndItsType)
{
    Bytes rom = MakeGameRom(code());
    Bytes expected = WithText(rom, 1, "ELM: You'll take|HO-OH, the|fire #MON?");
    expected = WithText(expected, 2, "ELM: Do you want|CYNDAQUIL, the|fire #MON?");
    expected = WithText(expected, 3, "ELM: So, you like|SQUIRTLE, the|water #MON?");

    EXPECT_EQ(Rewrite(rom, InBalls(hoOh, cyndaquil, squirtle)), LeftAlone{});
    EXPECT_EQ(rom, expected);
}

TEST_P(LabTextTest, EachTypeHasTheGamesWord)
{
    const std::pair<std::uint8_t, std::string_view> words[] = {
        {0, "normal"}, {1, "fighting"}, {2, "flying"}, {3, "poison"}, {4, "ground"}, {5, "rock"},
        {7, "bug"}, {8, "ghost"}, {9, "steel"}, {20, "fire"}, {21, "water"}, {22, "grass"},
        {23, "electric"}, {24, "psychic"}, {25, "ice"}, {26, "dragon"}, {27, "dark"},
    };
    for (const auto& [type, word] : words) {
        Bytes rom = MakeGameRom(code());
        rom[BaseDataOffset(code(), hoOh) + 7] = type;
        const Bytes expected = WithText(rom, 3, "ELM: So, you like|HO-OH, the|" + std::string(word) + " #MON?");

        EXPECT_EQ(Rewrite(rom, InBalls(cyndaquil, totodile, hoOh)), LeftAlone{}) << word;
        EXPECT_EQ(rom, expected) << word;
    }
}

TEST_P(LabTextTest, ShortFormWhenTheLongOneOverflowsOrTheTypeHasNoWord)
{
    for (std::uint8_t wordless : {6, 19, 28, 0xFF}) {
        Bytes rom = MakeGameRom(code());
        rom[BaseDataOffset(code(), bulbasaur) + 7] = wordless;
        Bytes expected = WithText(rom, 1, "ELM: You'll take|CHARMANDER?");
        expected = WithText(expected, 2, "ELM: Do you want|PIKACHU?");
        expected = WithText(expected, 3, "ELM: So, you like|BULBASAUR?");

        EXPECT_EQ(Rewrite(rom, InBalls(charmander, pikachu, bulbasaur)), LeftAlone{}) << int(wordless);
        EXPECT_EQ(rom, expected) << int(wordless);
    }
}

TEST_P(LabTextTest, DefaultStartersGiveBackTheGamesOwnTexts)
{
    const Bytes original = MakeGameRom(code());
    Bytes rom = original;
    ASSERT_EQ(Rewrite(rom, InBalls(squirtle, squirtle, squirtle)), LeftAlone{});
    ASSERT_NE(rom, original);
    EXPECT_EQ(Rewrite(rom, defaults), LeftAlone{});
    EXPECT_EQ(rom, original);
}

std::size_t PointerOffset(std::string_view code, StarterValue ball)
{
    return OffsetsFor(code).at(ball).front() - 28;
}

// Ball 2 about to take Squirtle, whose question would fit the long form.
struct BallTwo {
    std::string_view code;
    Bytes rom = MakeGameRom(code);
    std::uint8_t species = squirtle;

    std::size_t text() const { return LabTextOffset(code, 2); }
};

// A species outside the tables, with entries where they would be that look like its own.
void Disguise(BallTwo& ball, std::uint8_t species)
{
    ball.species = species;
    std::ranges::copy(GameCharacters("SQUIRTLE"), ball.rom.begin() + NameEntryOffset(ball.code, species));
    ball.rom[NameEntryOffset(ball.code, species) + 8] = 0x50;
    ball.rom[BaseDataOffset(ball.code, species)] = species;
    ball.rom[BaseDataOffset(ball.code, species) + 7] = 21;
}

// Out of the bank, to a copy of the question that an unchecked pointer would reach.
void MovePointer(BallTwo& ball, int by)
{
    std::copy_n(ball.rom.begin() + ball.text(), 45, ball.rom.begin() + ball.text() + by);
    const std::size_t at = PointerOffset(ball.code, poke2);
    const int address = (ball.rom[at] | ball.rom[at + 1] << 8) + by;
    ball.rom[at] = static_cast<std::uint8_t>(address & 0xFF);
    ball.rom[at + 1] = static_cast<std::uint8_t>(address >> 8);
}

const std::pair<const char*, void (*)(BallTwo&)> spoilers[] = {
    {"text not started", [](BallTwo& b) { b.rom[b.text()] = 0x01; }},
    {"another first line", [](BallTwo& b) { std::ranges::copy(GameText("ELM: You'll take"), b.rom.begin() + b.text()); }},
    {"no line break", [](BallTwo& b) { b.rom[b.text() + 17] = 0x55; }},
    {"no end byte at the capacity", [](BallTwo& b) { b.rom[b.text() + 43] = 0xE6; }},
    {"no next text", [](BallTwo& b) { b.rom[b.text() + 44] = 0x7F; }},
    {"species 0", [](BallTwo& b) { Disguise(b, 0); }},
    {"species 252", [](BallTwo& b) { Disguise(b, 252); }},
    {"empty name", [](BallTwo& b) { b.rom[NameEntryOffset(b.code, squirtle)] = 0x50; }},
    {"unprintable name", [](BallTwo& b) { b.rom[NameEntryOffset(b.code, squirtle) + 3] = 0x4F; }},
    {"base data of another species", [](BallTwo& b) { b.rom[BaseDataOffset(b.code, squirtle)] = squirtle + 1; }},
    {"pointer a bank below", [](BallTwo& b) { MovePointer(b, -0x4000); }},
    {"pointer a bank above", [](BallTwo& b) { MovePointer(b, 0x4000); }},
    {"text past the end of its bank", [](BallTwo& b) {
         MovePointer(b, static_cast<int>((b.text() / 0x4000 + 1) * 0x4000 - 20 - b.text()));
     }},
};

TEST_P(LabTextTest, LeavesAnUnrecognisedBallAlone)
{
    for (const auto& [what, spoil] : spoilers) {
        BallTwo ball{code()};
        spoil(ball);
        const Bytes spoiled = ball.rom;

        EXPECT_EQ(Rewrite(ball.rom, InBalls(cyndaquil, ball.species, chikorita)), (LeftAlone{false, true, false}))
            << what;
        EXPECT_EQ(ball.rom, spoiled) << what;
    }
}

TEST_P(LabTextTest, ReadsNothingPastTheEndOfTheImage)
{
    const Bytes original = MakeGameRom(code());
    // The last byte of each thing read for ball 1.
    for (std::size_t last : {PointerOffset(code(), poke1) + 1, LabTextOffset(code(), 1) + 43,
                             NameEntryOffset(code(), cyndaquil) + 9, BaseDataOffset(code(), cyndaquil) + 7}) {
        Bytes rom = original;
        EXPECT_TRUE(Rewrite(std::span(rom).first(last), defaults)[0]) << last;
        EXPECT_EQ(rom, original) << last;
    }
}

INSTANTIATE_TEST_SUITE_P(GoldSilverAndCrystal, LabTextTest, ::testing::Values("AAUE", "BYTE"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
