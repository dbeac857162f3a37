#include "RomDocument.h"

#include "Catalogues.h"
#include "CheckData.h"
#include "FileWriting.h"
#include "HexFunctions.h"
#include "LabText.h"
#include "RivalTeams.h"
#include "RomErrors.h"

#include <algorithm>

namespace fs = std::filesystem;

namespace {

std::expected<StarterSettings, std::error_code> ReadStarters(RomFile& file, const StarterLayout& layout)
{
    StarterSettings values;
    for (StarterValue value : OpenReadOrder) {
        const auto text = ReadHex(file, LocationOf(layout, value).read, 1);
        if (!text)
            return std::unexpected(text.error());
        const auto byte = HexByte(*text);
        if (!byte)
            return std::unexpected(byte.error());
        values[value] = *byte;
    }
    return values;
}

// What a file holds at the given places.
template <typename Places>
std::expected<std::vector<ByteAt>, std::error_code> ReadPlaces(RomFile& file, const Places& places)
{
    std::vector<ByteAt> found;
    for (const ByteAt& place : places) {
        const auto byte = file.ReadByte(place.offset);
        if (!byte)
            return std::unexpected(byte.error());
        found.push_back({place.offset, *byte});
    }
    return found;
}

// Every place Save writes a value, with the value's byte.
std::vector<ByteAt> StarterBytes(const StarterLayout& layout, const StarterSettings& values)
{
    std::vector<ByteAt> bytes;
    for (const ValueLocation& location : layout)
        for (std::int32_t offset : location.writes)
            bytes.push_back({offset, values[location.value]});
    return bytes;
}

std::int32_t HighestCheckedOffset(const GameLayout& layout)
{
    return std::max(HighestWriteOffset(layout.starters),
                    std::ranges::max(StructureOf(layout), {}, &ByteAt::offset).offset);
}

// No Game Boy cartridge holds more; Tidewell keeps the whole ROM in memory.
constexpr std::int64_t largestRom = 8 * 1024 * 1024;

// A file too short to hold every place Tidewell checks is a cut-short dump,
// and one larger than any cartridge no dump at all.
std::expected<bool, std::error_code> KeepsStructure(RomFile& file, const GameLayout& layout)
{
    const auto size = file.Size();
    if (!size)
        return std::unexpected(size.error());
    if (*size <= HighestCheckedOffset(layout) || *size > largestRom)
        return false;
    const auto expected = StructureOf(layout);
    const auto found = ReadPlaces(file, expected);
    if (!found)
        return std::unexpected(found.error());
    return std::ranges::equal(*found, expected, {}, &ByteAt::byte, &ByteAt::byte);
}

// Whether an image holds each place's byte; the image is long enough for all of them.
template <typename Places>
bool Holds(std::span<const std::uint8_t> image, const Places& places)
{
    return std::ranges::all_of(places, [image](const ByteAt& place) {
        return image[static_cast<std::size_t>(place.offset)] == place.byte;
    });
}

// Where Save may change bytes besides the check data: the value bytes.
std::vector<ByteRange> ValueRegions(const StarterLayout& layout)
{
    std::vector<ByteRange> regions;
    for (const ValueLocation& location : layout)
        for (std::int32_t offset : location.writes)
            regions.push_back({static_cast<std::uint32_t>(offset), 1});
    return regions;
}

bool InOwnedRegions(const RomEdits& edits, const std::vector<ByteRange>& owned)
{
    return std::ranges::all_of(edits, [&owned](const ByteEdit& edit) {
        return std::ranges::any_of(owned, [&edit](const ByteRange& region) { return region.Contains(edit.offset); });
    });
}

// Writes every edit through the handle and syncs; on any failure, or when the
// path no longer names the file, puts back the bytes already written.
std::expected<void, SaveFailure> ApplyInPlace(RomFile& file, const RomEdits& edits, const fs::path& path)
{
    std::size_t written = 0;
    std::error_code failure;
    for (; written < edits.size(); ++written) {
        const ByteEdit& edit = edits[written];
        if (auto done = WriteHex(file, static_cast<std::int32_t>(edit.offset), TwoDigitHex(edit.after)); !done) {
            failure = done.error();
            break;
        }
    }
    if (!failure)
        failure = file.SyncToDisk();
    if (const auto identity = file.Identity(); !failure && (!identity || !Names(path, *identity)))
        failure = make_error_code(RomErrc::romChanged);
    if (!failure)
        return {};
    bool restored = true;
    while (written-- > 0) {
        const ByteEdit& edit = edits[written];
        restored = WriteHex(file, static_cast<std::int32_t>(edit.offset), TwoDigitHex(edit.before))
                   && restored;
    }
    restored = !file.SyncToDisk() && restored;
    return std::unexpected(SaveFailure{failure, restored ? RomLeft::restored : RomLeft::partlyChanged});
}

bool Showable(StarterValue value, std::uint8_t byte)
{
    switch (KindOf(value)) {
    case ValueKind::species: return byte < SpeciesCatalogue.size();
    case ValueKind::item: return byte < ItemCatalogue.size();
    case ValueKind::level: return byte <= MaxLevel;
    }
    return false;
}

// A copy is edited further by its owner, and is no program.
fs::perms CopyPermissions(fs::perms source)
{
    return (source & fs::perms::all) | fs::perms::owner_write;
}

} // namespace

