#include "Failures.h"

#include "Outcomes.h"
#include "Platform.h"
#include "RomErrors.h"

#include <algorithm>
#include <cerrno>
#include <iostream>

namespace {

ExitStatus StatusOf(std::error_code error)
{
    if (error == RomErrc::unsupportedGame || error == RomErrc::notRecognised || error == RomErrc::romChanged
        || error == RomErrc::outsideOwnedRegions)
        return ExitStatus::refused;
    if (error == RomErrc::nothingToExport || error == RomErrc::beyondIpsRange || error == RomErrc::patchOverRom
        || error == RomErrc::pictureOverRom)
        return ExitStatus::usage;
    return ExitStatus::inputOutput;
}

// The platform's descriptions have no full stop; the ROM's have. A second line joins the first.
std::string Sentence(std::string text)
{
    const auto lineBreak = text.find('\n');
    if (lineBreak != std::string::npos)
        return Sentence(text.substr(0, lineBreak)) + ' ' + text.substr(lineBreak + 1);
    if (!text.ends_with('.') && !text.ends_with('?') && !text.ends_with("?)"))
        text += '.';
    return text;
}

// The ROM was read a moment ago: what the platform refuses now is mostly the new file.
bool ConcernsTarget(const SaveFailure& failure)
{
    if (failure.left != RomLeft::notWritten && failure.left != RomLeft::untouched)
        return false;
    return failure.error.category() != RomCategory() || failure.error == RomErrc::notRegularFile
        || failure.error == RomErrc::patchOverRom || failure.error == RomErrc::pictureOverRom;
}

} // namespace

Failure UsageFailure(std::string subject, std::string reason)
{
    return {ExitStatus::usage, std::move(subject), Sentence(std::move(reason))};
}

Failure OpenFailure(const std::filesystem::path& rom, const OpenRefusal& refusal)
{
    std::string reason = Sentence(RefusalOutcome(refusal).text);
    if (refusal.error == RomErrc::unsupportedGame)
        reason += '\n' + std::string(SupportedReleasesText);
    return {StatusOf(refusal.error), rom.string(), std::move(reason)};
}

Failure WriteFailure(const std::filesystem::path& rom, const std::filesystem::path& target,
                     const SaveFailure& failure)
{
    return {StatusOf(failure.error), (ConcernsTarget(failure) ? target : rom).string(),
            Sentence(FailureOutcome(failure).text)};
}

int Printed()
{
    if (std::cout.flush())
        return static_cast<int>(ExitStatus::success);
    const std::error_code error(errno != 0 ? errno : EIO, std::generic_category());
    return Report({ExitStatus::inputOutput, "standard output", Sentence(error.message())});
}

int Report(const Failure& failure)
{
    std::cerr << "tidewell-cli: " << (failure.subject.empty() ? "" : failure.subject + ": ") << failure.reason << '\n';
    return static_cast<int>(failure.status);
}

void NoteInterruptedSave(const std::filesystem::path& rom, const RomDocument& document)
{
    if (const auto& note = document.InterruptedSaveNote())
        std::cerr << "tidewell-cli: " << rom.string() << ": " << Sentence(note->text) << '\n';
}

int EndedBySignal(int status)
{
    const auto signal = platform::TakeTerminationSignal();
    return signal ? 128 + *signal : status;
}
