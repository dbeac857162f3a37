#include "FrontPicture.h"
#include "GameIdentification.h"
#include "GameImage.h"
#include "PictureFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const GameLayout& LayoutOf(const char* code) { return *IdentifyGame(code)->layout; }

TEST(FrontPictureTest, DecompressFollowsEveryCommandAndNeverLeavesItsBounds)
{
    Bytes vectorOutput{0x12, 0x34, 0x56, 0x78, 0xAB, 0xAB, 0xAB, 0x01, 0x02, 0x01, 0x02, 0x01, 0x0E, 0x00, 0x00, 0x34,
                       0x56, 0x78, 0xAB, 0x56, 0x78, 0x1E, 0x78, 0x78, 0x56, 0x34, 0x12, 0xC1, 0xC2, 0xC3, 0xC4, 0xFF};
    vectorOutput.resize(vectorOutput.size() + 300, 0x77);
    Bytes endless{0x00, 0xAA};
    for (int i = 0; i < 5; ++i)
        endless.insert(endless.end(), {0xF3, 0xFF, 0x00, 0x00}); // 1024 bytes from the start
    const std::tuple<const char*, Bytes, std::optional<Bytes>> cases[] = {
        {"facts' vector", {0x03, 0x12, 0x34, 0x56, 0x78, 0x22, 0xAB, 0x44, 0x01, 0x02, 0x40, 0x0E, 0x0F, 0x61, 0x83, 0x00, 0x01, 0x81,
          0x82, 0xA1, 0x80, 0xC3, 0x00, 0x03, 0xE0, 0x04, 0xC1, 0xC2, 0xC3, 0xC4, 0xFF, 0xE5, 0x2B, 0x77, 0xFF}, vectorOutput},
        {"long command 7 repeats", {0x00, 0xAA, 0xFC, 0x02, 0x80, 0xFF}, Bytes(4, 0xAA)},
        {"back-reference before the start", {0x00, 0xAA, 0x80, 0x81, 0xFF}, std::nullopt},
        {"offset past the output", {0x00, 0xAA, 0x80, 0x00, 0x01, 0xFF}, std::nullopt},
        {"reverse past the start", {0x01, 0xAA, 0xBB, 0xC2, 0x80, 0xFF}, std::nullopt},
        {"read past the end", {0x03, 0xAA, 0xBB}, std::nullopt},
        {"no end byte", {0x00, 0xAA}, std::nullopt},
        {"endless repeat stops at the cap", endless, Bytes(DecodedCap, 0xAA)},
    };
    for (const auto& [what, input, output] : cases)
        EXPECT_EQ(Decompress(input), output) << what;
}

TEST(FrontPictureTest, TilesGoDownEachColumnInTwoBitPlanes)
{
    for (const auto& [code, side] : {std::pair{"AAXE", 5}, std::pair{"BYTU", 7}}) {
        // Tile 0 shows colours 0 1 2 3 0 1 2 3 on each row, the rest of column 0
        // colour 1, the top of column 1 colour 2; the tile past the picture colour 3.
        constexpr std::uint8_t rows[5][2] = {{0x55, 0x33}, {0xFF, 0x00}, {0x00, 0xFF}, {0xFF, 0xFF}, {0x00, 0x00}};
        Bytes tiles;
        for (int at = 0; at < (side * side + 1) * 8; ++at) {
            const int tile = at / 8;
            const int kind = tile == 0 ? 0 : tile < side ? 1 : tile == side ? 2 : tile == side * side ? 3 : 4;
            tiles.insert(tiles.end(), {rows[kind][0], rows[kind][1]});
        }
        Bytes rom = MakeGameRom(code);
        PutPicture(rom, code, 25, side, tiles, FreePictureAddress);
        const auto picture = FrontPictureOf(rom, LayoutOf(code), 25);
        ASSERT_TRUE(picture && picture->width == side * 8 && picture->height == side * 8);
        const auto at = [&](int x, int y) { return picture->indices[y * picture->width + x]; };
        EXPECT_EQ((Bytes{at(0, 0), at(1, 7), at(2, 0), at(7, 0), at(0, 8), at(7, side * 8 - 1), at(8, 0), at(15, 7),
                         at(8, 8), at(side * 8 - 1, 0)}),
                  (Bytes{0, 1, 2, 3, 1, 1, 2, 2, 0, 0}));
        EXPECT_EQ(std::ranges::count(picture->indices, 3), 16);
    }
}

TEST(FrontPictureTest, InvalidSpeciesAndPointersIntoNowhereGiveNoPicture)
{
    const std::tuple<const char*, std::size_t, Bytes, std::uint8_t> cases[] = {
        {"BYTE", 0, {}, 252},
        {"AAUE", 0x48000, {0x14, 0x00, 0x30}, 1},            // below the banked addresses
        {"AAUE", 0x48000, {0x90, 0x00, 0x40}, 1},            // a bank past the file
        {"BYTE", 0x120000, {0x11, 0x00, 0x40}, 1},           // not in Crystal's bank table
        {"BYTE", 0x120000, {0x14, 0xFE, 0x7F}, 1},           // a picture running out of its bank
        {"BYTE", BaseDataOffset("BYTE", 1) + 17, {0x44}, 1}, // no such size
    };
    for (const auto& [code, at, bytes, species] : cases) {
        Bytes rom = MakeGameRom(code);
        std::ranges::copy(bytes, rom.begin() + at);
        rom[0x128000 + 0x3FFE] = 0x03;
        EXPECT_FALSE(FrontPictureOf(rom, LayoutOf(code), species)) << code << ' ' << at;
    }
}

TEST(FrontPictureTest, PalettesAreIndexedByTheSpeciesItself)
{
    Bytes rom = MakeGameRom("BYTE");
    std::ranges::copy(Bytes{0x7F, 0x03, 0xFF, 0x14}, rom.begin() + 0xA8CE + 155 * 8);
    EXPECT_EQ(PalettesOf(rom, LayoutOf("BYTE"), 155)->normal,
              (Palette{{{255, 255, 255}, {255, 222, 0}, {255, 57, 41}, {0, 0, 0}}}));
}

} // namespace
