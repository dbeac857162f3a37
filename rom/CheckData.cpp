#include "CheckData.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::size_t bankSize = 0x4000;
constexpr std::size_t halfBankSize = 0x2000;
constexpr std::size_t globalChecksumField = 0x14E;
constexpr std::size_t headerEnd = 0x150;

constexpr std::array<std::uint8_t, 6> stadiumSignature{'N', '6', '4', 'P', 'S', '3'};
constexpr std::array<std::uint8_t, 6> baseSignature{'b', 'a', 's', 'e', 0x01, 0x00};

// Each block: signature, big-endian CRC, then what the CRC protects.
constexpr std::size_t crcField = 6;
constexpr std::size_t blockBody = 8;
constexpr std::size_t halfBankCount = CheckedRomSize / halfBankSize;
constexpr std::size_t stadiumBlockSize = blockBody + 2 * halfBankCount;
constexpr std::size_t stadiumBlock = CheckedRomSize - stadiumBlockSize;
constexpr std::size_t baseBlockSize = blockBody + 16;
constexpr std::size_t baseBlock = stadiumBlock - baseBlockSize;
static_assert(stadiumBlock == 0x1FFDF8 && baseBlock == 0x1FFDE0);
// Both blocks lie in the last bank, the checksum field in the first.
static_assert(baseBlock / bankSize == (CheckedRomSize - 1) / bankSize && globalChecksumField + 2 <= bankSize);

constexpr std::uint16_t bankCrcStart = 0xFEFE;
constexpr std::uint16_t baseCrcStart = 0xACDE;
constexpr std::uint16_t stadiumCrcStart = 0xFEFE;
constexpr std::uint16_t halfBankSumStart = 0xFEFE;

// Banks 0x00 to 0x7F of the unmodified English Crystal, CRC from bankCrcStart.
constexpr std::array<std::uint16_t, 128> unmodifiedCrystalBankCrcs{
    0x9650, 0x8039, 0x2D8F, 0xD75A, 0xAC50, 0x5D55, 0xE94B, 0x9886,
    0x2A46, 0xB5AC, 0xC3D3, 0x79C4, 0xCE55, 0xA95E, 0xEF78, 0x9B50,
    0x82BA, 0x8716, 0x5895, 0xAD33, 0x4EF0, 0xE434, 0xC521, 0xBFB1,
    0xB352, 0xA497, 0xCA84, 0xD3F5, 0x3C79, 0xB61A, 0xAE1B, 0xF314,
    0x00B3, 0x7C0A, 0x1018, 0x7F6B, 0x1CFF, 0x15AF, 0x4078, 0xE473,
    0x081C, 0x4B9D, 0x2FFC, 0xD9D0, 0x2CBA, 0xCD8C, 0x004C, 0x773C,
    0xF040, 0x3585, 0xF924, 0x6FD5, 0xC5E4, 0xD918, 0x1228, 0x1C86,
    0x21C0, 0x77F3, 0x6206, 0x0110, 0x152F, 0x0F74, 0xCEDF, 0xBBFE,
    0xE382, 0x5C15, 0xFD4D, 0x954C, 0xD2D9, 0xCA2F, 0x14B1, 0x9D2F,
    0x172C, 0xEA0C, 0x4EAD, 0x604B, 0x0659, 0xF4C5, 0x4168, 0xD151,
    0x58C7, 0x99BF, 0x77D3, 0xCDEC, 0x61B5, 0x1A48, 0xD614, 0x7FB0,
    0x91D5, 0x812A, 0x812A, 0x82B2, 0xDCE2, 0x9067, 0x6DB3, 0x3DC7,
    0xDCB8, 0xA1CE, 0x9C21, 0x4A23, 0xB50F, 0x63E6, 0xE78A, 0x9238,
    0x644D, 0x1BD6, 0xB5B6, 0x1AB9, 0x9D07, 0xC849, 0x6992, 0x10CA,
    0x4453, 0xA3A1, 0x5A18, 0xAFE0, 0x7F2B, 0xFC38, 0xFC38, 0xBA98,
    0x5AEB, 0xFC38, 0xFC38, 0xFC38, 0xFC38, 0xEFAD, 0x6D83, 0xFC38,
};
static_assert(unmodifiedCrystalBankCrcs.size() * bankSize == CheckedRomSize);
static_assert(unmodifiedCrystalBankCrcs.size() == 8 * (baseBlockSize - blockBody));

