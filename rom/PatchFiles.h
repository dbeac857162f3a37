#pragma once

#include "RomEdits.h"

#include <cstdint>
#include <expected>
#include <string_view>
#include <span>
#include <system_error>

enum class PatchFormat { bps, ips };

// The format a patch file's own ending names (".bps", ".ips", in any case), else `otherwise`.
PatchFormat PatchFormatNamed(std::string_view fileName, PatchFormat otherwise);

// A patch that turns `source` into `target`, which differ by `edits`. IPS
// cannot reach past 16 MiB (RomErrc::beyondIpsRange).
std::expected<RomBytes, std::error_code> MakePatch(PatchFormat format, std::span<const std::uint8_t> source,
                                                   std::span<const std::uint8_t> target, const RomEdits& edits);
