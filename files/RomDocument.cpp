#include "RomDocument.h"

#include "FileWriting.h"
#include "Journal.h"
#include "RomErrors.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

// Writes every edit through the handle and syncs, the old bytes journalled
// first; on any failure, or when the path no longer names the file, puts back
// the bytes already written. What cannot be put back now is put back from
// the journal when the ROM is next opened or saved.
std::expected<void, SaveFailure> ApplyInPlace(RomFile& file, const RomEdits& edits, const fs::path& path)
{
    auto journal = Journal::Begin(file, edits);
    if (!journal)
        return std::unexpected(SaveFailure{journal.error(), RomLeft::untouched});
    std::size_t written = 0;
    std::error_code failure;
    for (; written < edits.size(); ++written) {
        const ByteEdit& edit = edits[written];
        if ((failure = file.WriteByte(static_cast<std::int32_t>(edit.offset), edit.after)))
            break;
    }
    if (!failure)
        failure = file.SyncToDisk();
    if (const auto identity = file.Identity(); !failure && (!identity || !Names(path, *identity)))
        failure = make_error_code(RomErrc::romChanged);
    if (!failure)
        failure = journal->End();
    if (!failure)
        return {};
    bool restored = true;
    while (written-- > 0) {
        const ByteEdit& edit = edits[written];
        restored = !file.WriteByte(static_cast<std::int32_t>(edit.offset), edit.before) && restored;
    }
    restored = !file.SyncToDisk() && restored;
    // Once the old bytes are back, the journal may go or stay: it puts back what is there.
    if (restored)
        journal->End();
    return std::unexpected(SaveFailure{failure, restored ? RomLeft::restored : RomLeft::partlyChanged});
}

// A copy is edited further by its owner, and is no program.
fs::perms CopyPermissions(fs::perms source)
{
    return (source & fs::perms::all) | fs::perms::owner_write;
}

} // namespace

// The opened ROM's file, checked to be the same file holding the same bytes,
// and the plan made from them.
struct RomDocument::Planned {
    RomFile file;
    SavePlan plan;
};

std::expected<RomDocument, OpenRefusal> RomDocument::Open(const fs::path& path, bool makeWritable)
{
    auto file = RomFile::Open(path, RomFile::Access::read);
    if (!file)
        return std::unexpected(OpenRefusal{file.error()});
    const auto size = file->Size();
    if (!size)
        return std::unexpected(OpenRefusal{size.error()});
    if (const auto refused = RefusalBySize(*size))
        return std::unexpected(*refused);
    const auto interrupted = PutBackInterruptedSave(*file);
    if (!interrupted)
        return std::unexpected(OpenRefusal{make_error_code(RomErrc::interruptedSaveNotUndone)});
    auto image = file->ReadAll();
    if (!image)
        return std::unexpected(OpenRefusal{image.error()});
    const auto contents = ReadRomContents(*image);
    if (!contents)
        return std::unexpected(contents.error());
    // Where this fails (read-only media, another owner) the ROM can still be
    // shown; Save then reports that it cannot write.
    if (makeWritable)
        file->MakeWritable();
    const auto identity = file->Identity();
    if (!identity)
        return std::unexpected(OpenRefusal{identity.error()});
    RomDocument document;
    document.path_ = path;
    document.game_ = contents->game;
    document.values_ = contents->values;
    document.identity_ = *identity;
    document.image_ = std::move(*image);
    document.Found(*interrupted);
    return document;
}

std::expected<RomFile, std::error_code> RomDocument::Reopen() const
{
    const auto changed = std::unexpected(make_error_code(RomErrc::romChanged));
    auto file = RomFile::Open(path_, RomFile::Access::read);
    if (!file)
        return std::unexpected(file.error());
    const auto identity = file->Identity();
    if (!identity)
        return std::unexpected(identity.error());
    if (*identity != identity_)
        return changed;
    const auto same = file->Holds(image_);
    if (!same)
        return std::unexpected(same.error());
    if (!*same)
        return changed;
    return std::move(*file);
}

bool RomDocument::IsThisRom(const fs::path& target) const
{
    return Names(target, identity_);
}

void RomDocument::Found(const InterruptedSaveFound& interrupted)
{
    interruptedSave_.reset();
    if (interrupted.found != InterruptedSave::none)
        interruptedSave_ = InterruptedSaveOutcome(interrupted.found, interrupted.keptAs.string());
}

