#pragma once

#include "GameIdentification.h"
#include "PatchFiles.h"
#include "RomEdits.h"
#include "RomFile.h"
#include "StarterSettings.h"

#include <array>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>
#include <vector>

// Why a file was not opened. For a ROM of a known game that does not keep its
// starters where that game does (RomErrc::notRecognised), also which game.
struct OpenRefusal {
    std::error_code error;
    const Game* game = nullptr;
};

struct SaveOptions {
    // Elm's question names the species in each ball.
    bool labText = true;
    // The rival's later teams continue the line of the starter he is given.
    bool rivalTeams = true;
};

struct SavePlan {
    RomEdits edits;
    // Balls whose question did not look like the game's own, or lay where
    // rewriting it could touch something else, and was kept.
    std::array<bool, 3> labTextLeftAlone{};
    // The rival's parties did not look like the game's own and were kept.
    bool rivalTeamsLeftAlone = false;
    // Some of the rival's later teams change to follow his starters.
    bool rivalTeamsFollow = false;
};

// Everything Save changes in this image of the ROM to store the values. Every
// edit lies in a region Tidewell owns, or nothing is planned
// (RomErrc::outsideOwnedRegions).
std::expected<SavePlan, std::error_code> PlanSave(std::span<const std::uint8_t> image, const GameLayout& layout,
                                                  const StarterSettings& values, SaveOptions options);

// What a failed write left in the ROM.
enum class RomLeft {
    untouched,     // it failed before the ROM was touched
    restored,      // the bytes written in place were put back and synced
    partlyChanged, // putting them back failed too
};

struct SaveFailure {
    std::error_code error;
    RomLeft left = RomLeft::untouched;
};

// The values as the window shows them: none where a control holds nothing
// that Save could write.
using ShownValues = std::array<std::optional<std::uint8_t>, StarterValueCount>;

// A ROM as Open found it, with the rules for everything written from it: it
// goes into the same file, unchanged since it was opened or last saved
// (RomErrc::romChanged), and new files never replace the ROM or anything but a
// regular file.
class RomDocument {
public:
    // Refuses unsupported games (RomErrc::unsupportedGame) and ROMs whose script
    // and party bytes are not the game's own (RomErrc::notRecognised). The
    // editor makes the ROM writable for its owner, so that a later Save can work.
    static std::expected<RomDocument, OpenRefusal> Open(const std::filesystem::path& path,
                                                        bool makeWritable = false);

    const std::filesystem::path& Path() const { return path_; }
    const Game& GameOf() const { return *game_; }
    const StarterSettings& Values() const { return values_; }
    // The whole ROM, as read or as last saved.
    std::span<const std::uint8_t> Image() const { return image_; }

    // Whether the shown values differ from the ROM's. A control that cannot show
    // the ROM's byte (a species past the list, a level over 100) is no edit.
    bool IsEdited(const ShownValues& shown) const;

    // Writes the values into the ROM: the whole edited image replaces it in
    // one step, or, where it cannot stay what it was, each edit is written in
    // place, and all put back on any failure.
    std::expected<SavePlan, SaveFailure> Save(const StarterSettings& values, SaveOptions options);

    // A changed copy under `target`, and the document goes on with it; onto the
    // ROM itself, by any name, it is a Save.
    std::expected<SavePlan, SaveFailure> SaveAs(const StarterSettings& values, SaveOptions options,
                                                const std::filesystem::path& target);

    // A patch from the ROM as it is to the ROM that Save would write. Never
    // over the ROM itself (RomErrc::patchOverRom), never empty (RomErrc::nothingToExport).
    std::expected<SavePlan, SaveFailure> ExportPatch(const StarterSettings& values, SaveOptions options,
                                                     PatchFormat format,
                                                     const std::filesystem::path& target) const;

    // A new file made from the ROM, such as a picture from it: never over the
    // ROM itself (`overRom`), 0666 less the umask.
    std::expected<void, SaveFailure> WriteDerivedFile(std::span<const std::uint8_t> bytes,
                                                      const std::filesystem::path& target,
                                                      std::error_code overRom) const;

private:
    struct Checked;
    struct Planned;

    RomDocument() = default;
    std::expected<Checked, std::error_code> Reopen() const;
    std::expected<Planned, std::error_code> Plan(const StarterSettings& values, SaveOptions options) const;
    bool IsThisRom(const std::filesystem::path& target) const;
    void Saved(const StarterSettings& values, const FileIdentity& identity, RomBytes image);

    std::filesystem::path path_;
    const Game* game_ = nullptr;
    StarterSettings values_;
    FileIdentity identity_;
    // The byte at every place Save writes a value, as read or as last saved.
    std::vector<ByteAt> stored_;
    RomBytes image_;
};
