#include "RomEdits.h"

RomEdits Difference(std::span<const std::uint8_t> from, std::span<const std::uint8_t> to)
{
    RomEdits edits;
    for (std::size_t i = 0; i < from.size() && i < to.size(); ++i)
        if (from[i] != to[i])
            edits.push_back({static_cast<std::uint32_t>(i), from[i], to[i]});
    return edits;
}

RomBytes Applied(RomBytes image, const RomEdits& edits)
{
    for (const ByteEdit& edit : edits)
        image.at(edit.offset) = edit.after;
    return image;
}
