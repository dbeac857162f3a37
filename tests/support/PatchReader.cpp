#include "PatchReader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>

namespace {

struct Malformed {};

void Require(bool condition)
{
    if (!condition)
        throw Malformed{};
}

// Reads the patch front to back up to `end`, refusing to read past it.
class Cursor {
public:
    Cursor(const Bytes& bytes, std::size_t end) : bytes_(bytes), end_(end) {}

    bool AtEnd() const { return at_ == end_; }

    std::span<const std::uint8_t> Take(std::uint64_t count)
    {
        Require(count <= end_ - at_);
        const std::span<const std::uint8_t> taken(bytes_.data() + at_, static_cast<std::size_t>(count));
        at_ += static_cast<std::size_t>(count);
        return taken;
    }

    bool TakeIf(std::string_view text)
    {
        if (end_ - at_ < text.size()
            || !std::equal(text.begin(), text.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(at_)))
            return false;
        at_ += text.size();
        return true;
    }

    std::uint64_t BigEndian(std::size_t width)
    {
        std::uint64_t value = 0;
        for (std::uint8_t byte : Take(width))
            value = value << 8 | byte;
        return value;
    }

    std::uint64_t Number()
    {
        std::uint64_t value = 0;
        for (std::uint64_t shift = 1;; shift <<= 7) {
            Require(shift < (std::uint64_t{1} << 56));
            const std::uint8_t byte = Take(1)[0];
            value += (byte & 0x7Fu) * shift;
            if (byte & 0x80u)
                return value;
            value += shift << 7;
        }
    }

private:
    const Bytes& bytes_;
    std::size_t end_;
    std::size_t at_ = 0;
};

void Put(Bytes& out, std::uint64_t offset, std::span<const std::uint8_t> data)
{
    if (offset + data.size() > out.size())
        out.resize(static_cast<std::size_t>(offset + data.size()));
    std::copy(data.begin(), data.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
}

Bytes IpsApplied(Bytes out, const Bytes& patch)
{
    Cursor in(patch, patch.size());
    Require(in.TakeIf("PATCH"));
    while (!in.TakeIf("EOF")) {
        const std::uint64_t offset = in.BigEndian(3);
        const std::uint64_t length = in.BigEndian(2);
        if (length > 0) {
            Put(out, offset, in.Take(length));
        } else {
            const std::uint64_t count = in.BigEndian(2);
            Put(out, offset, Bytes(static_cast<std::size_t>(count), in.Take(1)[0]));
        }
    }
    Require(in.AtEnd());
    return out;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes)
{
    return static_cast<std::uint32_t>(crc32_z(0, bytes.data(), bytes.size()));
}

std::uint32_t LittleEndian32(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16
                                      | std::uint32_t{bytes[at + 3]} << 24);
}

// Moves a SourceCopy or TargetCopy cursor by the signed distance that follows.
void Move(std::uint64_t& position, Cursor& in)
{
    const std::uint64_t number = in.Number();
    const std::uint64_t distance = number >> 1;
    if (number & 1) {
        Require(distance <= position);
        position -= distance;
    } else {
        position += distance;
    }
}

// The target as the actions write it, with the cursors of the two copy actions.
class BpsTarget {
public:
    BpsTarget(const Bytes& source, std::uint64_t size) : source_(source), size_(size) {}

    void Follow(Cursor& in)
    {
        const std::uint64_t action = in.Number();
        const std::uint64_t length = (action >> 2) + 1;
        Require(length <= size_ - out_.size());
        switch (action & 3) {
        case 0: return CopySource(out_.size(), length);
        case 1: return Append(in.Take(length));
        case 2:
            Move(sourceAt_, in);
            CopySource(sourceAt_, length);
            sourceAt_ += length;
            return;
        case 3: Move(targetAt_, in); return CopyTarget(length);
        }
    }

    Bytes Finished()
    {
        Require(out_.size() == size_);
        return std::move(out_);
    }

private:
    void Append(std::span<const std::uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }

    void CopySource(std::uint64_t from, std::uint64_t length)
    {
        Require(from <= source_.size() && length <= source_.size() - from);
        Append(std::span(source_).subspan(static_cast<std::size_t>(from), static_cast<std::size_t>(length)));
    }

    // The copy may overlap what it writes, so it goes one byte at a time.
    void CopyTarget(std::uint64_t length)
    {
        for (std::uint64_t k = 0; k < length; ++k) {
            Require(targetAt_ < out_.size());
            out_.push_back(out_[static_cast<std::size_t>(targetAt_++)]);
        }
    }

    const Bytes& source_;
    std::uint64_t size_;
    Bytes out_;
    std::uint64_t sourceAt_ = 0;
    std::uint64_t targetAt_ = 0;
};

Bytes BpsApplied(const Bytes& source, const Bytes& patch)
{
    constexpr std::size_t crcBytes = 12;
    Require(patch.size() >= crcBytes);
    Cursor in(patch, patch.size() - crcBytes);
    Require(in.TakeIf("BPS1"));
    Require(in.Number() == source.size());
    BpsTarget target(source, in.Number());
    in.Take(in.Number());
    while (!in.AtEnd())
        target.Follow(in);
    const Bytes out = target.Finished();
    const std::size_t crcs = patch.size() - crcBytes;
    Require(LittleEndian32(patch, crcs) == Crc32(source));
    Require(LittleEndian32(patch, crcs + 4) == Crc32(out));
    Require(LittleEndian32(patch, crcs + 8) == Crc32(std::span(patch).first(crcs + 8)));
    return out;
}

} // namespace

std::optional<Bytes> ApplyIps(const Bytes& source, const Bytes& patch)
{
    try {
        return IpsApplied(source, patch);
    } catch (const Malformed&) {
        return std::nullopt;
    }
}

std::optional<Bytes> ApplyBps(const Bytes& source, const Bytes& patch)
{
    try {
        return BpsApplied(source, patch);
    } catch (const Malformed&) {
        return std::nullopt;
    }
}
