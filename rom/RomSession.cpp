#include "RomSession.h"

#include "CheckData.h"
#include "HexFunctions.h"
#include "LabText.h"
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

std::expected<bool, std::error_code> KeepsStructure(RomFile& file, const GameLayout& layout)
{
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

std::int32_t HighestCheckedOffset(const GameLayout& layout)
{
    return std::max(HighestWriteOffset(layout.starters),
                    std::ranges::max(StructureOf(layout), {}, &ByteAt::offset).offset);
}

// The opened ROM's file, checked to be the same file holding what Open read
// or Save last wrote, with all of it read.
struct CheckedRom {
    RomFile file;
    RomBytes image;
};

std::expected<CheckedRom, std::error_code> ReopenUnchanged(const OpenedRom& rom, RomFile::Access access)
{
    const auto changed = std::unexpected(make_error_code(RomErrc::romChanged));
    auto file = RomFile::Open(rom.path, access);
    if (!file)
        return std::unexpected(file.error());
    const auto identity = file->Identity();
    if (!identity)
        return std::unexpected(identity.error());
    if (*identity != rom.identity)
        return changed;
    auto image = file->ReadAll();
    if (!image)
        return std::unexpected(image.error());
    const GameLayout& layout = *rom.game->layout;
    if (image->size() <= static_cast<std::size_t>(HighestCheckedOffset(layout)))
        return changed;
    const auto code = std::span(*image).subspan(GameCodeOffset, GameCodeLength);
    if (!std::ranges::equal(code, rom.game->code) || !Holds(*image, StructureOf(layout))
        || !Holds(*image, rom.stored))
        return changed;
    return CheckedRom{std::move(*file), std::move(*image)};
}

// Writes every edit through the handle and syncs; on any failure puts back the
// bytes already written.
std::expected<void, SaveFailure> ApplyInPlace(RomFile& file, const RomEdits& edits)
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

} // namespace

std::expected<OpenedRom, OpenRefusal> OpenRom(const fs::path& path)
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
    const auto identity = file->Identity();
    if (!identity)
        return std::unexpected(OpenRefusal{identity.error()});
    return OpenedRom{path, game, *values, *identity, *stored};
}

SavePlan PlanSave(std::span<const std::uint8_t> image, const GameLayout& layout,
                  const StarterSettings& values, SaveOptions options)
{
    RomBytes saved(image.begin(), image.end());
    for (const ByteAt& place : StarterBytes(layout.starters, values))
        saved[static_cast<std::size_t>(place.offset)] = place.byte;
    SavePlan plan;
    if (options.labText)
        plan.labTextLeftAlone = RewriteLabTexts(saved, layout, values);
    RebuildCheckData(saved, PresentCheckBlocks(image, layout.hasBaseBlock));
    plan.edits = Difference(image, saved);
    return plan;
}

std::expected<SavePlan, SaveFailure> SaveInPlace(OpenedRom& rom, const StarterSettings& values,
                                                 SaveOptions options)
{
    auto checked = ReopenUnchanged(rom, RomFile::Access::readWrite);
    if (!checked)
        return std::unexpected(SaveFailure{checked.error()});
    SavePlan plan = PlanSave(checked->image, *rom.game->layout, values, options);
    if (auto applied = ApplyInPlace(checked->file, plan.edits); !applied)
        return std::unexpected(applied.error());
    rom.values = values;
    rom.stored = StarterBytes(rom.game->layout->starters, values);
    return plan;
}

namespace {

// What a new file made from the opened ROM starts from: the checked image,
// the ROM's permission bits, and the edits Save would make.
struct Planned {
    RomBytes image;
    fs::perms permissions;
    SavePlan plan;
};

std::expected<Planned, std::error_code> PlanFromUnchanged(const OpenedRom& rom, const StarterSettings& values,
                                                          SaveOptions options)
{
    auto checked = ReopenUnchanged(rom, RomFile::Access::read);
    if (!checked)
        return std::unexpected(checked.error());
    const auto permissions = checked->file.Permissions();
    if (!permissions)
        return std::unexpected(permissions.error());
    SavePlan plan = PlanSave(checked->image, *rom.game->layout, values, options);
    return Planned{std::move(checked->image), *permissions, std::move(plan)};
}

} // namespace

std::expected<SavedCopy, std::error_code> SaveCopy(const OpenedRom& rom, const StarterSettings& values,
                                                   SaveOptions options, const fs::path& target)
{
    auto planned = PlanFromUnchanged(rom, values, options);
    if (!planned)
        return std::unexpected(planned.error());
    const auto identity =
        WriteFileAtomically(target, Applied(std::move(planned->image), planned->plan.edits), planned->permissions);
    if (!identity)
        return std::unexpected(identity.error());
    OpenedRom copy{target, rom.game, values, *identity, StarterBytes(rom.game->layout->starters, values)};
    return SavedCopy{std::move(copy), std::move(planned->plan)};
}

std::expected<SavePlan, std::error_code> ExportPatch(const OpenedRom& rom, const StarterSettings& values,
                                                     SaveOptions options, PatchFormat format,
                                                     const fs::path& target)
{
    auto planned = PlanFromUnchanged(rom, values, options);
    if (!planned)
        return std::unexpected(planned.error());
    if (planned->plan.edits.empty())
        return std::unexpected(make_error_code(RomErrc::nothingToExport));
    const auto patch = MakePatch(format, planned->image, planned->plan.edits);
    if (!patch)
        return std::unexpected(patch.error());
    if (const auto written = WriteFileAtomically(target, *patch, planned->permissions); !written)
        return std::unexpected(written.error());
    return std::move(planned->plan);
}
