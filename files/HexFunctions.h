#pragma once

#include "RomFile.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

// Bytes travel between the ROM file and its callers as hex text: two
// upper-case digits per byte, lowest offset first, no separators.

// The two-digit form of a value: its lowest 8 bits (-1 gives "FF", 300 "2C").
std::string TwoDigitHex(int value);

// Reads one byte of hex text back; lower-case digits are accepted.
std::expected<std::uint8_t, std::error_code> HexByte(std::string_view pair);

// Each call stops at the first failure. The forms that take a path open the
// file and close it again before they return; a missing file is a failure:
// nothing is ever created. The others work on a file that is already open.
std::expected<std::string, std::error_code>
ReadHex(const std::filesystem::path& path, std::int32_t offset, std::int32_t count);
std::expected<std::string, std::error_code> ReadHex(RomFile& file, std::int32_t offset,
                                                    std::int32_t count);

// An odd-length text gets a "0" in front. Pairs are written one by one, so a bad
// pair stops the run after the bytes in front of it are written.
std::expected<void, std::error_code>
WriteHex(const std::filesystem::path& path, std::int32_t offset, std::string_view hexText);
std::expected<void, std::error_code> WriteHex(RomFile& file, std::int32_t offset,
                                              std::string_view hexText);
