#include "FrontPicture.h"

namespace {

constexpr std::uint8_t endByte = 0xFF;
constexpr unsigned longForm = 7;
constexpr std::size_t pointerEntrySize = 6;
constexpr std::size_t paletteEntrySize = 8;
constexpr std::size_t sizeByte = 17;
constexpr int tilePixels = 8;
constexpr std::size_t tileBytes = 16;

enum class Command { literal, iterate, alternate, zero, repeat, flip, reverse };

constexpr std::uint8_t Flipped(std::uint8_t byte)
{
    std::uint8_t flipped = 0;
    for (int bit = 0; bit < 8; ++bit)
        flipped |= ((byte >> bit) & 1) << (7 - bit);
    return static_cast<std::uint8_t>(flipped);
}

static_assert(Flipped(0x01) == 0x80 && Flipped(0xC2) == 0x43);

class Decoder {
public:
    Decoder(std::span<const std::uint8_t> input, std::size_t cap) : input(input), cap(cap) {}

    std::optional<std::vector<std::uint8_t>> Run()
    {
        while (output.size() < cap) {
            const auto first = Take();
            if (!first)
                return std::nullopt;
            if (*first == endByte)
                break;
            if (!Perform(*first))
                return std::nullopt;
        }
        return std::move(output);
    }

private:
    std::optional<std::uint8_t> Take()
    {
        if (read == input.size())
            return std::nullopt;
        return input[read++];
    }

    void Put(std::uint8_t byte)
    {
        if (output.size() < cap)
            output.push_back(byte);
    }

    bool Perform(std::uint8_t first)
    {
        unsigned command = first >> 5;
        std::size_t count = (first & 0x1Fu) + 1;
        if (command == longForm) {
            const auto second = Take();
            if (!second)
                return false;
            command = (first >> 2) & 7u;
            count = ((first & 3u) << 8 | *second) + 1;
            if (command == longForm)
                command = static_cast<unsigned>(Command::repeat);
        }
        return Perform(static_cast<Command>(command), count);
    }

    bool Perform(Command command, std::size_t count)
    {
        switch (command) {
        case Command::literal:
            for (std::size_t i = 0; i < count; ++i) {
                const auto byte = Take();
                if (!byte)
                    return false;
                Put(*byte);
            }
            return true;
        case Command::iterate: {
            const auto byte = Take();
            for (std::size_t i = 0; byte && i < count; ++i)
                Put(*byte);
            return byte.has_value();
        }
        case Command::alternate: {
            const auto a = Take();
            const auto b = Take();
            for (std::size_t i = 0; b && i < count; ++i)
                Put(i % 2 ? *b : *a);
            return b.has_value();
        }
        case Command::zero:
            for (std::size_t i = 0; i < count; ++i)
                Put(0);
            return true;
        default:
            return Copy(command, count);
        }
    }

    // Where a copy starts, inside the output written so far.
    std::optional<std::size_t> Source()
    {
        const auto first = Take();
        if (!first)
            return std::nullopt;
        std::size_t from = 0;
        if (*first & 0x80) {
            const std::size_t back = (*first & 0x7Fu) + 1;
            if (back > output.size())
                return std::nullopt;
            from = output.size() - back;
        } else {
            const auto second = Take();
            if (!second)
                return std::nullopt;
            from = static_cast<std::size_t>(*first) << 8 | *second;
        }
        if (from >= output.size())
            return std::nullopt;
        return from;
    }

    // One byte at a time, so that a copy overlapping its own output repeats it.
    bool Copy(Command command, std::size_t count)
    {
        const auto from = Source();
        if (!from)
            return false;
        for (std::size_t i = 0; i < count && output.size() < cap; ++i) {
            if (command == Command::reverse && i > *from)
                return false;
            const std::uint8_t byte = output[command == Command::reverse ? *from - i : *from + i];
            Put(command == Command::flip ? Flipped(byte) : byte);
        }
        return true;
    }

