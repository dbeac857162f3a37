#include "RomContents.h"

#include "Catalogues.h"
#include "RomErrors.h"

#include <algorithm>

namespace {

std::int32_t HighestCheckedOffset(const GameLayout& layout)
{
    return std::max(HighestWriteOffset(layout.starters),
                    std::ranges::max(StructureOf(layout), {}, &ByteAt::offset).offset);
}

// An image too short to hold every place Tidewell checks is a cut-short dump.
bool KeepsStructure(std::span<const std::uint8_t> image, const GameLayout& layout)
{
    if (image.size() <= static_cast<std::size_t>(HighestCheckedOffset(layout)) || RefusalBySize(std::ssize(image)))
        return false;
    return std::ranges::all_of(StructureOf(layout), [image](const ByteAt& place) {
        return image[static_cast<std::size_t>(place.offset)] == place.byte;
    });
}

StarterSettings ValuesIn(std::span<const std::uint8_t> image, const StarterLayout& layout)
{
    StarterSettings values;
    for (const ValueLocation& location : layout)
        values[location.value] = image[static_cast<std::size_t>(location.read)];
    return values;
}

static_assert(ItemCatalogue.size() == 256);

bool Showable(StarterValue value, std::uint8_t byte)
{
    switch (KindOf(value)) {
    case ValueKind::species: return byte < SpeciesCatalogue.size();
    case ValueKind::item: return true; // every byte names an item
    case ValueKind::level: return byte <= MaxLevel;
    }
    return false;
}

} // namespace

std::optional<OpenRefusal> RefusalBySize(std::int64_t size)
{
    if (size <= LargestRom)
        return std::nullopt;
    return OpenRefusal{make_error_code(RomErrc::unsupportedGame)};
}

std::expected<RomContents, OpenRefusal> ReadRomContents(std::span<const std::uint8_t> image)
{
    const Game* game = IdentifyGame(GameCodeOf(image));
    if (game == nullptr)
        return std::unexpected(OpenRefusal{make_error_code(RomErrc::unsupportedGame)});
    if (!KeepsStructure(image, *game->layout))
        return std::unexpected(OpenRefusal{make_error_code(RomErrc::notRecognised), game});
    return RomContents{game, ValuesIn(image, game->layout->starters)};
}

bool IsEdited(const StarterSettings& rom, const ShownValues& shown)
{
    return std::ranges::any_of(AllStarterValues, [&](StarterValue value) {
        const std::optional<std::uint8_t> byte = shown[IndexOf(value)];
        return byte ? *byte != rom[value] : Showable(value, rom[value]);
    });
}
