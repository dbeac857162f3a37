#pragma once

#include "RomImage.h"
#include "StarterSettings.h"

#include <cstddef>
#include <map>
#include <vector>

// Where each starter value lives, written out apart from the program's own
// tables (in decimal; the first offset is the one read), so that tests check
// those tables instead of echoing them.
using Offsets = std::map<StarterValue, std::vector<std::size_t>>;

extern const Offsets goldSilverOffsets;
extern const Offsets crystalOffsets;

const Offsets& OffsetsFor(std::string_view code);

// Distinct bytes for the fifteen values, so that a swapped offset shows.
StarterSettings Numbered(std::uint8_t first);

// The ROM with each value at its read offset only, or at all its places.
Bytes WithValuesAtReadOffsets(Bytes rom, const Offsets& offsets, const StarterSettings& values);
Bytes WithValuesEverywhere(Bytes rom, const Offsets& offsets, const StarterSettings& values);
