#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Bounds-checked views into a ROM image, which may hold anything.

// `size` bytes from `offset`, when the image holds them all.
template <class Byte>
std::optional<std::span<Byte>> Slice(std::span<Byte> rom, std::int64_t offset, std::size_t size)
{
    if (offset < 0 || static_cast<std::size_t>(offset) > rom.size() || size > rom.size() - static_cast<std::size_t>(offset))
        return std::nullopt;
    return rom.subspan(static_cast<std::size_t>(offset), size);
}

// The game sees bank k ≥ 1 of the file at addresses 0x4000 to 0x7FFF.
inline constexpr std::size_t BankSize = 0x4000;
inline constexpr unsigned BankedFirst = 0x4000;
inline constexpr unsigned BankedLast = 0x7FFF;

// Where a banked address of `bank` lies in the file; nothing for an address outside the banked range.
constexpr std::optional<std::int64_t> BankedOffset(std::int64_t bank, unsigned address)
{
    if (bank < 1 || address < BankedFirst || address > BankedLast)
        return std::nullopt;
    return bank * std::int64_t{BankSize} + (address - BankedFirst);
}

// The bytes from a banked address to the end of its bank, when the image holds them.
inline std::optional<std::span<const std::uint8_t>> BankedBytes(std::span<const std::uint8_t> rom, std::int64_t bank,
                                                                 unsigned address)
{
    const auto offset = BankedOffset(bank, address);
    return offset ? Slice(rom, *offset, BankedLast + 1 - address) : std::nullopt;
}
