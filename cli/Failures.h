#pragma once

#include "RomDocument.h"

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
// A failed write from the ROM to `target` (the ROM itself for a Save): the
// platform's failures concern the target, the ROM's own the ROM.
Failure WriteFailure(const std::filesystem::path& rom, const std::filesystem::path& target,
                     const SaveFailure& failure);
// The exit status once everything is printed: a failure when standard output
// could not take it (a full disk, a closed pipe).
int Printed();

// Says on standard error what Open or Save found of an earlier save in place
// that did not finish, if anything.
void NoteInterruptedSave(const std::filesystem::path& rom, const RomDocument& document);

// The exit status, or, when a termination signal came while the tool worked
// (and waited until it was done), 128 + the signal's number.
int EndedBySignal(int status);

// Prints the failure on standard error, on one line unless its reason has a
// second (the subject is left out when empty); the result is the exit status.
int Report(const Failure& failure);
