#pragma once

#include <cstdint>
#include <expected>
#include <span>
#include <string>
#include <vector>

// An 8-bit RGB image, three bytes a pixel, rows from the top, as the bytes of
// a PNG file; libpng's message when it cannot.
std::expected<std::vector<std::uint8_t>, std::string> EncodePng(int width, int height,
                                                                std::span<const std::uint8_t> rgb);
