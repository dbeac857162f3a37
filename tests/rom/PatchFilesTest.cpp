#include "PatchFiles.h"
#include "PatchReader.h"
#include "RomErrors.h"
#include "RomImage.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace {

constexpr std::uint32_t ipsMarkerOffset = 0x454F46;

struct Range {
    std::uint32_t begin;
    std::uint32_t end;
};

// Edits that invert every byte in the given ascending ranges.
RomEdits Inverted(const Bytes& source, std::initializer_list<Range> ranges)
{
    RomEdits edits;
    for (const Range& range : ranges)
        for (std::uint32_t at = range.begin; at < range.end; ++at)
            edits.push_back({at, source[at], static_cast<std::uint8_t>(~source[at])});
    return edits;
}

Bytes Applied(Bytes image, const RomEdits& edits)
{
    for (const ByteEdit& edit : edits)
        image.at(edit.offset) = edit.after;
    return image;
}

Bytes Patch(PatchFormat format, const Bytes& source, const RomEdits& edits)
{
    return MakePatch(format, source, Applied(source, edits), edits).value();
}

std::optional<Bytes> Apply(PatchFormat format, const Bytes& source, const Bytes& patch)
{
    return format == PatchFormat::ips ? ApplyIps(source, patch) : ApplyBps(source, patch);
}

