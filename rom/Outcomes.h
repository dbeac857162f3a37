#pragma once

#include "PatchFiles.h"
#include "RomContents.h"
#include "SavePlan.h"

#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// Every outcome as it is put to the user, the same in every front end.

enum class OutcomeKind { done, note, warning, refusal, failure };

// What became of the ROM file itself.
enum class RomLeft {
    notWritten,    // it was only read: the write was to another file
    untouched,     // a write to it failed before any of its bytes changed
    restored,      // the bytes written in place were put back and synced
    partlyChanged, // putting them back failed too
    changed,       // it holds the new starters
    unconfirmed,   // it holds them, but the system could not confirm they reached the disk
};

// A write that did not happen as asked.
struct SaveFailure {
    std::error_code error;
    RomLeft left = RomLeft::notWritten;
    // A temporary name of Tidewell's, left because it no longer named Tidewell's
    // file or could not be removed.
    std::string leftAlone = {};
};

struct Outcome {
    OutcomeKind kind;
    std::string text;
    RomLeft left = RomLeft::notWritten;
    // The platform's or Tidewell's failure, whose number a failure is shown under.
    std::error_code error;
};

// Why a file is not shown: an unsupported game, a ROM Tidewell does not know,
// or the platform's reason.
Outcome RefusalOutcome(const OpenRefusal& refusal);

// What went wrong, then, on a line of its own, what the ROM was left as.
Outcome FailureOutcome(const SaveFailure& failure);

Outcome SavedOutcome(const SavePlan& plan);

// What was found of a save in place that did not finish: nothing, a record
// that put the ROM back as it was, or one that does not match the ROM and was
// kept, under the given name, without being used.
enum class InterruptedSave { none, putBack, recordKept };
Outcome InterruptedSaveOutcome(InterruptedSave found, std::string_view keptAs = {});
Outcome PatchWrittenOutcome(std::string_view fileName, const SavePlan& plan);

// One line for each part of the ROM that Save left as it was.
std::vector<std::string> SaveNotes(const SavePlan& plan);

// One sentence for each Poké Ball whose species breaks the game: Elm shows the
// ball's species before the game has chosen Unown's letter, and species 0 or
// 252 to 255 is no Pokémon at all. The rival's Unown is fine.
std::vector<std::string> PokeBallWarnings(const StarterSettings& values);

// Why Save does not start: a level box or a list holds nothing it could write.
inline constexpr std::string_view MissingLevelText = "Please enter levels between 0 and 100.";
inline constexpr std::string_view MissingChoiceText = "Please choose a species in every list.";

// Asked after each warning, before Save goes on.
inline constexpr std::string_view SaveAnywayText = "Save anyway?";

// Asked before unsaved edits to this file's starters would be lost.
std::string SaveChangesQuestion(std::string_view fileName);

inline constexpr std::string_view NothingToWriteText = "The ROM already holds these starters; nothing was written.";

// The releases Tidewell supports, for a refusal that has room to name them.
inline constexpr std::string_view SupportedReleasesText =
    "Tidewell supports the English Pokémon Gold (AAUE), Pokémon Silver (AAXE) and Pokémon Crystal 1.0 and 1.1 "
    "(BYTE), and the Australian Pokémon Crystal (BYTU).";

// A copy would replace a file the user did not ask to replace.
std::string TargetExistsText(std::string_view fileName);

std::string PictureWrittenText(std::string_view species, std::string_view fileName);

// What a write from the command line made: the ROM or a copy, or a patch in the given format.
std::string WrittenText(std::string_view fileName, std::optional<PatchFormat> patch = std::nullopt);
