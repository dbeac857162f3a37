#pragma once

#include "RomDocument.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// How each outcome is put to the user, the same in the window and the tool.

// Why a file is not shown: an unsupported game, a ROM Tidewell does not know,
// or the platform's reason.
std::string RefusalText(const OpenRefusal& refusal);

// What went wrong, then, on a line of its own, what the ROM was left as.
std::string FailureText(const SaveFailure& failure);

inline constexpr std::string_view ChangedSinceOpenWarning =
    "The ROM file has changed since it was opened. Open it again before saving.";

// One line for each part of the ROM that Save left as it was.
std::vector<std::string> SaveNotes(const SavePlan& plan);

std::string SavedText(const SavePlan& plan);
std::string PatchWrittenText(std::string_view fileName, const SavePlan& plan);

// One sentence for each Poké Ball that holds Unown: Elm shows the ball's
// species before the game has chosen a letter. The rival's Unown is fine.
std::vector<std::string> UnownWarnings(const StarterSettings& values);

inline constexpr std::string_view NothingToWriteText = "The ROM already holds these starters; nothing was written.";

// What a write from the command line made: the ROM or a copy, or a patch in the given format.
std::string WrittenText(std::string_view fileName, std::optional<PatchFormat> patch = std::nullopt);
