#pragma once

#include "Outcomes.h"
#include "PatchFiles.h"
#include "RomContents.h"
#include "RomFile.h"
#include "SavePlan.h"

#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

struct InterruptedSaveFound;

// A ROM as Open found it, with the rules for everything written from it: it
// goes into the same file, unchanged since it was opened or last saved
// (RomErrc::romChanged), and new files never replace the ROM or anything but a
// regular file.
class RomDocument {
public:
    // Reads the file once and refuses what the core's check refuses. The
    // editor makes the ROM writable for its owner, so that a later Save can work.
    static std::expected<RomDocument, OpenRefusal> Open(const std::filesystem::path& path,
                                                        bool makeWritable = false);

    const std::filesystem::path& Path() const { return path_; }
    const Game& GameOf() const { return *game_; }
    const StarterSettings& Values() const { return values_; }
    // The whole ROM, as read or as last saved.
    std::span<const std::uint8_t> Image() const { return image_; }

    // What Open, or the last Save, found of an earlier save in place that
    // did not finish, and did about it.
    const std::optional<Outcome>& InterruptedSaveNote() const { return interruptedSave_; }

    bool IsEdited(const ShownValues& shown) const { return ::IsEdited(values_, shown); }

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
    struct Planned;

    RomDocument() = default;
    std::expected<RomFile, std::error_code> Reopen() const;
    std::expected<Planned, std::error_code> Plan(const StarterSettings& values, SaveOptions options) const;
    bool IsThisRom(const std::filesystem::path& target) const;
    void Saved(const StarterSettings& values, const FileIdentity& identity, const SavePlan& plan);
    void Found(const InterruptedSaveFound& interrupted);
    std::expected<void, SaveFailure> UndoInterruptedSave();

    std::filesystem::path path_;
    const Game* game_ = nullptr;
    StarterSettings values_;
    FileIdentity identity_;
    RomBytes image_;
    std::optional<Outcome> interruptedSave_;
};
