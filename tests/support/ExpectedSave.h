#pragma once

#include "RomImage.h"
#include "StarterSettings.h"

#include <string_view>

// What Save must make of a ROM laid out like an unmodified game (MakeGameRom),
// worked out apart from rom/: every value at all of its places, Elm's three
// questions for the new species (when asked for), then the check data.
Bytes ExpectedAfterSave(Bytes rom, std::string_view code, const StarterSettings& values,
                        bool labText = true);