std::expected<SavePlan, std::error_code> PlanSave(std::span<const std::uint8_t> image, const GameLayout& layout,
                                                  const StarterSettings& values, SaveOptions options)
{
    RomBytes saved(image.begin(), image.end());
    for (const ByteAt& place : StarterBytes(layout.starters, values))
        saved[static_cast<std::size_t>(place.offset)] = place.byte;
    std::vector<ByteRange> owned = ValueRegions(layout.starters);
    SavePlan plan;
    if (options.labText) {
        const auto questions = RewriteLabTexts(saved, layout, values);
        for (std::size_t ball = 0; ball < questions.size(); ++ball) {
            plan.labTextLeftAlone[ball] = !questions[ball];
            if (questions[ball])
                owned.push_back(*questions[ball]);
        }
    }
    std::vector<ByteRange> rivalSlots;
    if (options.rivalTeams) {
        plan.rivalTeamsLeftAlone = !RewriteRivalTeams(saved, layout, values);
        for (std::int32_t offset : RivalSlotBytes(layout))
            rivalSlots.push_back({static_cast<std::uint32_t>(offset), 1});
        std::ranges::copy(rivalSlots, std::back_inserter(owned));
    }
    const CheckBlocks blocks = PresentCheckBlocks(image, layout.hasBaseBlock);
    RebuildCheckData(saved, blocks);
    std::ranges::copy(CheckDataRegions(image.size(), blocks), std::back_inserter(owned));
    plan.edits = Difference(image, saved);
    if (!InOwnedRegions(plan.edits, owned))
        return std::unexpected(make_error_code(RomErrc::outsideOwnedRegions));
    plan.rivalTeamsFollow = std::ranges::any_of(plan.edits, [&rivalSlots](const ByteEdit& edit) {
        return InOwnedRegions({edit}, rivalSlots);
    });
    return plan;
}

// The opened ROM's file, checked to be the same file holding what Open read
// or Save last wrote, with all of it read.
struct RomDocument::Checked {
    RomFile file;
    RomBytes image;
};

struct RomDocument::Planned {
    Checked checked;
    SavePlan plan;
};

std::expected<RomDocument, OpenRefusal> RomDocument::Open(const fs::path& path, bool makeWritable)
{
    auto file = RomFile::Open(path, RomFile::Access::read);
    if (!file)
        return std::unexpected(OpenRefusal{file.error()});
    const auto code = ReadGameCode(*file);
    if (!code)
        return std::unexpected(OpenRefusal{code.error()});
    const Game* game = IdentifyGame(*code);
    if (game == nullptr)
        return std::unexpected(OpenRefusal{make_error_code(RomErrc::unsupportedGame)});
    const auto structure = KeepsStructure(*file, *game->layout);
    if (!structure)
        return std::unexpected(OpenRefusal{structure.error()});
    if (!*structure)
        return std::unexpected(OpenRefusal{make_error_code(RomErrc::notRecognised), game});

    const StarterLayout& layout = game->layout->starters;
    const auto values = ReadStarters(*file, layout);
    if (!values)
        return std::unexpected(OpenRefusal{values.error()});
    const auto stored = ReadPlaces(*file, StarterBytes(layout, *values));
    if (!stored)
        return std::unexpected(OpenRefusal{stored.error()});
    // Where this fails (read-only media, another owner) the ROM can still be
    // shown; Save then reports that it cannot write.
    if (makeWritable)
        file->MakeWritable();
    const auto identity = file->Identity();
    if (!identity)
        return std::unexpected(OpenRefusal{identity.error()});
    auto image = file->ReadAll();
    if (!image)
        return std::unexpected(OpenRefusal{image.error()});
    RomDocument document;
    document.path_ = path;
    document.game_ = game;
    document.values_ = *values;
    document.identity_ = *identity;
    document.stored_ = *stored;
    document.image_ = std::move(*image);
    return document;
}