using CrcTable = std::array<std::uint16_t, 256>;

// The CRC of byte i from a zero start: reflected, polynomial 0xC387.
constexpr CrcTable MakeCrcTable()
{
    CrcTable table{};
    for (unsigned i = 0; i < table.size(); ++i) {
        unsigned rem = 0;
        unsigned c = i;
        for (int step = 0; step < 8; ++step) {
            rem = (rem >> 1) ^ (((rem ^ c) & 1) != 0 ? 0xC387u : 0u);
            c >>= 1;
        }
        table[i] = static_cast<std::uint16_t>(rem);
    }
    return table;
}

// Sixteen bytes a step, because a rebuild runs the CRC over the whole ROM:
// tables[k][i] is the CRC of byte i followed by k zero bytes.
constexpr std::array<CrcTable, 16> MakeCrcTables()
{
    std::array<CrcTable, 16> tables{MakeCrcTable()};
    for (std::size_t k = 1; k < tables.size(); ++k)
        for (std::size_t i = 0; i < 256; ++i)
            tables[k][i] = static_cast<std::uint16_t>((tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF]);
    return tables;
}

constexpr auto crcTables = MakeCrcTables();

constexpr std::uint16_t Crc(std::span<const std::uint8_t> bytes, std::uint16_t start)
{
    const auto& t = crcTables;
    std::uint16_t crc = start;
    for (; bytes.size() >= 16; bytes = bytes.subspan(16)) {
        const auto& b = bytes;
        crc = static_cast<std::uint16_t>(t[15][(crc ^ b[0]) & 0xFF] ^ t[14][(crc >> 8) ^ b[1]] ^ t[13][b[2]]
                                         ^ t[12][b[3]] ^ t[11][b[4]] ^ t[10][b[5]] ^ t[9][b[6]] ^ t[8][b[7]]
                                         ^ t[7][b[8]] ^ t[6][b[9]] ^ t[5][b[10]] ^ t[4][b[11]] ^ t[3][b[12]]
                                         ^ t[2][b[13]] ^ t[1][b[14]] ^ t[0][b[15]]);
    }
    for (std::uint8_t byte : bytes)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ t[0][(crc ^ byte) & 0xFF]);
    return crc;
}