std::expected<void, SaveFailure> RomDocument::UndoInterruptedSave()
{
    auto file = RomFile::Open(path_, RomFile::Access::read);
    if (!file)
        return std::unexpected(SaveFailure{file.error(), RomLeft::untouched});
    const auto interrupted = PutBackInterruptedSave(*file);
    if (!interrupted)
        return std::unexpected(SaveFailure{make_error_code(RomErrc::interruptedSaveNotUndone), RomLeft::partlyChanged});
    Found(*interrupted);
    return {};
}

void RomDocument::Saved(const StarterSettings& values, const FileIdentity& identity, const SavePlan& plan)
{
    image_ = plan.image;
    values_ = values;
    identity_ = identity;
}

std::expected<RomDocument::Planned, std::error_code> RomDocument::Plan(const StarterSettings& values,
                                                                    SaveOptions options) const
{
    auto file = Reopen();
    if (!file)
        return std::unexpected(file.error());
    auto plan = PlanSave(image_, values, options);
    if (!plan)
        return std::unexpected(plan.error());
    return Planned{std::move(*file), std::move(*plan)};
}

std::expected<SavePlan, SaveFailure> RomDocument::Save(const StarterSettings& values, SaveOptions options)
{
    const SignalsHeld held;
    const auto untouched = [](std::error_code error) { return std::unexpected(SaveFailure{error, RomLeft::untouched}); };
    if (auto undone = UndoInterruptedSave(); !undone)
        return std::unexpected(undone.error());
    auto planned = Plan(values, options);
    if (!planned)
        return untouched(planned.error());
    auto& [file, plan] = *planned;
    if (plan.edits.empty()) {
        values_ = values;
        return std::move(plan);
    }
    const auto replaced = ReplaceFile(file, path_, plan.image);
    if (!replaced)
        return std::unexpected(replaced.error());
    if (*replaced) {
        Saved(values, (*replaced)->identity, plan);
        if ((*replaced)->unsynced)
            return std::unexpected(SaveFailure{(*replaced)->unsynced, RomLeft::unconfirmed});
        return std::move(plan);
    }
    auto writable = file.Reopen(RomFile::Access::readWrite);
    if (!writable)
        return untouched(writable.error());
    if (auto applied = ApplyInPlace(*writable, plan.edits, path_); !applied)
        return std::unexpected(applied.error());
    const auto identity = writable->Identity();
    if (!identity)
        return std::unexpected(SaveFailure{identity.error(), RomLeft::changed});
    Saved(values, *identity, plan);
    return std::move(plan);
}

std::expected<SavePlan, SaveFailure> RomDocument::SaveAs(const StarterSettings& values, SaveOptions options,
                                                         const fs::path& target)
{
    if (IsThisRom(target))
        return Save(values, options);
    const SignalsHeld held;
    auto planned = Plan(values, options);
    if (!planned)
        return std::unexpected(SaveFailure{planned.error()});
    auto& [file, plan] = *planned;
    const auto status = file.Status();
    if (!status)
        return std::unexpected(SaveFailure{status.error()});
    const auto identity = WriteNewFile(target, plan.image, CopyPermissions(status->permissions), identity_,
                                       make_error_code(RomErrc::romChanged));
    if (!identity)
        return std::unexpected(SaveFailure{identity.error()});
    path_ = target;
    Saved(values, *identity, plan);
    return std::move(plan);
}

std::expected<SavePlan, SaveFailure> RomDocument::ExportPatch(const StarterSettings& values, SaveOptions options,
                                                              PatchFormat format, const fs::path& target) const
{
    const auto overRom = make_error_code(RomErrc::patchOverRom);
    if (IsThisRom(target))
        return std::unexpected(SaveFailure{overRom});
    const SignalsHeld held;
    auto planned = Plan(values, options);
    if (!planned)
        return std::unexpected(SaveFailure{planned.error()});
    SavePlan& plan = planned->plan;
    if (plan.edits.empty())
        return std::unexpected(SaveFailure{make_error_code(RomErrc::nothingToExport)});
    const auto patch = MakePatch(format, image_, plan.image, plan.edits);
    if (!patch)
        return std::unexpected(SaveFailure{patch.error()});
    if (const auto written = WriteDerivedFile(*patch, target, overRom); !written)
        return std::unexpected(written.error());
    return std::move(plan);
}

std::expected<void, SaveFailure> RomDocument::WriteDerivedFile(std::span<const std::uint8_t> bytes,
                                                               const fs::path& target, std::error_code overRom) const
{
    if (IsThisRom(target))
        return std::unexpected(SaveFailure{overRom});
    const SignalsHeld held;
    if (const auto written = WriteNewFile(target, bytes, std::nullopt, identity_, overRom); !written)
        return std::unexpected(SaveFailure{written.error()});
    return {};
}
