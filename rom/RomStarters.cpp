#include "RomStarters.h"

#include "HexFunctions.h"
#include "RomErrors.h"
#include "RomFile.h"

namespace {

std::error_code CheckStillTheSameRom(RomFile& file, const Game& game)
{
    const auto code = ReadGameCode(file);
    if (!code)
        return code.error();
    const auto size = file.Size();
    if (!size)
        return size.error();
    if (*code != game.code || *size <= HighestWriteOffset(*game.layout))
        return make_error_code(RomErrc::romChanged);
    return {};
}

} // namespace

std::expected<StarterSettings, std::error_code> ReadStarters(const std::filesystem::path& rom,
                                                             const StarterLayout& layout)
{
    StarterSettings values;
    for (StarterValue value : OpenReadOrder) {
        const auto text = ReadHex(rom, LocationOf(layout, value).read, 1);
        if (!text)
            return std::unexpected(text.error());
        const auto byte = HexByte(*text);
        if (!byte)
            return std::unexpected(byte.error());
        values[value] = *byte;
    }
    return values;
}

std::expected<void, std::error_code> PatchStarters(const std::filesystem::path& rom,
                                                   const Game& game,
                                                   const StarterSettings& values)
{
    // Held open around the single-byte writes: it vouches for the file before
    // the first write and syncs all of them at the end.
    auto held = RomFile::Open(rom, RomFile::Access::readWrite);
    if (!held)
        return std::unexpected(held.error());
    if (auto ec = CheckStillTheSameRom(*held, game))
        return std::unexpected(ec);
    for (const ValueLocation& location : *game.layout) {
        for (std::int32_t offset : location.writes) {
            if (auto written = WriteHex(rom, offset, TwoDigitHex(values[location.value])); !written)
                return written;
        }
    }
    if (auto ec = held->SyncToDisk())
        return std::unexpected(ec);
    if (auto ec = held->Close())
        return std::unexpected(ec);
    return {};
}
