#pragma once

#include <system_error>

// Failures that have no number of their own on the platform. The numbers sit
// well above every errno value so that a number in a message box always names
// one kind of failure.
enum class RomErrc {
    readPastEnd = 1001,
    writePastEnd = 1002,
    badHexPair = 1003,
    offsetOutOfRange = 1004,
    romChanged = 1005,
    notRegularFile = 1006,
    // Refusals that the front ends word themselves; they never show the number.
    unsupportedGame = 1007,
    notRecognised = 1008,
    beyondIpsRange = 1009,
    nothingToExport = 1010,
    patchOverRom = 1011,
    outsideOwnedRegions = 1012,
    pictureOverRom = 1013,
    interruptedSaveNotUndone = 1014,
    temporaryTaken = 1015,
};

const std::error_category& RomCategory() noexcept;
std::error_code make_error_code(RomErrc e) noexcept;

template <>
struct std::is_error_code_enum<RomErrc> : std::true_type {};
