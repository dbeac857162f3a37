#pragma once

#include "GameLayout.h"
#include "RomEdits.h"
#include "StarterSettings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

// Rewrites Elm's question for each Poké Ball so that it names the species now
// in that ball. A ball whose text, name or base data does not look like the
// game's own, or whose text overlaps another's or a script, party or value
// byte, is left alone. The result is where each rewritten question lies.
std::array<std::optional<ByteRange>, 3> RewriteLabTexts(std::span<std::uint8_t> rom, const GameLayout& layout,
                                                        const StarterSettings& values);
