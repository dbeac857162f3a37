#pragma once

#include "RomImage.h"
#include "StarterSettings.h"

#include <string_view>

// What Save must make of a ROM laid out like an unmodified game (MakeGameRom),
// worked out apart from rom/: every value at all of its places, Elm's three
// questions for the new species (when asked for), then the check data. The
// rival's later teams (when asked for) are the one part taken from rom/, whose
// own tests pin them to the game's examples.
Bytes ExpectedAfterSave(Bytes rom, std::string_view code, const StarterSettings& values,
                        bool labText = true, bool rivalTeams = true);
