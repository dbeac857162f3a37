#pragma once

#include "RomEdits.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <span>
#include <system_error>

enum class PatchFormat { bps, ips };

// The format a patch file's own ending names (".bps", ".ips", in any case), else `otherwise`.
PatchFormat PatchFormatNamed(const std::filesystem::path& name, PatchFormat otherwise);

// A patch that turns `source` into `source` with the edits made. IPS cannot
// reach past 16 MiB (RomErrc::beyondIpsRange).
std::expected<RomBytes, std::error_code> MakePatch(PatchFormat format,
                                                   std::span<const std::uint8_t> source,
                                                   const RomEdits& edits);
