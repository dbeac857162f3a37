#pragma once

#include "RomImage.h"

#include <array>
#include <cstdint>
#include <span>

// The global checksum and the end-of-ROM check data worked out the plain way,
// straight from the facts about the games and apart from rom/, so that tests
// check the program instead of echoing it.

// The 16-bit CRC of both blocks, one bit at a time.
std::uint16_t ReferenceCrc(std::span<const std::uint8_t> bytes, std::uint16_t start);

// The CRC from 0xFEFE of each bank (0x00 to 0x7F) of the unmodified Crystal.
extern const std::array<std::uint16_t, 128> referenceCrystalBankCrcs;

// The ROM after a build's rebuild: the given blocks (only in a 2 MiB ROM),
// then the global checksum (only in a ROM with a whole header).
Bytes WithReferenceCheckData(Bytes rom, bool stadium, bool base);

// Picks the bank's last two bytes so that its CRC from 0xFEFE is the given one.
void ForceBankCrc(std::span<std::uint8_t> bank, std::uint16_t crc);
