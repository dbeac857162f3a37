#pragma once

#include "GameLayout.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

struct Game {
    std::string_view code;
    std::string_view name;
    std::string_view language;
    std::string_view windowCaption;
    const GameLayout* layout;
};

// Tried in this order; no other code is accepted.
inline constexpr std::array<Game, 4> SupportedGames{{
    {"AAUE", "Pokémon Gold", "English", "AAUE - Tidewell", &GoldSilver},
    {"AAXE", "Pokémon Silver", "English", "AAXE - Tidewell", &GoldSilver},
    {"BYTE", "Pokémon Crystal", "English", "BYTE - Tidewell", &Crystal},
    {"BYTU", "Pokémon Crystal", "English", "BYTU - Tidewell", &Crystal},
}};

// The game code field of the cartridge header.
inline constexpr std::int32_t GameCodeOffset = 0x13F;
inline constexpr std::int32_t GameCodeLength = 4;

// The header's code bytes as they stand, fewer than four when the image ends early.
std::string GameCodeOf(std::span<const std::uint8_t> image);

// Exact, case-sensitive match over all four characters; nullptr when unsupported.
const Game* IdentifyGame(std::string_view code);
