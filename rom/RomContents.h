#pragma once

#include "GameIdentification.h"
#include "StarterSettings.h"

#include <array>
#include <cstdint>
#include <expected>
#include <optional>
#include <span>
#include <system_error>

// No Game Boy cartridge holds more: a larger file is no ROM, and is refused
// by its size before it is read.
inline constexpr std::int64_t LargestRom = 8 * 1024 * 1024;

// Why an image is not shown. For a ROM of a known game that does not keep its
// starters where that game does (RomErrc::notRecognised), also which game.
struct OpenRefusal {
    std::error_code error;
    const Game* game = nullptr;
};

// A file larger than any cartridge is refused as no supported game, before it is read.
std::optional<OpenRefusal> RefusalBySize(std::int64_t size);

struct RomContents {
    const Game* game;
    StarterSettings values;
};

// The one check of an image, made when it is opened and again before anything
// is written from it: a supported game (RomErrc::unsupportedGame) whose image
// is no larger than a cartridge and holds the game's own script and party
// bytes around every starter value (RomErrc::notRecognised).
std::expected<RomContents, OpenRefusal> ReadRomContents(std::span<const std::uint8_t> image);

// The values as a front end shows them: none where a control holds nothing
// that Save could write.
using ShownValues = std::array<std::optional<std::uint8_t>, StarterValueCount>;

// Whether the shown values differ from the ROM's. A control that cannot show
// the ROM's byte (a species past the list, a level over 100) is no edit.
bool IsEdited(const StarterSettings& rom, const ShownValues& shown);
