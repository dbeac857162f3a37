#pragma once

#include <cstddef>
#include <optional>
#include <span>

// `size` bytes from `offset`, when the image holds them all.
template <class Byte>
std::optional<std::span<Byte>> Slice(std::span<Byte> rom, std::size_t offset, std::size_t size)
{
    if (offset > rom.size() || size > rom.size() - offset)
        return std::nullopt;
    return rom.subspan(offset, size);
}
