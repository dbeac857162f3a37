#include "RomErrors.h"
#include "ExpectedOffsets.h"
#include "RomImage.h"
#include "RomStarters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

using enum StarterValue;

class RomStartersTest : public ::testing::TestWithParam<const char*> {
protected:
    const Game& game() const { return *IdentifyGame(GetParam()); }
    const Offsets& offsets() const { return OffsetsFor(GetParam()); }

    ScratchFolder scratch;
};

TEST_P(RomStartersTest, ReadsTheFifteenValuesAtTheirReadOffsets)
{
    const StarterSettings stored = Numbered(3);
    const fs::path rom = scratch.Write("rom.gbc", WithValuesAtReadOffsets(MakeRom(GetParam()), offsets(), stored));
    EXPECT_EQ(ReadStarters(rom, *game().layout).value(), stored);
}

TEST_P(RomStartersTest, PatchesExactlyTheTwentyFourPlaces)
{
    const Bytes original = MakeRom(GetParam());
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
    Bytes bytes = MakeRom(GetParam());
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
    const char* other = GetParam() == std::string_view("BYTE") ? "AAUE" : "BYTE";
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

    const Bytes exact = MakeRom(GetParam(), highest + 1);
    const fs::path fits = scratch.Write("fits.gbc", exact);
    EXPECT_TRUE(PatchStarters(fits, game(), Numbered(1)));

    const Bytes shorter = MakeRom(GetParam(), highest);
    const fs::path cut = scratch.Write("cut.gbc", shorter);
    EXPECT_EQ(PatchStarters(cut, game(), Numbered(1)).error(), RomErrc::romChanged);
    EXPECT_EQ(ReadAll(cut), shorter);
    EXPECT_EQ(ReadStarters(cut, *game().layout).error(), RomErrc::readPastEnd);
}

TEST_P(RomStartersTest, UnwritableFileIsLeftAlone)
{
    const Bytes original = MakeRom(GetParam());
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

INSTANTIATE_TEST_SUITE_P(AllGames, RomStartersTest, ::testing::Values("AAUE", "AAXE", "BYTE"),
                         [](const auto& info) { return std::string(info.param); });

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