Bytes Join(std::initializer_list<std::span<const std::uint8_t>> parts)
{
    Bytes joined;
    for (auto part : parts)
        joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

Bytes Text(std::string_view text)
{
    return Bytes(text.begin(), text.end());
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes)
{
    return static_cast<std::uint32_t>(crc32(0, bytes.data(), static_cast<uInt>(bytes.size())));
}

Bytes LittleEndian(std::uint32_t value)
{
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

// `body` followed by the three CRC32s that end a BPS patch.
Bytes WithBpsCrcs(Bytes body, const Bytes& source, const Bytes& target)
{
    body = Join({body, LittleEndian(Crc32(source)), LittleEndian(Crc32(target))});
    return Join({body, LittleEndian(Crc32(body))});
}

struct EditCase {
    const char* name;
    std::size_t size;
    std::initializer_list<Range> ranges;
};

TEST(MakePatch, AppliedPatchGivesTheEditedSource)
{
    const EditCase cases[] = {
        {"scattered", 0x8000, {{0x134, 0x135}, {0x150, 0x153}, {0x4000, 0x4001}, {0x7000, 0x7010}}},
        {"run longer than two records", 0x30000, {{0x100, 0x100 + 2 * 0xFFFF + 3}}},
        {"first and last byte", 0x8000, {{0, 1}, {0x7FFF, 0x8000}}},
        {"every byte", 0x100, {{0, 0x100}}},
        {"no edits", 0x100, {}},
    };
    for (const EditCase& c : cases) {
        const Bytes source = MakeRom("AAUE", c.size);
        const RomEdits edits = Inverted(source, c.ranges);
        for (PatchFormat format : {PatchFormat::ips, PatchFormat::bps}) {
            SCOPED_TRACE(testing::Message() << c.name << (format == PatchFormat::ips ? " (IPS)" : " (BPS)"));
            EXPECT_EQ(Apply(format, source, Patch(format, source, edits)), Applied(source, edits));
        }
    }
}

TEST(MakePatch, WritesOneRecordOrTargetReadPerRunOfChangedBytes)
{
    const Bytes source = MakeRom("", 200);
    const RomEdits edits = {{2, source[2], 0xA1}, {3, source[3], 0xA2}, {9, source[9], 0xA3}};
    EXPECT_EQ(Patch(PatchFormat::ips, source, edits),
              Join({Text("PATCH"), Bytes{0, 0, 2, 0, 2, 0xA1, 0xA2}, Bytes{0, 0, 9, 0, 1, 0xA3}, Text("EOF")}));

    const Bytes bps = Patch(PatchFormat::bps, source, edits);
    // Sizes 200, 200, 0; SourceRead 2, TargetRead 2, SourceRead 5, TargetRead 1, SourceRead 190.
    const Bytes actions = {0x48, 0x80, 0x48, 0x80, 0x80, 0x84, 0x85, 0xA1, 0xA2, 0x90, 0x81, 0xA3, 0x74, 0x84};
    EXPECT_EQ(bps, WithBpsCrcs(Join({Text("BPS1"), actions}), source, Applied(source, edits)));
}

TEST(MakePatch, BpsEndsWithTheCrcsOfSourceTargetAndPatch)
{
    const Bytes source = MakeRom("BYTE", 0x8000);
    const RomEdits edits = Inverted(source, {{0x134, 0x138}, {0x5000, 0x5001}});
    const Bytes patch = Patch(PatchFormat::bps, source, edits);
    ASSERT_GT(patch.size(), 12u);
    const auto crcs = std::span(patch).last(12);
    EXPECT_EQ(Bytes(crcs.begin(), crcs.begin() + 4), LittleEndian(Crc32(source)));
    EXPECT_EQ(Bytes(crcs.begin() + 4, crcs.begin() + 8), LittleEndian(Crc32(Applied(source, edits))));
    EXPECT_EQ(Bytes(crcs.begin() + 8, crcs.end()), LittleEndian(Crc32(std::span(patch).first(patch.size() - 4))));
}

TEST(MakePatch, NoIpsRecordStartsWhereItWouldReadAsTheEndMarker)
{
    const Bytes source = MakeRom("", ipsMarkerOffset + 0x100);
    const RomEdits single = Inverted(source, {{ipsMarkerOffset, ipsMarkerOffset + 1}});
    const Bytes record = {0x45, 0x4F, 0x45, 0x00, 0x02, source[ipsMarkerOffset - 1], single[0].after};
    EXPECT_EQ(Patch(PatchFormat::ips, source, single), Join({Text("PATCH"), record, Text("EOF")}));

    // A long run whose second record would begin at the marker.
    const RomEdits split = Inverted(source, {{ipsMarkerOffset - 0xFFFF, ipsMarkerOffset + 2}});
    EXPECT_EQ(ApplyIps(source, Patch(PatchFormat::ips, source, split)), Applied(source, split));
}

TEST(MakePatch, IpsReachesTheLastByteOfSixteenMebibytesAndNoFurther)
{
    const Bytes source = MakeRom("", 0x1000001);
    const RomEdits last = Inverted(source, {{0xFFFFFF, 0x1000000}});
    EXPECT_EQ(ApplyIps(source, Patch(PatchFormat::ips, source, last)), Applied(source, last));

    const RomEdits beyond = Inverted(source, {{0x100, 0x101}, {0x1000000, 0x1000001}});
    const auto refused = MakePatch(PatchFormat::ips, source, Applied(source, beyond), beyond);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error(), RomErrc::beyondIpsRange);
    EXPECT_EQ(ApplyBps(source, Patch(PatchFormat::bps, source, beyond)), Applied(source, beyond));
}

// The reader checks every patch above, so it must follow what the writer never emits and
// refuse what is wrong.
TEST(PatchReader, FollowsEveryBpsActionAndRefusesAnyCrcMismatch)
{
    const Bytes source = Text("ABCDEFGH");
    const Bytes target = Text("ABxyEFGFGFGA");
    // Sizes 8, 12, 0; SourceRead 2; TargetRead "xy"; SourceCopy 3 from +4; TargetCopy 4 from +5
    // (overlapping its own output); SourceCopy 1 from -7.
    const Bytes actions = {0x88, 0x8C, 0x80, 0x84, 0x85, 'x', 'y', 0x8A, 0x88, 0x8F, 0x8A, 0x82, 0x8F};
    const Bytes patch = WithBpsCrcs(Join({Text("BPS1"), actions}), source, target);
    EXPECT_EQ(ApplyBps(source, patch), target);

    for (std::size_t at = patch.size() - 12; at < patch.size(); ++at) {
        Bytes corrupt = patch;
        corrupt[at] ^= 0x01;
        EXPECT_EQ(ApplyBps(source, corrupt), std::nullopt) << "byte " << at;
    }
    EXPECT_EQ(ApplyBps(Text("ABCDEFGX"), patch), std::nullopt);
    EXPECT_EQ(ApplyBps(source, Bytes(patch.begin() + 1, patch.end())), std::nullopt);
}

TEST(PatchReader, FollowsIpsRunRecordsAndWantsTheEndMarkerLast)
{
    const Bytes source = Text("ABCDEFGH");
    const Bytes records = {0, 0, 1, 0, 0, 0, 3, 'z', 0, 0, 6, 0, 1, 'q'};
    EXPECT_EQ(ApplyIps(source, Join({Text("PATCH"), records, Text("EOF")})), Text("AzzzEFqH"));
    EXPECT_EQ(ApplyIps(source, Join({Text("PATCH"), records})), std::nullopt);
    EXPECT_EQ(ApplyIps(source, Join({Text("PATCH"), Text("EOF"), records, Text("EOF")})), std::nullopt);
}

} // namespace