bool RomDocument::IsEdited(const ShownValues& shown) const
{
    return std::ranges::any_of(AllStarterValues, [&](StarterValue value) {
        const std::optional<std::uint8_t> byte = shown[IndexOf(value)];
        return byte ? *byte != values_[value] : Showable(value, values_[value]);
    });
}

std::expected<RomDocument::Checked, std::error_code> RomDocument::Reopen() const
{
    const auto changed = std::unexpected(make_error_code(RomErrc::romChanged));
    auto file = RomFile::Open(path_, RomFile::Access::read);
    if (!file)
        return std::unexpected(file.error());
    const auto identity = file->Identity();
    if (!identity)
        return std::unexpected(identity.error());
    const auto size = file->Size();
    if (*identity != identity_ || !size || *size > largestRom)
        return changed;
    auto image = file->ReadAll();
    if (!image)
        return std::unexpected(image.error());
    const GameLayout& layout = *game_->layout;
    if (image->size() <= static_cast<std::size_t>(HighestCheckedOffset(layout)))
        return changed;
    const auto code = std::span(*image).subspan(GameCodeOffset, GameCodeLength);
    if (!std::ranges::equal(code, game_->code) || !Holds(*image, StructureOf(layout)) || !Holds(*image, stored_))
        return changed;
    return Checked{std::move(*file), std::move(*image)};
}

bool RomDocument::IsThisRom(const fs::path& target) const
{
    return Names(target, identity_);
}

void RomDocument::Saved(const StarterSettings& values, const FileIdentity& identity, RomBytes image)
{
    image_ = std::move(image);
    values_ = values;
    identity_ = identity;
    stored_ = StarterBytes(game_->layout->starters, values);
}

std::expected<RomDocument::Planned, std::error_code> RomDocument::Plan(const StarterSettings& values,
                                                                    SaveOptions options) const
{
    auto checked = Reopen();
    if (!checked)
        return std::unexpected(checked.error());
    auto plan = PlanSave(checked->image, *game_->layout, values, options);
    if (!plan)
        return std::unexpected(plan.error());
    return Planned{std::move(*checked), std::move(*plan)};
}

std::expected<SavePlan, SaveFailure> RomDocument::Save(const StarterSettings& values, SaveOptions options)
{
    const SignalsHeld held;
    auto planned = Plan(values, options);
    if (!planned)
        return std::unexpected(SaveFailure{planned.error()});
    auto& [checked, plan] = *planned;
    if (plan.edits.empty()) {
        values_ = values;
        return plan;
    }
    RomBytes saved = Applied(std::move(checked.image), plan.edits);
    const auto replaced = ReplaceFile(checked.file, path_, saved);
    if (!replaced)
        return std::unexpected(SaveFailure{replaced.error()});
    if (*replaced) {
        Saved(values, **replaced, std::move(saved));
        return plan;
    }
    auto writable = checked.file.Reopen(RomFile::Access::readWrite);
    if (!writable)
        return std::unexpected(SaveFailure{writable.error()});
    if (auto applied = ApplyInPlace(*writable, plan.edits, path_); !applied)
        return std::unexpected(applied.error());
    const auto identity = writable->Identity();
    if (!identity)
        return std::unexpected(SaveFailure{identity.error()});
    Saved(values, *identity, std::move(saved));
    return plan;
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
    auto& [checked, plan] = *planned;
    const auto status = checked.file.Status();
    if (!status)
        return std::unexpected(SaveFailure{status.error()});
    RomBytes saved = Applied(std::move(checked.image), plan.edits);
    const auto identity = WriteNewFile(target, saved, CopyPermissions(status->permissions), identity_,
                                       make_error_code(RomErrc::romChanged));
    if (!identity)
        return std::unexpected(SaveFailure{identity.error()});
    path_ = target;
    Saved(values, *identity, std::move(saved));
    return plan;
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
    const auto& [checked, plan] = *planned;
    if (plan.edits.empty())
        return std::unexpected(SaveFailure{make_error_code(RomErrc::nothingToExport)});
    const auto patch = MakePatch(format, checked.image, plan.edits);
    if (!patch)
        return std::unexpected(SaveFailure{patch.error()});
    if (const auto written = WriteDerivedFile(*patch, target, overRom); !written)
        return std::unexpected(written.error());
    return plan;
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
