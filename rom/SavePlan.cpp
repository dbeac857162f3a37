#include "SavePlan.h"

#include "CheckData.h"
#include "LabText.h"
#include "RivalTeams.h"
#include "RomContents.h"
#include "RomErrors.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace {

// Where Save may change bytes besides the check data: the value bytes.
std::vector<ByteRange> ValueRegions(const StarterLayout& layout)
{
    std::vector<ByteRange> regions;
    for (const ValueLocation& location : layout)
        for (std::int32_t offset : location.writes)
            regions.push_back({static_cast<std::uint32_t>(offset), 1});
    return regions;
}

void WriteValues(std::span<std::uint8_t> image, const StarterLayout& layout, const StarterSettings& values)
{
    for (const ValueLocation& location : layout)
        for (std::int32_t offset : location.writes)
            image[static_cast<std::size_t>(offset)] = values[location.value];
}

bool InOwnedRegions(const RomEdits& edits, const std::vector<ByteRange>& owned)
{
    return std::ranges::all_of(edits, [&owned](const ByteEdit& edit) {
        return std::ranges::any_of(owned, [&edit](const ByteRange& region) { return region.Contains(edit.offset); });
    });
}

} // namespace

std::expected<SavePlan, std::error_code> PlanSave(std::span<const std::uint8_t> image, const StarterSettings& values,
                                                  SaveOptions options)
{
    const auto contents = ReadRomContents(image);
    if (!contents)
        return std::unexpected(contents.error().error);
    const GameLayout& layout = *contents->game->layout;
    SavePlan plan;
    RomBytes& saved = plan.image;
    saved.assign(image.begin(), image.end());
    WriteValues(saved, layout.starters, values);
    std::vector<ByteRange> owned = ValueRegions(layout.starters);
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
