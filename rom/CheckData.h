#pragma once

#include "RomEdits.h"

#include <cstdint>
#include <span>
#include <vector>

// The data a ROM carries to prove itself unmodified: the header's global
// checksum, and at the end of a 2 MiB ROM the block that Pokémon Stadium 2
// reads (and, in Crystal, the base block before it).

inline constexpr std::size_t CheckedRomSize = 0x200000;

// Which end-of-ROM blocks a ROM has: their signature bytes stand in place and
// the ROM is 2 MiB. A ROM without them may use that space for itself.
struct CheckBlocks {
    bool stadium = false;
    bool base = false;
    bool operator==(const CheckBlocks&) const = default;
};
CheckBlocks PresentCheckBlocks(std::span<const std::uint8_t> rom, bool crystal);

// Recomputes the given blocks (in a 2 MiB ROM only) and then the global
// checksum (in a ROM with a whole header), in the order a build of the game does.
void RebuildCheckData(std::span<std::uint8_t> rom, CheckBlocks blocks);

// Where RebuildCheckData writes, in a ROM of that size with those blocks.
std::vector<ByteRange> CheckDataRegions(std::size_t romSize, CheckBlocks blocks);

// The 16-bit CRC both blocks use, from the given start value.
std::uint16_t StadiumCrc(std::span<const std::uint8_t> bytes, std::uint16_t start);
