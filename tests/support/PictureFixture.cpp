#include "PictureFixture.h"

#include "GameImage.h"

#include <algorithm>
#include <cmath>

namespace {

// Pointers, Unown's pointers, palettes, and the bank that stored bank byte 0x14 stands for.
struct Tables {
    std::size_t pointers, unown, palettes, bank;
};

Tables TablesOf(std::string_view code)
{
    return code.starts_with("BYT") ? Tables{0x120000, 0x124000, 0xA8CE, 0x128000} : Tables{0x48000, 0x7C000, 0xAD3D, 0x80000};
}

// A round creature with ears, a pale belly and dark eyes and outline, as colour indices.
int Colour(double x, double y, double pixel, int shape)
{
    const auto inside = [&](double px, double py) {
        const double ear = (py - 0.12 + 0.04 * shape) / (0.18 + 0.04 * shape);
        return std::hypot((px - 0.5) / 0.36, (py - 0.62) / 0.3) <= 1
            || (ear >= 0 && ear <= 1 && std::abs(std::abs(px - 0.5) - 0.22) <= 0.09 * ear);
    };
    if (!inside(x, y))
        return 0;
    const bool edge = !inside(x - pixel, y) || !inside(x + pixel, y) || !inside(x, y - pixel) || !inside(x, y + pixel);
    if (edge || (std::abs(std::abs(x - 0.5) - 0.13) < 0.04 && std::abs(y - 0.5) < 0.06))
        return 3;
    return std::hypot((x - 0.5) / 0.2, (y - 0.74) / 0.14) <= 1 ? 2 : 1;
}

// Column-major tiles of 8 rows, each a low and a high bit plane.
Bytes Tiles(int side, int shape)
{
    Bytes tiles(side * side * 16);
    const double pixel = 1.0 / (side * 8);
    for (int at = 0; at < side * side * 64; ++at) {
        const int tile = at / 64, y = at / 8 % 8, x = at % 8;
        const int colour = Colour((tile / side * 8 + x + 0.5) * pixel, (tile % side * 8 + y + 0.5) * pixel, pixel, shape);
        tiles[tile * 16 + y * 2] |= (colour & 1) << (7 - x);
        tiles[tile * 16 + y * 2 + 1] |= (colour >> 1) << (7 - x);
    }
    return tiles;
}

std::uint16_t StoreLiteral(Bytes& rom, std::string_view code, const Bytes& tiles, std::uint16_t address)
{
    const std::size_t last = tiles.size() - 1;
    Bytes compressed{static_cast<std::uint8_t>(0xE0 | last >> 8), static_cast<std::uint8_t>(last)};
    compressed.insert(compressed.end(), tiles.begin(), tiles.end());
    compressed.push_back(0xFF);
    std::ranges::copy(compressed, rom.begin() + TablesOf(code).bank + (address - 0x4000));
    return static_cast<std::uint16_t>(address + compressed.size());
}

void PointAt(Bytes& rom, std::string_view code, std::uint8_t species, int side, std::uint16_t address)
{
    const std::size_t entry = species == 201 ? TablesOf(code).unown : TablesOf(code).pointers + (species - 1) * 6;
    std::ranges::copy(Bytes{0x14, static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8)},
                      rom.begin() + entry);
    rom[BaseDataOffset(code, species) + 17] = static_cast<std::uint8_t>(side * 0x11);
}

} // namespace

void PutPicture(Bytes& rom, std::string_view code, std::uint8_t species, int side, const Bytes& tiles,
                std::uint16_t address)
{
    StoreLiteral(rom, code, tiles, address);
    PointAt(rom, code, species, side, address);
}

void PutPictures(Bytes& rom, std::string_view code)
{
    // Colours 1 and 2, RGB555 little-endian: grass, spark, dusk, flame, rose, earth, sea, ice.
    constexpr std::uint16_t colours[8][2] = {{0x22C8, 0x43D8}, {0x137F, 0x53FF}, {0x6150, 0x7ADA}, {0x119F, 0x335F},
                                             {0x519E, 0x731F}, {0x1992, 0x431C}, {0x79C6, 0x7F54}, {0x734C, 0x7FFA}};
    std::uint16_t designs[12];
    for (std::uint16_t d = 0, address = 0x4000; d < 12; ++d)
        address = StoreLiteral(rom, code, Tiles(5 + d % 3, d / 3), designs[d] = address);
    for (int species = 1; species <= 251; ++species) {
        PointAt(rom, code, static_cast<std::uint8_t>(species), 5 + species % 3, designs[species % 12]);
        for (int i = 0; i < 4; ++i) { // normal, then shiny
            const std::uint16_t word = colours[(species + i / 2 * 3) % 8][i % 2];
            rom[TablesOf(code).palettes + species * 8 + i * 2] = static_cast<std::uint8_t>(word);
            rom[TablesOf(code).palettes + species * 8 + i * 2 + 1] = static_cast<std::uint8_t>(word >> 8);
        }
    }
    std::ranges::fill_n(rom.begin() + TablesOf(code).pointers + 200 * 6, 6, 0xFF);
}
