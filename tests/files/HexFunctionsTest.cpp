#include "HexFunctions.h"
#include "RomErrors.h"
#include "RomImage.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

class HexFunctionsTest : public ::testing::Test {
protected:
    HexFunctionsTest() : original(MakeRom("AAUE", 0x1000)), rom(scratch.Write("rom.gbc", original)) {}

    // The file as it was, with the given bytes changed.
    Bytes OriginalWith(std::initializer_list<std::pair<std::size_t, std::uint8_t>> changes) const
    {
        Bytes expected = original;
        for (auto [offset, byte] : changes)
            expected[offset] = byte;
        return expected;
    }

    ScratchFolder scratch;
    Bytes original;
    fs::path rom;
};

TEST(TwoDigitHex, KeepsTheLowestEightBitsAsTwoUpperCaseDigits)
{
    EXPECT_EQ(TwoDigitHex(0), "00");
    EXPECT_EQ(TwoDigitHex(5), "05");
    EXPECT_EQ(TwoDigitHex(10), "0A");
    EXPECT_EQ(TwoDigitHex(155), "9B");
    EXPECT_EQ(TwoDigitHex(255), "FF");
    EXPECT_EQ(TwoDigitHex(256), "00");
    EXPECT_EQ(TwoDigitHex(300), "2C");
    EXPECT_EQ(TwoDigitHex(-1), "FF");
    EXPECT_EQ(TwoDigitHex(-256), "00");
}

TEST_F(HexFunctionsTest, ReadsEachByteAsTwoDigitsInFileOrder)
{
    WriteAll(rom, OriginalWith({{0x100, 0x0A}, {0x101, 0xFF}, {0x102, 0x00}}));
    EXPECT_EQ(ReadHex(rom, 0x100, 1).value(), "0A");
    EXPECT_EQ(ReadHex(rom, 0x101, 1).value(), "FF");
    EXPECT_EQ(ReadHex(rom, 0x102, 1).value(), "00");
    EXPECT_EQ(ReadHex(rom, 0x100, 3).value(), "0AFF00");
}

TEST_F(HexFunctionsTest, ReadOfNoBytesStillOpensTheFile)
{
    EXPECT_EQ(ReadHex(rom, 0x100, 0).value(), "");
    EXPECT_EQ(ReadHex(rom, 0x100, -4).value(), "");
    const auto missing = ReadHex(scratch.File("missing.gbc"), 0x100, 0);
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(missing.error().value(), ENOENT);
    EXPECT_FALSE(fs::exists(scratch.File("missing.gbc")));
}

TEST_F(HexFunctionsTest, ReadPastTheEndFailsWithoutInventingBytes)
{
    EXPECT_EQ(ReadHex(rom, 0xFFF, 1).value(), TwoDigitHex(original[0xFFF]));
    const auto past = ReadHex(rom, 0xFFE, 3);
    ASSERT_FALSE(past);
    EXPECT_EQ(past.error(), RomErrc::readPastEnd);
    EXPECT_EQ(past.error().value(), 1001);
}

TEST_F(HexFunctionsTest, ReadRunBeyondTheOffsetRangeFails)
{
    const auto beyond = ReadHex(rom, INT_MAX, 2);
    ASSERT_FALSE(beyond);
    EXPECT_EQ(beyond.error(), RomErrc::offsetOutOfRange);
    EXPECT_EQ(beyond.error().value(), 1004);
}

TEST_F(HexFunctionsTest, WritesOnlyTheGivenBytes)
{
    ASSERT_TRUE(WriteHex(rom, 0x300, "7F"));
    EXPECT_EQ(ReadAll(rom), OriginalWith({{0x300, 0x7F}}));

    ASSERT_TRUE(WriteHex(rom, 0x310, "A"));
    ASSERT_TRUE(WriteHex(rom, 0x320, "ABC"));
    ASSERT_TRUE(WriteHex(rom, 0x330, "c0fe"));
    EXPECT_EQ(ReadAll(rom), OriginalWith({{0x300, 0x7F}, {0x310, 0x0A}, {0x320, 0x0A},
                                          {0x321, 0xBC}, {0x330, 0xC0}, {0x331, 0xFE}}));
}

