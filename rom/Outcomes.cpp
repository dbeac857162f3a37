#include "Outcomes.h"

#include "RomErrors.h"

#include <array>

namespace {

std::string WithNotes(std::string text, const SavePlan& plan)
{
    for (const std::string& note : SaveNotes(plan))
        text += '\n' + note;
    return text;
}

} // namespace

std::string RefusalText(const OpenRefusal& refusal)
{
    if (refusal.error == RomErrc::notRecognised && refusal.game != nullptr)
        return "This ROM does not keep its starters where " + std::string(refusal.game->name)
               + " does, so Tidewell cannot change them safely.";
    return refusal.error.message();
}

std::string FailureText(const SaveFailure& failure)
{
    switch (failure.left) {
    case RomLeft::untouched:
        break;
    case RomLeft::restored:
        return failure.error.message() + "\nThe ROM was left as it was.";
    case RomLeft::partlyChanged:
        return failure.error.message() + "\nThe ROM may be partly changed. Open it again to see what it holds.";
    }
    return failure.error.message();
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

std::string SavedText(const SavePlan& plan)
{
    std::string text = "Starter Pokémon changed successfully!";
    if (plan.rivalTeamsFollow)
        text += "\nThe rival's later teams now follow the starters he was given.";
    return WithNotes(text, plan);
}

std::string PatchWrittenText(std::string_view fileName, const SavePlan& plan)
{
    return WithNotes("The patch was written to " + std::string(fileName) + ".", plan);
}

std::string WrittenText(std::string_view fileName, std::optional<PatchFormat> patch)
{
    if (!patch)
        return "Wrote the starters to " + std::string(fileName) + ".";
    return std::string(*patch == PatchFormat::bps ? "Wrote a BPS patch to " : "Wrote an IPS patch to ")
           + std::string(fileName) + ".";
}

std::vector<std::string> UnownWarnings(const StarterSettings& values)
{
    using enum StarterValue;
    constexpr std::array balls{poke1, poke2, poke3};
    std::vector<std::string> warnings;
    for (std::size_t i = 0; i < balls.size(); ++i)
        if (values[balls[i]] == Unown)
            warnings.push_back("Poké Ball " + std::to_string(i + 1)
                               + " holds Unown. Elm's lab cannot show its picture: the game will show "
                                 "garbage there and may freeze.");
    return warnings;
}
