#include "SetCommand.h"

#include "Failures.h"
#include "ValueText.h"

#include <iostream>
#include <vector>

namespace {

using LeftAlone = std::array<bool, 3>;

std::expected<std::vector<ValueByte>, Failure> ChosenValues(const SetRequest& request)
{
    std::vector<ValueByte> chosen;
    for (std::size_t i = 0; i < StarterRows.size(); ++i) {
        if (!request.choices[i])
            continue;
        const auto parsed = ParseChoice(StarterRows[i], *request.choices[i]);
        if (!parsed)
            return std::unexpected(UsageFailure("--" + std::string(StarterRows[i].key), parsed.error()));
        chosen.insert(chosen.end(), parsed->begin(), parsed->end());
    }
    return chosen;
}

StarterSettings WithChanges(StarterSettings values, bool defaults, const std::vector<ValueByte>& chosen)
{
    if (defaults)
        for (const auto& [value, byte] : DefaultSelection)
            values[value] = byte;
    for (const auto& [value, byte] : chosen)
        values[value] = byte;
    return values;
}

PatchFormat FormatOf(Destination destination)
{
    return destination == Destination::bpsPatch ? PatchFormat::bps : PatchFormat::ips;
}

std::expected<LeftAlone, Failure> Write(OpenedRom& rom, const StarterSettings& values,
                                        const SetRequest& request)
{
    if (request.destination == Destination::inPlace) {
        const auto plan = SaveInPlace(rom, values, request.options);
        if (!plan)
            return std::unexpected(InPlaceFailure(rom.path, plan.error()));
        return plan->labTextLeftAlone;
    }
    if (request.destination == Destination::copy) {
        const auto copy = SaveCopy(rom, values, request.options, request.target);
        if (!copy)
            return std::unexpected(ExportFailure(rom.path, request.target, copy.error()));
        return copy->plan.labTextLeftAlone;
    }
    const auto plan =
        ExportPatch(rom, values, request.options, FormatOf(request.destination), request.target);
    if (!plan)
        return std::unexpected(ExportFailure(rom.path, request.target, plan.error()));
    return plan->labTextLeftAlone;
}

void NoteQuestionsLeftAlone(const std::filesystem::path& rom, const LeftAlone& leftAlone)
{
    for (std::size_t ball = 0; ball < leftAlone.size(); ++ball)
        if (leftAlone[ball])
            std::cerr << "tidewell-cli: " << rom.string() << ": Elm's question for Poké Ball " << ball + 1
                      << " was left as it was.\n";
}

} // namespace

int RunSet(const SetRequest& request)
{
    const auto chosen = ChosenValues(request);
    if (!chosen)
        return Report(chosen.error());
    auto rom = OpenRom(request.rom);
    if (!rom)
        return Report(OpenFailure(request.rom, rom.error()));
    const auto written = Write(*rom, WithChanges(rom->values, request.defaults, *chosen), request);
    if (!written)
        return Report(written.error());
    NoteQuestionsLeftAlone(request.rom, *written);
    return static_cast<int>(ExitStatus::success);
}
