#pragma once

#include "GameIdentification.h"
#include "StarterSettings.h"

#include <expected>
#include <filesystem>
#include <system_error>

// Reads every value at its read offset; the first failed read ends the run.
std::expected<StarterSettings, std::error_code> ReadStarters(const std::filesystem::path& rom,
                                                             const StarterLayout& layout);

// Writes every value at all of its write offsets, in the layout's order, and
// syncs the file to disk. Nothing is written unless the file still holds the
// game's code and is long enough for every offset (RomErrc::romChanged); the
// first failed write ends the run.
std::expected<void, std::error_code> PatchStarters(const std::filesystem::path& rom,
                                                   const Game& game,
                                                   const StarterSettings& values);
