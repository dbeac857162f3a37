#pragma once

#include "RomImage.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A 2 MiB ROM of the given game ("AAUE", "AAXE", "BYTE", "BYTU") laid out like
// the unmodified game wherever Tidewell looks: the three Poké Ball scripts with
// their default starters, Elm's three questions, the rival's parties, the
// species names and base data, the signatures of the end-of-ROM check data,
// and front pictures with their palettes (PictureFixture.h).
// Everything else keeps MakeRom's pattern.
Bytes MakeGameRom(std::string_view code);

// A whole text as the game encodes it, from readable characters: the start
// byte, the characters ('|' breaks to the next line), the end byte.
Bytes GameText(std::string_view text);

// Readable characters alone, as in a name entry.
Bytes GameCharacters(std::string_view text);

// Where Elm's question for ball 1, 2 or 3 starts (its 0x00).
std::size_t LabTextOffset(std::string_view code, int ball);

// The 10-byte name entry and the 32-byte base data entry of a species, or
// where they would be for a number outside 1 to 251.
std::size_t NameEntryOffset(std::string_view code, std::uint8_t species);
std::size_t BaseDataOffset(std::string_view code, std::uint8_t species);

// A species' name as the fixture stores it: the game's own for the starters
// and a few others, a made-up upper-case one for the rest.
std::string GameSpeciesName(std::uint8_t species);
