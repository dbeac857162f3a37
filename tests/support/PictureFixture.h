#pragma once

#include "RomImage.h"

#include <cstdint>
#include <string_view>

// Where PutPicture may store more pictures: after the fixture's own, in the same bank.
inline constexpr std::uint16_t FreePictureAddress = 0x7000;

// A front picture and a palette for every species: made-up creatures, a few
// shapes in each size, stored once and shared, in the bank that the stored
// bank byte 0x14 stands for. Unown's goes through its own table.
void PutPictures(Bytes& rom, std::string_view code);

// Stores the tiles as one literal command at `address` of that bank and
// points the species at them, `side` tiles a side.
void PutPicture(Bytes& rom, std::string_view code, std::uint8_t species, int side, const Bytes& tiles,
                std::uint16_t address);
