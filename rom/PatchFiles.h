#pragma once

#include "RomEdits.h"

#include <cstdint>
#include <expected>
#include <span>
#include <system_error>

enum class PatchFormat { bps, ips };

// A patch that turns `source` into `source` with the edits made. IPS cannot
// reach past 16 MiB (RomErrc::beyondIpsRange).
std::expected<RomBytes, std::error_code> MakePatch(PatchFormat format,
                                                   std::span<const std::uint8_t> source,
                                                   const RomEdits& edits);
