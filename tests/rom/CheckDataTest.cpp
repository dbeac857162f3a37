#include "CheckData.h"
#include "ReferenceCheckData.h"
#include "RomImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

namespace {

constexpr std::size_t globalChecksumAt = 0x14E;
constexpr std::size_t baseAt = 0x1FFDE0;
constexpr std::size_t baseCrcAt = baseAt + 6;
constexpr std::size_t baseBitsAt = baseAt + 8;
constexpr std::size_t stadiumAt = 0x1FFDF8;
constexpr std::size_t stadiumCrcAt = stadiumAt + 6;
constexpr std::size_t sumsAt = stadiumAt + 8;
constexpr std::size_t bankSize = 0x4000;

constexpr auto stadiumSignature = "N64PS3"sv;
constexpr auto baseSignature = "base\x01\x00"sv;

std::uint16_t WordAt(const Bytes& rom, std::size_t at)
{
    return static_cast<std::uint16_t>(rom[at] << 8 | rom[at + 1]);
}

Bytes With(Bytes rom, std::size_t at, std::string_view bytes)
{
    std::ranges::copy(bytes, rom.begin() + static_cast<std::ptrdiff_t>(at));
    return rom;
}

Bytes Zeros(std::string_view code)
{
    return With(Bytes(RomSize), 0x13F, code);
}

Bytes MultiplesOfSeven(std::string_view code)
{
    Bytes rom(RomSize);
    for (std::size_t i = 0; i < rom.size(); ++i)
        rom[i] = static_cast<std::uint8_t>(7 * i % 251);
    return With(rom, 0x13F, code);
}

Bytes WithSignatures(Bytes rom)
{
    return With(With(std::move(rom), stadiumAt, stadiumSignature), baseAt, baseSignature);
}

TEST(StadiumCrc, GivesTheCheckValuesAsTheReferenceDoes)
{
    const Bytes digits{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    const Bytes emptyBank(bankSize);
    const struct {
        const Bytes& bytes;
        std::uint16_t start;
        std::uint16_t crc;
    } checks[] = {{digits, 0xFEFE, 0x6E3B}, {digits, 0xACDE, 0xC0F6}, {emptyBank, 0xFEFE, 0xFC38}};
    for (const auto& [bytes, start, crc] : checks) {
        EXPECT_EQ(StadiumCrc(bytes, start), crc);
        EXPECT_EQ(ReferenceCrc(bytes, start), crc);
    }
    // Every length, so that bytes left over after whole steps count too.
    const Bytes varied = MakeRom("", 40);
    for (std::size_t length = 0; length <= varied.size(); ++length) {
        const auto bytes = std::span(varied).first(length);
        EXPECT_EQ(StadiumCrc(bytes, 0xACDE), ReferenceCrc(bytes, 0xACDE)) << length;
    }
}

TEST(RebuildCheckData, GivesTheKnownValues)
{
    const struct {
        std::string_view name;
        Bytes rom;
        CheckBlocks blocks;
        std::uint16_t globalChecksum;
        std::optional<std::uint16_t> baseCrc;
        Bytes baseBits;
        std::uint16_t stadiumCrc;
        std::vector<std::uint16_t> firstSums;
        std::optional<std::uint16_t> lastSum;
    } cases[] = {
        {"zeros as Crystal", Zeros("BYTE"), {true, true}, 0xFF8F, 0x5525,
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x60, 0x1E}, 0x04A6, {}, {}},
        {"multiples of seven as Gold", MultiplesOfSeven("AAUE"), {true, false}, 0x1D08, {}, {}, 0xA074,
         {0x96EF, 0xA1F0, 0x9CFB}, 0xC039},
        {"multiples of seven as Crystal", MultiplesOfSeven("BYTE"), {true, true}, 0x1479, 0x59EE, Bytes(16),
         0xB175, {0x9707, 0xA1F0, 0x9CFB}, 0xB761},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bytes rom = c.rom;
        RebuildCheckData(rom, c.blocks);
        EXPECT_EQ(WordAt(rom, globalChecksumAt), c.globalChecksum);
        if (c.baseCrc) {
            EXPECT_EQ(WordAt(rom, baseCrcAt), *c.baseCrc);
            EXPECT_EQ(Bytes(rom.begin() + baseBitsAt, rom.begin() + baseBitsAt + 16), c.baseBits);
        }
        EXPECT_EQ(WordAt(rom, stadiumCrcAt), c.stadiumCrc);
        for (std::size_t half = 0; half < c.firstSums.size(); ++half)
            EXPECT_EQ(WordAt(rom, sumsAt + 2 * half), c.firstSums[half]) << half;
        if (c.lastSum) {
            EXPECT_EQ(WordAt(rom, RomSize - 2), *c.lastSum);
        }
    }
}

TEST(PresentCheckBlocks, NeedsTheSignaturesInA2MiBRom)
{
    const struct {
        std::string_view name;
        std::size_t size;
        std::string_view stadium;
        std::string_view base;
        bool crystal;
        CheckBlocks expected;
    } cases[] = {
        {"both, as Crystal", RomSize, stadiumSignature, baseSignature, true, {true, true}},
        {"both, as Gold", RomSize, stadiumSignature, baseSignature, false, {true, false}},
        {"Stadium's alone", RomSize, stadiumSignature, "", true, {true, false}},
        {"base's alone", RomSize, "", baseSignature, true, {false, true}},
        {"none", RomSize, "", "", true, {}},
        {"one character off", RomSize, "N64PS2", "base\x01\x01"sv, true, {}},
        {"one byte longer", RomSize + 1, stadiumSignature, baseSignature, true, {}},
        {"one byte shorter", RomSize - 1, stadiumSignature, baseSignature, true, {}},
    };
    for (const auto& c : cases) {
        const Bytes rom = With(With(MakeRom("BYTE", c.size), stadiumAt, c.stadium), baseAt, c.base);
        EXPECT_EQ(PresentCheckBlocks(rom, c.crystal), c.expected) << c.name;
    }
}

TEST(RebuildCheckData, ARomWithoutTheBlocksOnlyGetsItsGlobalChecksum)
{
    // Blocks asked for in a ROM that is not 2 MiB stay unwritten.
    for (std::size_t size : {RomSize, RomSize / 2, std::size_t{0x150}, std::size_t{0x14F}}) {
        const Bytes original = MakeRom("BYTE", size);
        const CheckBlocks blocks = size == RomSize ? PresentCheckBlocks(original, true) : CheckBlocks{true, true};
        Bytes rom = original;
        RebuildCheckData(rom, blocks);
        EXPECT_EQ(rom, WithReferenceCheckData(original, false, false)) << size;
        if (size > globalChecksumAt + 1)
            std::copy_n(original.begin() + globalChecksumAt, 2, rom.begin() + globalChecksumAt);
        EXPECT_EQ(rom, original) << size;
    }
}

TEST(RebuildCheckData, AgreesWithTheReferenceAndStaysPutWhenRepeated)
{
    const Bytes original = WithSignatures(MakeRom("BYTE"));
    for (bool stadium : {false, true})
        for (bool base : {false, true}) {
            SCOPED_TRACE(testing::Message() << "stadium " << stadium << ", base " << base);
            const Bytes expected = WithReferenceCheckData(original, stadium, base);
            Bytes rom = original;
            RebuildCheckData(rom, {stadium, base});
            EXPECT_TRUE(rom == expected);
            RebuildCheckData(rom, {stadium, base});
            EXPECT_TRUE(rom == expected);
        }
}

TEST(RebuildCheckData, SetsTheBitOfEachBankThatIsUnmodified)
{
    // The banks as the base block's CRCs see them: the global checksum and
    // the block's own CRC and bits are zero then.
    Bytes unmodified = WithSignatures(MakeRom("BYTE"));
    std::fill_n(unmodified.begin() + globalChecksumAt, 2, 0);
    std::fill_n(unmodified.begin() + baseCrcAt, 18, 0);
    for (std::size_t bank = 0; bank < referenceCrystalBankCrcs.size(); ++bank)
        ForceBankCrc(std::span(unmodified).subspan(bank * bankSize, bankSize), referenceCrystalBankCrcs[bank]);

    Bytes rom = unmodified;
    RebuildCheckData(rom, {false, true});
    EXPECT_EQ(Bytes(rom.begin() + baseBitsAt, rom.begin() + baseBitsAt + 16), Bytes(16, 0xFF));
    EXPECT_TRUE(rom == WithReferenceCheckData(unmodified, false, true));

    rom = unmodified;
    rom[5 * bankSize + 0x100] ^= 1;
    RebuildCheckData(rom, {false, true});
    EXPECT_EQ(rom[baseBitsAt], 0xFF & ~(1 << 5));
}

} // namespace
