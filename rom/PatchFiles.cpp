#include "PatchFiles.h"

#include "RomErrors.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <utility>

namespace {

constexpr std::size_t ipsReach = 0x1000000;
constexpr std::size_t ipsLongestRecord = 0xFFFF;
// A record starting here would read as the "EOF" marker.
constexpr std::size_t ipsMarkerOffset = 0x454F46;

constexpr std::array<std::uint32_t, 256> crc32Table = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < table.size(); ++i) {
        std::uint32_t remainder = i;
        for (int bit = 0; bit < 8; ++bit)
            remainder = (remainder >> 1) ^ ((remainder & 1) ? 0xEDB88320u : 0);
        table[i] = remainder;
    }
    return table;
}();

// The CRC-32 of zlib and every patcher.
constexpr std::uint32_t Crc32Of(std::span<const std::uint8_t> bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::uint8_t byte : bytes)
        crc = (crc >> 8) ^ crc32Table[(crc ^ byte) & 0xFF];
    return ~crc;
}

constexpr std::array<std::uint8_t, 9> checkInput{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
static_assert(Crc32Of(checkInput) == 0xCBF43926u);

enum class BpsAction : std::uint64_t { sourceRead = 0, targetRead = 1 };

// Changed offsets [begin, end), all consecutive.
struct ChangedRun {
    std::size_t begin;
    std::size_t end;
};

std::vector<ChangedRun> ChangedRuns(const RomEdits& edits)
{
    std::vector<ChangedRun> runs;
    for (const ByteEdit& edit : edits) {
        if (!runs.empty() && runs.back().end == edit.offset)
            ++runs.back().end;
        else
            runs.push_back({edit.offset, edit.offset + std::size_t{1}});
    }
    return runs;
}

void AppendText(RomBytes& patch, std::string_view text)
{
    patch.insert(patch.end(), text.begin(), text.end());
}

void AppendSlice(RomBytes& patch, std::span<const std::uint8_t> bytes, std::size_t begin, std::size_t end)
{
    patch.insert(patch.end(), bytes.begin() + static_cast<std::ptrdiff_t>(begin),
                 bytes.begin() + static_cast<std::ptrdiff_t>(end));
}

void AppendBigEndian(RomBytes& patch, std::size_t value, int width)
{
    for (int shift = 8 * (width - 1); shift >= 0; shift -= 8)
        patch.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendIpsRecords(RomBytes& patch, std::span<const std::uint8_t> target, ChangedRun run)
{
    for (std::size_t start = run.begin; start < run.end;) {
        // Rewriting the byte before with its own value keeps the record off the marker.
        if (start == ipsMarkerOffset)
            --start;
        const std::size_t length = std::min(run.end - start, ipsLongestRecord);
        AppendBigEndian(patch, start, 3);
        AppendBigEndian(patch, length, 2);
        AppendSlice(patch, target, start, start + length);
        start += length;
    }
}

std::expected<RomBytes, std::error_code> IpsPatch(std::span<const std::uint8_t> target, const RomEdits& edits)
{
    if (!edits.empty() && edits.back().offset >= ipsReach)
        return std::unexpected(make_error_code(RomErrc::beyondIpsRange));
    RomBytes patch;
    AppendText(patch, "PATCH");
    for (const ChangedRun& run : ChangedRuns(edits))
        AppendIpsRecords(patch, target, run);
    AppendText(patch, "EOF");
    return patch;
}

void AppendBpsNumber(RomBytes& patch, std::uint64_t n)
{
    while (true) {
        const auto low = static_cast<std::uint8_t>(n & 0x7F);
        n >>= 7;
        if (n == 0) {
            patch.push_back(0x80 | low);
            return;
        }
        patch.push_back(low);
        --n;
    }
}

void AppendBpsAction(RomBytes& patch, BpsAction kind, std::size_t length)
{
    AppendBpsNumber(patch, ((std::uint64_t{length} - 1) << 2) | static_cast<std::uint64_t>(kind));
}

void AppendCrc32(RomBytes& patch, std::span<const std::uint8_t> bytes)
{
    const std::uint32_t crc = Crc32Of(bytes);
    for (int shift = 0; shift < 32; shift += 8)
        patch.push_back(static_cast<std::uint8_t>(crc >> shift));
}

RomBytes BpsPatch(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                  const RomEdits& edits)
{
    RomBytes patch;
    AppendText(patch, "BPS1");
    AppendBpsNumber(patch, source.size());
    AppendBpsNumber(patch, target.size());
    AppendBpsNumber(patch, 0);
    std::size_t written = 0;
    for (const ChangedRun& run : ChangedRuns(edits)) {
        if (run.begin > written)
            AppendBpsAction(patch, BpsAction::sourceRead, run.begin - written);
        AppendBpsAction(patch, BpsAction::targetRead, run.end - run.begin);
        AppendSlice(patch, target, run.begin, run.end);
        written = run.end;
    }
    if (target.size() > written)
        AppendBpsAction(patch, BpsAction::sourceRead, target.size() - written);
    AppendCrc32(patch, source);
    AppendCrc32(patch, target);
    AppendCrc32(patch, patch);
    return patch;
}

} // namespace

std::expected<RomBytes, std::error_code> MakePatch(PatchFormat format, std::span<const std::uint8_t> source,
                                                   std::span<const std::uint8_t> target, const RomEdits& edits)
{
    switch (format) {
    case PatchFormat::ips: return IpsPatch(target, edits);
    case PatchFormat::bps: return BpsPatch(source, target, edits);
    }
    std::unreachable();
}

PatchFormat PatchFormatNamed(std::string_view fileName, PatchFormat otherwise)
{
    const auto dot = fileName.find_last_of("./");
    std::string ending(dot == std::string_view::npos || fileName[dot] == '/' ? std::string_view{} : fileName.substr(dot));
    std::ranges::transform(ending, ending.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ending == ".ips")
        return PatchFormat::ips;
    if (ending == ".bps")
        return PatchFormat::bps;
    return otherwise;
}
