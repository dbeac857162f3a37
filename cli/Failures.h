#pragma once

#include "RomSession.h"

#include <filesystem>
#include <string>
#include <system_error>

enum class ExitStatus {
    success = 0,
    usage = 1,
    refused = 2, // unsupported, not recognised, changed since it was opened
    inputOutput = 3,
};

// What went wrong, with the file or option it concerns.
struct Failure {
    ExitStatus status;
    std::string subject;
    std::string reason;
};

Failure UsageFailure(std::string subject, std::string reason);
Failure OpenFailure(const std::filesystem::path& rom, const OpenRefusal& refusal);
// A failed copy or patch: `target` is named for the failures that concern it.
Failure ExportFailure(const std::filesystem::path& rom, const std::filesystem::path& target,
                      std::error_code error);
Failure InPlaceFailure(const std::filesystem::path& rom, const SaveFailure& failure);

// Prints the failure as one line on standard error; the result is the exit status.
int Report(const Failure& failure);
