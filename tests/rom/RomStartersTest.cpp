#include "RomErrors.h"
#include "RomImage.h"
#include "RomStarters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <ostream>
#include <vector>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

// Where each value lives, written out on its own (decimal, the first offset
// is the one read) so that the tables in the program are checked, not echoed.
using Offsets = std::map<StarterValue, std::vector<std::size_t>>;

const Offsets goldSilverOffsets{
    {poke1, {1573110, 1573074, 1573076, 1573099}}, {lvl1, {1573111}}, {item1, {1573112}},
    {poke2, {1573176, 1573140, 1573142, 1573165}}, {lvl2, {1573177}}, {item2, {1573178}},
    {poke3, {1573236, 1573200, 1573202, 1573225}}, {lvl3, {1573237}}, {item3, {1573238}},
    {rival1, {236194}}, {rlvl1, {236193}}, {rival2, {236182}}, {rlvl2, {236181}},
    {rival3, {236188}}, {rlvl3, {236187}},
};

const Offsets crystalOffsets{
    {poke1, {494755, 494719, 494721, 494744}}, {lvl1, {494756}}, {item1, {494757}},
    {poke2, {494821, 494785, 494787, 494810}}, {lvl2, {494822}}, {item2, {494823}},
    {poke3, {494881, 494845, 494847, 494870}}, {lvl3, {494882}}, {item3, {494883}},
    {rival1, {236287}}, {rlvl1, {236286}}, {rival2, {236275}}, {rlvl2, {236274}},
    {rival3, {236281}}, {rlvl3, {236280}},
};

struct GameCase {
    const char* code;
    const Offsets* offsets;
};

void PrintTo(const GameCase& game, std::ostream* out)
{
    *out << game.code;
}

// Distinct values per value, so that a swapped offset shows.
StarterSettings Numbered(std::uint8_t first)
{
    StarterSettings values;
    for (std::size_t i = 0; i < StarterValueCount; ++i)
        values.bytes[i] = static_cast<std::uint8_t>(first + 7 * i);
    return values;
}

Bytes WithValuesAtReadOffsets(Bytes bytes, const Offsets& offsets, const StarterSettings& values)
{
    for (const auto& [value, places] : offsets)
        bytes[places.front()] = values[value];
    return bytes;
}

Bytes WithValuesEverywhere(Bytes bytes, const Offsets& offsets, const StarterSettings& values)
{
    for (const auto& [value, places] : offsets)
        for (std::size_t place : places)
            bytes[place] = values[value];
    return bytes;
}

class RomStartersTest : public ::testing::TestWithParam<GameCase> {
protected:
    const Game& game() const { return *IdentifyGame(GetParam().code); }
    const Offsets& offsets() const { return *GetParam().offsets; }

    ScratchFolder scratch;
};

TEST_P(RomStartersTest, ReadsTheFifteenValuesAtTheirReadOffsets)
{
    const StarterSettings stored = Numbered(3);
    const fs::path rom = scratch.Write("rom.gbc", WithValuesAtReadOffsets(MakeRom(GetParam().code), offsets(), stored));
    EXPECT_EQ(ReadStarters(rom, *game().layout).value(), stored);
}

TEST_P(RomStartersTest, PatchesExactlyTheTwentyFourPlaces)
{
    const Bytes original = MakeRom(GetParam().code);
    const fs::path rom = scratch.Write("rom.gbc", original);
    const StarterSettings chosen = Numbered(100);

    ASSERT_TRUE(PatchStarters(rom, game(), chosen));
    EXPECT_EQ(ReadAll(rom), WithValuesEverywhere(original, offsets(), chosen));
    EXPECT_EQ(ReadStarters(rom, *game().layout).value(), chosen);

    std::size_t places = 0;
    for (const auto& [value, at] : offsets())
        places += at.size();
    EXPECT_EQ(places, 24u);
}

TEST_P(RomStartersTest, PatchMakesDivergingSpeciesCopiesEqual)
{
    Bytes bytes = MakeRom(GetParam().code);
    const auto& copies = offsets().at(poke2);
    for (std::size_t i = 0; i < copies.size(); ++i)
        bytes[copies[i]] = static_cast<std::uint8_t>(10 + i);
    const fs::path rom = scratch.Write("rom.gbc", bytes);
    EXPECT_EQ(ReadStarters(rom, *game().layout).value()[poke2], 10);

    StarterSettings values = ReadStarters(rom, *game().layout).value();
    values[poke2] = 158;
    ASSERT_TRUE(PatchStarters(rom, game(), values));
    const Bytes patched = ReadAll(rom);
    for (std::size_t place : copies)
        EXPECT_EQ(patched[place], 158) << place;
}

TEST_P(RomStartersTest, RefusesAFileThatIsNoLongerTheSameGame)
{
    const char* other = GetParam().code == std::string_view("BYTE") ? "AAUE" : "BYTE";
    const Bytes replaced = MakeRom(other);
    const fs::path rom = scratch.Write("rom.gbc", replaced);
    EXPECT_EQ(PatchStarters(rom, game(), Numbered(1)).error(), RomErrc::romChanged);
    EXPECT_EQ(ReadAll(rom), replaced);
}

TEST_P(RomStartersTest, RefusesAFileTooShortForEveryOffset)
{
    std::size_t highest = 0;
    for (const auto& [value, places] : offsets())
        for (std::size_t place : places)
            highest = std::max(highest, place);

    const Bytes exact = MakeRom(GetParam().code, highest + 1);
    const fs::path fits = scratch.Write("fits.gbc", exact);
    EXPECT_TRUE(PatchStarters(fits, game(), Numbered(1)));

    const Bytes shorter = MakeRom(GetParam().code, highest);
    const fs::path cut = scratch.Write("cut.gbc", shorter);
    EXPECT_EQ(PatchStarters(cut, game(), Numbered(1)).error(), RomErrc::romChanged);
    EXPECT_EQ(ReadAll(cut), shorter);
    EXPECT_EQ(ReadStarters(cut, *game().layout).error(), RomErrc::readPastEnd);
}

TEST_P(RomStartersTest, UnwritableFileIsLeftAlone)
{
    const Bytes original = MakeRom(GetParam().code);
    const fs::path rom = scratch.Write("rom.gbc", original);
    fs::permissions(rom, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    {
        AsOrdinaryUser user;
        EXPECT_TRUE(ReadStarters(rom, *game().layout));
        EXPECT_EQ(PatchStarters(rom, game(), Numbered(1)).error(), std::errc::permission_denied);
    }
    EXPECT_EQ(ReadAll(rom), original);
    EXPECT_EQ(PatchStarters(scratch.File("gone.gbc"), game(), Numbered(1)).error(),
              std::errc::no_such_file_or_directory);
    EXPECT_FALSE(fs::exists(scratch.File("gone.gbc")));
}

INSTANTIATE_TEST_SUITE_P(AllGames, RomStartersTest,
                         ::testing::Values(GameCase{"AAUE", &goldSilverOffsets},
                                           GameCase{"AAXE", &goldSilverOffsets},
                                           GameCase{"BYTE", &crystalOffsets}),
                         [](const auto& info) { return std::string(info.param.code); });

TEST(MakeWritable, GivesTheOwnerWritePermission)
{
    ScratchFolder scratch;
    const fs::path rom = scratch.Write("rom.gbc", MakeRom("AAUE", 0x200));
    fs::permissions(rom, fs::perms::owner_read);
    EXPECT_FALSE(MakeWritable(rom));
    EXPECT_EQ(fs::status(rom).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(MakeWritable(scratch.File("gone.gbc")));
}

} // namespace
