#pragma once

#include "GameLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A species' front picture: one colour index (0 to 3) per pixel, rows from the top.
struct FrontPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Colours 0 to 3 of a picture.
using Palette = std::array<Rgb, 4>;

struct SpeciesPalettes {
    Palette normal;
    Palette shiny;
};

// Far more than any real picture decodes to.
inline constexpr std::size_t DecodedCap = 4096;

// The game's picture compression, undone: the output up to the end byte, or
// its first `cap` bytes when it would grow past them. Nothing when a command
// reads past the input or copies from outside the output written so far.
std::optional<std::vector<std::uint8_t>> Decompress(std::span<const std::uint8_t> input,
                                                    std::size_t cap = DecodedCap);

// The ROM's own front picture of a species (Unown as its letter A); nothing
// for species 0 and 252 to 255, or where the ROM's tables lead nowhere sensible.
std::optional<FrontPicture> FrontPictureOf(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                           std::uint8_t species);

// The species' normal and shiny colours; nothing for an entry past the file's end.
std::optional<SpeciesPalettes> PalettesOf(std::span<const std::uint8_t> rom, const GameLayout& layout,
                                          std::uint8_t species);
