#include "Failures.h"

#include "RomErrors.h"

#include <iostream>

namespace {

ExitStatus StatusOf(std::error_code error)
{
    if (error == RomErrc::unsupportedGame || error == RomErrc::notRecognised || error == RomErrc::romChanged)
        return ExitStatus::refused;
    if (error == RomErrc::nothingToExport || error == RomErrc::beyondIpsRange)
        return ExitStatus::usage;
    return ExitStatus::inputOutput;
}

// The platform's descriptions have no full stop; the ROM's have.
std::string Sentence(std::string text)
{
    if (!text.ends_with('.'))
        text += '.';
    return text;
}

Failure FailureOf(const std::filesystem::path& file, std::error_code error)
{
    return {StatusOf(error), file.string(), Sentence(error.message())};
}

std::string WhatWasLeft(RomLeft left)
{
    if (left == RomLeft::partlyChanged)
        return "The ROM may be partly changed.";
    return "The ROM was left as it was.";
}

} // namespace

Failure UsageFailure(std::string subject, std::string reason)
{
    return {ExitStatus::usage, std::move(subject), Sentence(std::move(reason))};
}

Failure OpenFailure(const std::filesystem::path& rom, const OpenRefusal& refusal)
{
    if (refusal.error != RomErrc::notRecognised)
        return FailureOf(rom, refusal.error);
    return {ExitStatus::refused, rom.string(),
            "This ROM does not keep its starters where " + std::string(refusal.game->name)
                + " does, so Tidewell cannot change them safely."};
}

Failure ExportFailure(const std::filesystem::path& rom, const std::filesystem::path& target,
                      std::error_code error)
{
    // The ROM was read a moment ago; what the platform refuses now is mostly the new file.
    return FailureOf(error.category() == RomCategory() ? rom : target, error);
}

Failure InPlaceFailure(const std::filesystem::path& rom, const SaveFailure& failure)
{
    Failure described = FailureOf(rom, failure.error);
    if (described.status == ExitStatus::inputOutput)
        described.reason += ' ' + WhatWasLeft(failure.left);
    return described;
}

int Report(const Failure& failure)
{
    std::cerr << "tidewell-cli: " << failure.subject << ": " << failure.reason << '\n';
    return static_cast<int>(failure.status);
}
