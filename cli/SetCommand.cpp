#include "SetCommand.h"

#include "Failures.h"
#include "Outcomes.h"
#include "ValueText.h"

#include <algorithm>
#include <iostream>
#include <vector>

namespace {

std::expected<std::vector<ValueByte>, Failure> ChosenValues(const SetRequest& request)
{
    if (!request.defaults && std::ranges::none_of(request.choices, [](const auto& choice) { return choice.has_value(); }))
        return std::unexpected(UsageFailure("set", "give at least one value to change, or --defaults"));
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

std::optional<PatchFormat> PatchFormatOf(Destination destination)
{
    switch (destination) {
    case Destination::bpsPatch: return PatchFormat::bps;
    case Destination::ipsPatch: return PatchFormat::ips;
    default: return std::nullopt;
    }
}

std::expected<SavePlan, SaveFailure> Write(RomDocument& rom, const StarterSettings& values, const SetRequest& request)
{
    if (request.destination == Destination::inPlace)
        return rom.Save(values, request.options);
    if (request.destination == Destination::copy)
        return rom.SaveAs(values, request.options, request.target);
    return rom.ExportPatch(values, request.options, *PatchFormatOf(request.destination), request.target);
}

// A copy replaces another file only when told to; onto the ROM itself it is a Save.
bool ReplacesAnotherFile(const SetRequest& request)
{
    std::error_code error;
    return request.destination == Destination::copy && !request.force && std::filesystem::exists(request.target, error)
           && !std::filesystem::equivalent(request.target, request.rom, error);
}

void Note(const std::filesystem::path& rom, std::string_view note)
{
    std::cerr << "tidewell-cli: " << rom.string() << ": " << note << '\n';
}

} // namespace

int RunSet(const SetRequest& request)
{
    const auto chosen = ChosenValues(request);
    if (!chosen)
        return Report(chosen.error());
    if (ReplacesAnotherFile(request))
        return Report(UsageFailure("", TargetExistsText(request.target.string())));
    auto rom = RomDocument::Open(request.rom);
    if (!rom)
        return Report(OpenFailure(request.rom, rom.error()));
    NoteInterruptedSave(request.rom, *rom);
    const StarterSettings values = WithChanges(rom->Values(), request.defaults, *chosen);
    for (const std::string& warning : PokeBallWarnings(values))
        Note(request.rom, warning);
    const auto written = Write(*rom, values, request);
    // Save looks again, in case another run was stopped since Open.
    if (request.destination == Destination::inPlace)
        NoteInterruptedSave(request.rom, *rom);
    if (!written)
        return Report(WriteFailure(request.rom, request.target.empty() ? request.rom : request.target,
                                   written.error()));
    for (const std::string& note : SaveNotes(*written))
        Note(request.rom, note);
    const auto patch = PatchFormatOf(request.destination);
    // A copy onto the ROM itself is a Save, and the document stays with the ROM.
    const bool nothingWritten = !patch && written->edits.empty() && rom->Path() == request.rom;
    const std::string done =
        nothingWritten ? std::string(NothingToWriteText) : WrittenText((patch ? request.target : rom->Path()).string(), patch);
    if (request.quiet)
        return static_cast<int>(ExitStatus::success);
    std::cout << done << '\n';
    const int status = Printed();
    // A script that finds no line must still learn that the file was written.
    if (status != static_cast<int>(ExitStatus::success))
        Note(request.rom, done);
    return status;
}
