#pragma once

#include "RomFile.h"
#include "StarterLayout.h"

#include <array>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

struct Game {
    std::string_view code;
    std::string_view name;
    std::string_view language;
    std::string_view windowCaption;
    const StarterLayout* layout;
};

// Tried in this order; no other code is accepted.
inline constexpr std::array<Game, 3> SupportedGames{{
    {"AAUE", "Pokémon Gold", "English", "AAUE - Tidewell", &GoldSilverLayout},
    {"AAXE", "Pokémon Silver", "English", "AAXE - Tidewell", &GoldSilverLayout},
    {"BYTE", "Pokémon Crystal", "English", "BYTE - Tidewell", &CrystalLayout},
}};

// The game code field of the cartridge header.
inline constexpr std::int32_t GameCodeOffset = 0x13F;
inline constexpr std::int32_t GameCodeLength = 4;

// The header's code bytes as they stand, fewer than four when the file ends early.
std::expected<std::string, std::error_code> ReadGameCode(RomFile& file);
std::expected<std::string, std::error_code> ReadGameCode(const std::filesystem::path& path);

// Exact, case-sensitive match over all four characters; nullptr when unsupported.
const Game* IdentifyGame(std::string_view code);
