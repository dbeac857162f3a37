#pragma once

#include "RomEdits.h"
#include "StarterSettings.h"

#include <array>
#include <cstdint>
#include <expected>
#include <span>
#include <system_error>

struct SaveOptions {
    // Elm's question names the species in each ball.
    bool labText = true;
    // The rival's later teams continue the line of the starter he is given.
    bool rivalTeams = true;
};

// The ROM that Save writes, and how it differs from the ROM it was made from.
struct SavePlan {
    RomBytes image;
    RomEdits edits;
    // Balls whose question did not look like the game's own, or lay where
    // rewriting it could touch something else, and was kept.
    std::array<bool, 3> labTextLeftAlone{};
    // The rival's parties did not look like the game's own and were kept.
    bool rivalTeamsLeftAlone = false;
    // Some of the rival's later teams change to follow his starters.
    bool rivalTeamsFollow = false;
};

// Everything Save changes in this image to store the values. The image must
// pass the check that Open makes (its refusal's error otherwise), and every
// edit lies in a region Tidewell owns, or nothing is planned
// (RomErrc::outsideOwnedRegions).
std::expected<SavePlan, std::error_code> PlanSave(std::span<const std::uint8_t> image, const StarterSettings& values,
                                                  SaveOptions options);