TEST_F(HexFunctionsTest, EmptyWriteChangesNothingButStillOpensTheFile)
{
    ASSERT_TRUE(WriteHex(rom, 0x300, ""));
    EXPECT_EQ(ReadAll(rom), original);
    const auto missing = WriteHex(scratch.File("missing.gbc"), 0, "");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error(), std::errc::no_such_file_or_directory);
    EXPECT_FALSE(fs::exists(scratch.File("missing.gbc")));
}

TEST_F(HexFunctionsTest, BadPairStopsAfterTheBytesInFrontOfIt)
{
    const auto result = WriteHex(rom, 0x200, "12ZZ34");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), RomErrc::badHexPair);
    EXPECT_EQ(result.error().value(), 1003);
    EXPECT_EQ(ReadAll(rom), OriginalWith({{0x200, 0x12}}));

    // No handle was left behind: the next call on the file works as usual.
    ASSERT_TRUE(WriteHex(rom, 0x201, "34"));
    EXPECT_EQ(ReadAll(rom), OriginalWith({{0x200, 0x12}, {0x201, 0x34}}));
}

TEST_F(HexFunctionsTest, SignsAndSpacesAreNotHexDigits)
{
    for (const char* text : {"+1", "-1", " 1", "1 ", "0x", "G0"})
        EXPECT_EQ(WriteHex(rom, 0x200, text).error(), RomErrc::badHexPair) << text;
    EXPECT_EQ(ReadAll(rom), original);
}

TEST_F(HexFunctionsTest, WriteNeverMakesTheFileLonger)
{
    const auto result = WriteHex(rom, 0xFFF, "0102");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), RomErrc::writePastEnd);
    EXPECT_EQ(result.error().value(), 1002);
    EXPECT_EQ(ReadAll(rom), OriginalWith({{0xFFF, 0x01}}));
}

TEST_F(HexFunctionsTest, WriteRunBeyondTheOffsetRangeFails)
{
    // A sparse file just long enough to reach the last 32-bit offset.
    const fs::path huge = scratch.File("huge.gbc");
    std::ofstream(huge).close();
    fs::resize_file(huge, std::uintmax_t{INT_MAX} + 2);

    const auto result = WriteHex(huge, INT_MAX, "0102");
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), RomErrc::offsetOutOfRange);
    EXPECT_EQ(ReadHex(huge, INT_MAX, 1).value(), "01");
    EXPECT_EQ(ReadHex(huge, INT_MAX - 1, 1).value(), "00");
}

TEST_F(HexFunctionsTest, FileWithoutPermissionFailsWithThePlatformsError)
{
    fs::permissions(rom, fs::perms::none);
    AsOrdinaryUser user;
    for (const auto& error : {ReadHex(rom, 0x100, 1).error(), WriteHex(rom, 0x100, "00").error()}) {
        EXPECT_EQ(error, std::errc::permission_denied);
        EXPECT_EQ(error.value(), EACCES);
        EXPECT_EQ(error.message(), "Permission denied");
    }
}

TEST_F(HexFunctionsTest, ReadOnlyFileCanBeReadButNotWritten)
{
    fs::permissions(rom, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    AsOrdinaryUser user;
    EXPECT_EQ(ReadHex(rom, 0x13F, 4).value(), "41415545");
    EXPECT_EQ(WriteHex(rom, 0x100, "00").error(), std::errc::permission_denied);
}

TEST(RomErrors, OwnFailuresHaveDistinctNumbersAndOneLineTexts)
{
    const std::initializer_list<RomErrc> kinds{RomErrc::readPastEnd, RomErrc::writePastEnd,
                                              RomErrc::badHexPair, RomErrc::offsetOutOfRange};
    std::set<int> numbers;
    std::set<std::string> texts;
    for (RomErrc kind : kinds) {
        const std::error_code ec = kind;
        numbers.insert(ec.value());
        texts.insert(ec.message());
        EXPECT_GT(ec.value(), 255) << "could be mistaken for an errno value";
        EXPECT_EQ(ec.message().find('\n'), std::string::npos);
        EXPECT_FALSE(ec.message().empty());
    }
    EXPECT_EQ(numbers.size(), kinds.size());
    EXPECT_EQ(texts.size(), kinds.size());
}

} // namespace