    std::span<const std::uint8_t> input;
    std::size_t cap;
    std::size_t read = 0;
    std::vector<std::uint8_t> output;
};

// The compressed picture through the species' pointer entry, up to the end of its bank.
std::optional<std::span<const std::uint8_t>> CompressedPicture(std::span<const std::uint8_t> rom,
                                                               const PictureTables& tables, std::uint8_t species)
{
    const std::int64_t entryOffset = species == Unown ? tables.unownPointers
                                                      : tables.pointers + (species - 1) * std::int64_t{pointerEntrySize};
    const auto entry = Slice(rom, entryOffset, 3);
    if (!entry)
        return std::nullopt;
    const int bank = tables.bankOf((*entry)[0]);
    const unsigned address = (*entry)[1] | (*entry)[2] << 8;
    return BankedBytes(rom, bank, address);
}

// Tiles a side, from the species' base data: only the low nibble counts.
std::optional<int> TilesASide(std::span<const std::uint8_t> rom, const GameLayout& layout, std::uint8_t species)
{
    const auto size = Slice(rom, layout.baseData + (species - 1) * std::int64_t{BaseDataEntrySize} + sizeByte, 1);
    if (!size)
        return std::nullopt;
    const int side = (*size)[0] & 0x0F;
    if (side < 5 || side > 7)
        return std::nullopt;
    return side;
}

// Tiles of 8 rows, each a low and a high bit plane, in column-major order.
FrontPicture PixelsOf(std::span<const std::uint8_t> tiles, int side)
{
    const int width = side * tilePixels;
    FrontPicture picture{width, width, std::vector<std::uint8_t>(static_cast<std::size_t>(width * width))};
    for (int tile = 0; tile < side * side; ++tile) {
        const int left = tile / side * tilePixels;
        const int top = tile % side * tilePixels;
        for (int y = 0; y < tilePixels; ++y) {
            const std::uint8_t low = tiles[tile * tileBytes + 2 * y];
            const std::uint8_t high = tiles[tile * tileBytes + 2 * y + 1];
            for (int x = 0; x < tilePixels; ++x)
                picture.indices[(top + y) * width + left + x] =
                    static_cast<std::uint8_t>((low >> (7 - x) & 1) | (high >> (7 - x) & 1) << 1);
        }
    }
    return picture;
}

// A 0bbbbbgggggrrrrr word, little-endian.
Rgb ColourOf(std::span<const std::uint8_t> word)
{
    const unsigned value = word[0] | word[1] << 8;
    const auto channel = [](unsigned c) { return static_cast<std::uint8_t>((c & 0x1F) << 3 | (c & 0x1F) >> 2); };
    return {channel(value), channel(value >> 5), channel(value >> 10)};
}

} // namespace

std::optional<std::vector<std::uint8_t>> Decompress(std::span<const std::uint8_t> input, std::size_t cap)
{
    return Decoder(input, cap).Run();
}

std::optional<FrontPicture> FrontPictureOf(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                           std::uint8_t species)
{
    if (species < 1 || species > LastSpecies)
        return std::nullopt;
    const auto compressed = CompressedPicture(rom, *layout.pictures, species);
    const auto side = TilesASide(rom, layout, species);
    if (!compressed || !side)
        return std::nullopt;
    // Crystal's pictures go on with animation tiles: only the first side × side are the picture.
    const std::size_t pictureBytes = static_cast<std::size_t>(*side * *side) * tileBytes;
    const auto tiles = Decompress(*compressed, pictureBytes);
    if (!tiles || tiles->size() < pictureBytes)
        return std::nullopt;
    return PixelsOf(*tiles, *side);
}

std::optional<SpeciesPalettes> PalettesOf(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                          std::uint8_t species)
{
    const auto entry = Slice(rom, layout.pictures->palettes + species * std::int64_t{paletteEntrySize}, paletteEntrySize);
    if (!entry)
        return std::nullopt;
    constexpr Rgb white{255, 255, 255};
    constexpr Rgb black{};
    return SpeciesPalettes{{white, ColourOf(entry->subspan(0, 2)), ColourOf(entry->subspan(2, 2)), black},
                           {white, ColourOf(entry->subspan(4, 2)), ColourOf(entry->subspan(6, 2)), black}};
}
