#include "Outcomes.h"

#include "RomErrors.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::string_view changedSinceOpen =
    "The ROM file has changed since it was opened. Open it again before saving.";

// Refused before anything was written: the reason says it all.
constexpr std::array refusals{RomErrc::unsupportedGame, RomErrc::notRecognised,     RomErrc::romChanged,
                              RomErrc::patchOverRom,    RomErrc::pictureOverRom,    RomErrc::outsideOwnedRegions,
                              RomErrc::beyondIpsRange};

bool IsRefusal(std::error_code error)
{
    return std::ranges::any_of(refusals, [error](RomErrc refusal) { return error == refusal; });
}

std::string WithNotes(std::string text, const SavePlan& plan)
{
    for (const std::string& note : SaveNotes(plan))
        text += '\n' + note;
    return text;
}

std::string_view RomLeftLine(RomLeft left)
{
    switch (left) {
    case RomLeft::untouched:
    case RomLeft::restored: return "The ROM was left as it was.";
    case RomLeft::partlyChanged: return "The ROM may be partly changed. Open it again to see what it holds.";
    case RomLeft::unconfirmed:
        return "The ROM holds the new starters, but the system could not confirm that they reached the disk.";
    case RomLeft::notWritten:
    case RomLeft::changed: break;
    }
    return {};
}

// What went wrong, and what became of the ROM.
Outcome WhatFailed(const SaveFailure& failure)
{
    const bool beforeWriting = failure.left == RomLeft::notWritten || failure.left == RomLeft::untouched;
    if (failure.error == RomErrc::romChanged && beforeWriting)
        return {OutcomeKind::refusal, std::string(changedSinceOpen), failure.left, failure.error};
    if (IsRefusal(failure.error) && beforeWriting)
        return {OutcomeKind::refusal, failure.error.message(), failure.left, failure.error};
    if (failure.error == RomErrc::nothingToExport)
        return {OutcomeKind::note, failure.error.message(), failure.left, failure.error};
    std::string text = failure.error.message();
    if (const std::string_view line = RomLeftLine(failure.left); !line.empty())
        text += '\n' + std::string(line);
    return {OutcomeKind::failure, text, failure.left, failure.error};
}

} // namespace

Outcome RefusalOutcome(const OpenRefusal& refusal)
{
    if (refusal.error == RomErrc::notRecognised && refusal.game != nullptr)
        return {OutcomeKind::refusal,
                "This ROM does not keep its starters where " + std::string(refusal.game->name)
                    + " does, so Tidewell cannot change them safely.",
                RomLeft::notWritten, refusal.error};
    const auto kind = IsRefusal(refusal.error) ? OutcomeKind::refusal : OutcomeKind::failure;
    return {kind, refusal.error.message(), RomLeft::notWritten, refusal.error};
}

Outcome FailureOutcome(const SaveFailure& failure)
{
    Outcome outcome = WhatFailed(failure);
    if (!failure.leftAlone.empty())
        outcome.text += "\nTidewell did not remove " + failure.leftAlone + ": it may now hold one of your files.";
    return outcome;
}

std::vector<std::string> SaveNotes(const SavePlan& plan)
{
    std::vector<std::string> notes;
    for (std::size_t ball = 0; ball < plan.labTextLeftAlone.size(); ++ball)
        if (plan.labTextLeftAlone[ball])
            notes.push_back("Elm's question for Poké Ball " + std::to_string(ball + 1) + " was left as it was.");
    if (plan.rivalTeamsLeftAlone)
        notes.push_back("The rival's later teams were left as they were.");
    return notes;
}

Outcome SavedOutcome(const SavePlan& plan)
{
    std::string text = "Starter Pokémon changed successfully!";
    if (plan.rivalTeamsFollow)
        text += "\nThe rival's later teams now follow the starters he was given.";
    return {OutcomeKind::done, WithNotes(text, plan), RomLeft::changed, {}};
}

Outcome InterruptedSaveOutcome(InterruptedSave found, std::string_view keptAs)
{
    switch (found) {
    case InterruptedSave::putBack:
        return {OutcomeKind::note,
                "Tidewell was stopped while saving this ROM; it has been put back as it was before that save.",
                RomLeft::restored, {}};
    case InterruptedSave::recordKept:
        return {OutcomeKind::warning,
                "A record of an unfinished save names this ROM but does not match it, so it was not used. It is kept as "
                    + std::string(keptAs) + ".",
                RomLeft::notWritten, {}};
    case InterruptedSave::none: break;
    }
    return {OutcomeKind::done, {}, RomLeft::notWritten, {}};
}

Outcome PatchWrittenOutcome(std::string_view fileName, const SavePlan& plan)
{
    return {OutcomeKind::done, WithNotes("The patch was written to " + std::string(fileName) + ".", plan),
            RomLeft::notWritten, {}};
}

std::string TargetExistsText(std::string_view fileName)
{
    return std::string(fileName) + " already exists; add --force to replace it.";
}

std::string PictureWrittenText(std::string_view species, std::string_view fileName)
{
    return "Wrote the picture of " + std::string(species) + " to " + std::string(fileName) + ".";
}

std::string SaveChangesQuestion(std::string_view fileName)
{
    return "Save the changes to the starters of " + std::string(fileName) + "?";
}

std::string WrittenText(std::string_view fileName, std::optional<PatchFormat> patch)
{
    if (!patch)
        return "Wrote the starters to " + std::string(fileName) + ".";
    return std::string(*patch == PatchFormat::bps ? "Wrote a BPS patch to " : "Wrote an IPS patch to ")
           + std::string(fileName) + ".";
}

std::vector<std::string> PokeBallWarnings(const StarterSettings& values)
{
    using enum StarterValue;
    constexpr std::array balls{poke1, poke2, poke3};
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < balls.size(); ++i) {
        const std::uint8_t species = values[balls[i]];
        const std::string ball = "Poké Ball " + std::to_string(i + 1);
        if (species == Unown)
            warnings.push_back(ball + " holds Unown. Elm's lab cannot show its picture: the game will show "
                                      "garbage there and may freeze.");
        else if (species == 0 || species > LastSpecies)
            warnings.push_back(ball + " holds species " + std::to_string(species)
                               + ", which is no Pokémon. Elm's lab will show nothing or garbage there, and the "
                                 "player will get a broken Pokémon.");
    }
    return warnings;
}
