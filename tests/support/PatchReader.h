#pragma once

#include "RomImage.h"

#include <optional>

// Patch appliers written from the file formats alone, to check written patches
// the way an emulator would read them. Each gives nullopt for a malformed patch;
// the BPS one also for any CRC32 that does not match.
std::optional<Bytes> ApplyIps(const Bytes& source, const Bytes& patch);
std::optional<Bytes> ApplyBps(const Bytes& source, const Bytes& patch);
