#pragma once

#include <cstdint>
#include <span>
#include <vector>

using RomBytes = std::vector<std::uint8_t>;

// One byte that Save changes: what the file holds there now and what it gets.
struct ByteEdit {
    std::uint32_t offset;
    std::uint8_t before;
    std::uint8_t after;
    bool operator==(const ByteEdit&) const = default;
};

// A run of bytes that Save may change.
struct ByteRange {
    std::uint32_t first;
    std::uint32_t size;

    constexpr bool Contains(std::uint32_t offset) const { return offset >= first && offset - first < size; }
    constexpr bool Overlaps(const ByteRange& other) const
    {
        return first < other.first + other.size && other.first < first + size;
    }
};

// Everything Save changes in a ROM, in ascending offset order, each offset
// once, every edit a real change. Saving in place, a patched copy and a patch
// file are all made from one such list.
using RomEdits = std::vector<ByteEdit>;

// The edits that turn `from` into `to`, two images of the same size.
RomEdits Difference(std::span<const std::uint8_t> from, std::span<const std::uint8_t> to);
