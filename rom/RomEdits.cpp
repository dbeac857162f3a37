#include "RomEdits.h"

#include <algorithm>
#include <cstring>

RomEdits Difference(std::span<const std::uint8_t> from, std::span<const std::uint8_t> to)
{
    // Saves change a few hundred bytes of megabytes: skip equal blocks at memcmp's speed.
    constexpr std::size_t block = 256;
    const std::size_t size = std::min(from.size(), to.size());
    RomEdits edits;
    for (std::size_t start = 0; start < size; start += block) {
        const std::size_t end = std::min(start + block, size);
        if (std::memcmp(from.data() + start, to.data() + start, end - start) == 0)
            continue;
        for (std::size_t i = start; i < end; ++i)
            if (from[i] != to[i])
                edits.push_back({static_cast<std::uint32_t>(i), from[i], to[i]});
    }
    return edits;
}
