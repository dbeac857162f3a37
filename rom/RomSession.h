#pragma once

#include "GameIdentification.h"
#include "PatchFiles.h"
#include "RomEdits.h"
#include "RomFile.h"
#include "StarterSettings.h"

#include <array>
#include <expected>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

// A ROM as Open found it, and enough to make sure that whatever is written
// later goes into the same file, unchanged since.
struct OpenedRom {
    std::filesystem::path path;
    const Game* game = nullptr;
    StarterSettings values;
    FileIdentity identity;
    // The byte at every place Save writes a value, as read or as last saved.
    std::vector<ByteAt> stored;
};

// Why a file was not opened. For a ROM of a known game that does not keep its
// starters where that game does (RomErrc::notRecognised), also which game.
struct OpenRefusal {
    std::error_code error;
    const Game* game = nullptr;
};

// Refuses unsupported games (RomErrc::unsupportedGame) and ROMs whose script
// and party bytes are not the game's own.
std::expected<OpenedRom, OpenRefusal> OpenRom(const std::filesystem::path& path);

struct SaveOptions {
    // Elm's question names the species in each ball.
    bool labText = true;
};

struct SavePlan {
    RomEdits edits;
    // Balls whose question did not look like the game's own and was kept.
    std::array<bool, 3> labTextLeftAlone{};
};

// Everything Save changes in this image of the ROM to store the values.
SavePlan PlanSave(std::span<const std::uint8_t> image, const GameLayout& layout,
                  const StarterSettings& values, SaveOptions options);

// What a failed Save left in the file.
enum class RomLeft {
    untouched,     // it failed before the first write
    restored,      // the bytes written were put back and synced
    partlyChanged, // putting them back failed too
};

struct SaveFailure {
    std::error_code error;
    RomLeft left = RomLeft::untouched;
};

// Writes the values into the opened file, through one handle that is first
// checked to be the same file, unchanged since it was opened or last saved
// (RomErrc::romChanged). Either every edit is written and synced, or the
// bytes written are put back.
std::expected<SavePlan, SaveFailure> SaveInPlace(OpenedRom& rom, const StarterSettings& values,
                                                 SaveOptions options);

struct SavedCopy {
    OpenedRom copy; // as if it had just been opened
    SavePlan plan;
};

// Writes a complete copy of the checked ROM with the edits under a new name.
std::expected<SavedCopy, std::error_code> SaveCopy(const OpenedRom& rom, const StarterSettings& values,
                                                   SaveOptions options,
                                                   const std::filesystem::path& target);

// Writes a patch from the ROM file as it is to the ROM that Save would write.
std::expected<SavePlan, std::error_code> ExportPatch(const OpenedRom& rom, const StarterSettings& values,
                                                     SaveOptions options, PatchFormat format,
                                                     const std::filesystem::path& target);