constexpr std::array<std::uint8_t, 9> crcCheckInput{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
static_assert(Crc(crcCheckInput, 0xFEFE) == 0x6E3B);
static_assert(Crc(crcCheckInput, 0xACDE) == 0xC0F6);
static_assert(Crc(std::array<std::uint8_t, bankSize>{}, bankCrcStart) == 0xFC38);

// A block at a time, in a form the compiler turns into vector additions:
// several times faster than summing byte by byte.
std::uint16_t Sum16(std::span<const std::uint8_t> bytes, std::uint16_t start)
{
    constexpr std::size_t block = 256;
    std::uint32_t sum = start;
    for (; bytes.size() >= block; bytes = bytes.subspan(block)) {
        std::uint32_t blockSum = 0;
        for (std::size_t i = 0; i < block; ++i)
            blockSum += bytes[i];
        sum += blockSum;
    }
    for (std::uint8_t byte : bytes)
        sum += byte;
    return static_cast<std::uint16_t>(sum);
}

void PutBigEndian(std::span<std::uint8_t> at, std::uint16_t value)
{
    at[0] = static_cast<std::uint8_t>(value >> 8);
    at[1] = static_cast<std::uint8_t>(value & 0xFF);
}

bool SignatureAt(std::span<const std::uint8_t> rom, std::size_t offset, std::span<const std::uint8_t> signature)
{
    return std::ranges::equal(rom.subspan(offset, signature.size()), signature);
}

// Leaves the block as its signature followed by zeros.
std::span<std::uint8_t> ClearedBlock(std::span<std::uint8_t> rom, std::size_t offset, std::size_t size,
                                     std::span<const std::uint8_t> signature)
{
    const auto block = rom.subspan(offset, size);
    std::ranges::fill(block, 0);
    std::ranges::copy(signature, block.begin());
    return block;
}

// The bank CRCs see the signature and a zero CRC and bits, never the bits of
// an earlier rebuild.
void RebuildBaseBlock(std::span<std::uint8_t> rom)
{
    const auto block = ClearedBlock(rom, baseBlock, baseBlockSize, baseSignature);
    std::array<std::uint8_t, baseBlockSize - blockBody> bits{};
    for (std::size_t bank = 0; bank < unmodifiedCrystalBankCrcs.size(); ++bank)
        if (Crc(rom.subspan(bank * bankSize, bankSize), bankCrcStart) == unmodifiedCrystalBankCrcs[bank])
            bits[bank / 8] |= static_cast<std::uint8_t>(1u << (bank % 8));
    std::ranges::copy(bits, block.begin() + blockBody);
    PutBigEndian(block.subspan(crcField), Crc(block, baseCrcStart));
}

// Sums are written one by one, so the last half-bank's sum sees the others.
void RebuildStadiumBlock(std::span<std::uint8_t> rom)
{
    const auto block = ClearedBlock(rom, stadiumBlock, stadiumBlockSize, stadiumSignature);
    const auto sums = block.subspan(blockBody);
    for (std::size_t half = 0; half < halfBankCount; ++half)
        PutBigEndian(sums.subspan(2 * half), Sum16(rom.subspan(half * halfBankSize, halfBankSize), halfBankSumStart));
    PutBigEndian(block.subspan(crcField), Crc(sums, stadiumCrcStart));
}

// Every byte but the checksum's own, which is zero meanwhile. The stadium
// block's sums already cover every half-bank but the last, which holds the
// block itself: one pass over the ROM fewer.
std::uint16_t GlobalChecksum(std::span<const std::uint8_t> rom, bool withStadiumSums)
{
    if (!withStadiumSums)
        return Sum16(rom, 0);
    const auto sums = rom.subspan(stadiumBlock + blockBody, 2 * halfBankCount);
    std::uint32_t sum = Sum16(rom.last(halfBankSize), 0);
    for (std::size_t half = 0; half + 1 < halfBankCount; ++half)
        sum += static_cast<std::uint32_t>((sums[2 * half] << 8 | sums[2 * half + 1]) - halfBankSumStart);
    return static_cast<std::uint16_t>(sum);
}

} // namespace

CheckBlocks PresentCheckBlocks(std::span<const std::uint8_t> rom, bool crystal)
{
    const bool checkedSize = rom.size() == CheckedRomSize;
    return {
        .stadium = checkedSize && SignatureAt(rom, stadiumBlock, stadiumSignature),
        .base = crystal && checkedSize && SignatureAt(rom, baseBlock, baseSignature),
    };
}

void RebuildCheckData(std::span<std::uint8_t> rom, CheckBlocks blocks)
{
    if (rom.size() < headerEnd)
        return;
    const auto checksum = rom.subspan(globalChecksumField, 2);
    PutBigEndian(checksum, 0);
    // The blocks' offsets and half-bank count only mean something in a 2 MiB ROM.
    const bool checkedSize = rom.size() == CheckedRomSize;
    if (checkedSize && blocks.base)
        RebuildBaseBlock(rom);
    if (checkedSize && blocks.stadium)
        RebuildStadiumBlock(rom);
    PutBigEndian(checksum, GlobalChecksum(rom, checkedSize && blocks.stadium));
}

std::uint16_t StadiumCrc(std::span<const std::uint8_t> bytes, std::uint16_t start)
{
    return Crc(bytes, start);
}

std::vector<ByteRange> CheckDataRegions(std::size_t romSize, CheckBlocks blocks)
{
    std::vector<ByteRange> regions;
    if (romSize >= headerEnd)
        regions.push_back({globalChecksumField, 2});
    if (blocks.base)
        regions.push_back({baseBlock, baseBlockSize});
    if (blocks.stadium)
        regions.push_back({stadiumBlock, stadiumBlockSize});
    return regions;
}
