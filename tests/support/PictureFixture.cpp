#include "PictureFixture.h"

#include "GameImage.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

struct Tables {
    std::size_t pointers, unown, palettes, bank;
};

constexpr Tables goldSilver{0x48000, 0x7C000, 0xAD3D, 0x80000};
constexpr Tables crystal{0x120000, 0x124000, 0xA8CE, 0x128000};
constexpr std::uint8_t storedBank = 0x14;

const Tables& TablesOf(std::string_view code) { return code.starts_with("BYT") ? crystal : goldSilver; }

// A round creature with ears, a pale belly and dark eyes, as colour indices.
int Colour(double x, double y, int width, int shape)
{
    const auto inside = [&](double px, double py) {
        const double body = std::pow((px - 0.5) / 0.36, 2) + std::pow((py - 0.62) / 0.3, 2);
        const double ear = (py - 0.12 + 0.04 * shape) / (0.3 - 0.12 + 0.04 * shape);
        return body <= 1 || (ear >= 0 && ear <= 1 && std::abs(std::abs(px - 0.5) - 0.22) <= 0.09 * ear);
    };
    const double pixel = 1.0 / width;
    if (!inside(x, y))
        return 0;
    if (!inside(x - pixel, y) || !inside(x + pixel, y) || !inside(x, y - pixel) || !inside(x, y + pixel))
        return 3;
    if (std::abs(std::abs(x - 0.5) - 0.13) < 0.04 && std::abs(y - 0.5) < 0.06)
        return 3;
    return std::pow((x - 0.5) / 0.2, 2) + std::pow((y - 0.74) / 0.14, 2) <= 1 ? 2 : 1;
}

// Column-major tiles of two bit planes.
Bytes Tiles(int side, int shape)
{
    Bytes tiles;
    for (int tile = 0; tile < side * side; ++tile)
        for (int y = 0; y < 8; ++y) {
            std::uint8_t low = 0, high = 0;
            for (int x = 0; x < 8; ++x) {
                const int width = side * 8;
                const int colour = Colour((tile / side * 8 + x + 0.5) / width, (tile % side * 8 + y + 0.5) / width,
                                          width, shape);
                low |= (colour & 1) << (7 - x);
                high |= (colour >> 1) << (7 - x);
            }
            tiles.insert(tiles.end(), {low, high});
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
    const Tables& tables = TablesOf(code);
    const std::size_t entry = species == 201 ? tables.unown : tables.pointers + (species - 1) * 6;
    std::ranges::copy(Bytes{storedBank, static_cast<std::uint8_t>(address), static_cast<std::uint8_t>(address >> 8)},
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
    // Colours 1 and 2 as RGB555: grass, spark, dusk, flame, rose, earth, sea, ice.
    constexpr std::array<std::array<std::uint16_t, 2>, 8> colours{{{0x22C8, 0x43D8}, {0x137F, 0x53FF},
        {0x6150, 0x7ADA}, {0x119F, 0x335F}, {0x519E, 0x731F}, {0x1992, 0x431C}, {0x79C6, 0x7F54}, {0x734C, 0x7FFA}}};
    std::array<std::uint16_t, 12> designs{};
    std::uint16_t address = 0x4000;
    for (std::size_t d = 0; d < designs.size(); ++d) {
        designs[d] = address;
        address = StoreLiteral(rom, code, Tiles(5 + static_cast<int>(d % 3), static_cast<int>(d / 3)), address);
    }
    for (int species = 1; species <= 251; ++species) {
        PointAt(rom, code, static_cast<std::uint8_t>(species), 5 + species % 3, designs[species % 12]);
        const auto& normal = colours[species % 8];
        const auto& shiny = colours[(species + 3) % 8];
        for (int i = 0; i < 4; ++i) {
            const std::uint16_t word = i < 2 ? normal[i] : shiny[i - 2];
            rom[TablesOf(code).palettes + species * 8 + i * 2] = static_cast<std::uint8_t>(word);
            rom[TablesOf(code).palettes + species * 8 + i * 2 + 1] = static_cast<std::uint8_t>(word >> 8);
        }
    }
    std::ranges::fill_n(rom.begin() + TablesOf(code).pointers + 200 * 6, 6, 0xFF);
}
