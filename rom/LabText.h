#pragma once

#include "GameLayout.h"
#include "StarterSettings.h"

#include <array>
#include <cstdint>
#include <span>

// Rewrites Elm's question for each Poké Ball so that it names the species now
// in that ball. A ball whose text, name or base data does not look like the
// game's own is left alone; the result tells which.
std::array<bool, 3> RewriteLabTexts(std::span<std::uint8_t> rom, const GameLayout& layout,
                                    const StarterSettings& values);
