#include "ReferenceCheckData.h"

#include <cstddef>

namespace {

constexpr std::size_t romSize = 0x200000;
constexpr std::size_t checksumAt = 0x14E;
constexpr std::size_t baseAt = 0x1FFDE0;
constexpr std::size_t stadiumAt = 0x1FFDF8;

void PutWord(Bytes& rom, std::size_t at, std::uint16_t value)
{
    rom[at] = static_cast<std::uint8_t>(value >> 8);
    rom[at + 1] = static_cast<std::uint8_t>(value);
}

void PutSignatureAndZeros(Bytes& rom, std::size_t at, std::size_t size, const Bytes& signature)
{
    for (std::size_t i = 0; i < size; ++i)
        rom[at + i] = i < signature.size() ? signature[i] : 0;
}

void RebuildBase(Bytes& rom)
{
    PutSignatureAndZeros(rom, baseAt, 24, {'b', 'a', 's', 'e', 0x01, 0x00});
    std::array<std::uint8_t, 16> bits{};
    for (std::size_t bank = 0; bank < 128; ++bank) {
        const auto bytes = std::span(rom).subspan(bank * 0x4000, 0x4000);
        if (ReferenceCrc(bytes, 0xFEFE) == referenceCrystalBankCrcs[bank])
            bits[bank / 8] |= static_cast<std::uint8_t>(1 << (bank % 8));
    }
    for (std::size_t i = 0; i < 16; ++i)
        rom[baseAt + 8 + i] = bits[i];
    PutWord(rom, baseAt + 6, ReferenceCrc(std::span(rom).subspan(baseAt, 24), 0xACDE));
}

void RebuildStadium(Bytes& rom)
{
    PutSignatureAndZeros(rom, stadiumAt, 520, {'N', '6', '4', 'P', 'S', '3'});
    for (std::size_t half = 0; half < 256; ++half) {
        std::uint16_t sum = 0xFEFE;
        for (std::size_t i = half * 0x2000; i < (half + 1) * 0x2000; ++i)
            sum = static_cast<std::uint16_t>(sum + rom[i]);
        PutWord(rom, stadiumAt + 8 + 2 * half, sum);
    }
    PutWord(rom, stadiumAt + 6, ReferenceCrc(std::span(rom).subspan(stadiumAt + 8, 512), 0xFEFE));
}

} // namespace

const std::array<std::uint16_t, 128> referenceCrystalBankCrcs{
    0x9650, 0x8039, 0x2D8F, 0xD75A, 0xAC50, 0x5D55, 0xE94B, 0x9886, 0x2A46, 0xB5AC, 0xC3D3, 0x79C4, 0xCE55, 0xA95E, 0xEF78, 0x9B50,
    0x82BA, 0x8716, 0x5895, 0xAD33, 0x4EF0, 0xE434, 0xC521, 0xBFB1, 0xB352, 0xA497, 0xCA84, 0xD3F5, 0x3C79, 0xB61A, 0xAE1B, 0xF314,
    0x00B3, 0x7C0A, 0x1018, 0x7F6B, 0x1CFF, 0x15AF, 0x4078, 0xE473, 0x081C, 0x4B9D, 0x2FFC, 0xD9D0, 0x2CBA, 0xCD8C, 0x004C, 0x773C,
    0xF040, 0x3585, 0xF924, 0x6FD5, 0xC5E4, 0xD918, 0x1228, 0x1C86, 0x21C0, 0x77F3, 0x6206, 0x0110, 0x152F, 0x0F74, 0xCEDF, 0xBBFE,
    0xE382, 0x5C15, 0xFD4D, 0x954C, 0xD2D9, 0xCA2F, 0x14B1, 0x9D2F, 0x172C, 0xEA0C, 0x4EAD, 0x604B, 0x0659, 0xF4C5, 0x4168, 0xD151,
    0x58C7, 0x99BF, 0x77D3, 0xCDEC, 0x61B5, 0x1A48, 0xD614, 0x7FB0, 0x91D5, 0x812A, 0x812A, 0x82B2, 0xDCE2, 0x9067, 0x6DB3, 0x3DC7,
    0xDCB8, 0xA1CE, 0x9C21, 0x4A23, 0xB50F, 0x63E6, 0xE78A, 0x9238, 0x644D, 0x1BD6, 0xB5B6, 0x1AB9, 0x9D07, 0xC849, 0x6992, 0x10CA,
    0x4453, 0xA3A1, 0x5A18, 0xAFE0, 0x7F2B, 0xFC38, 0xFC38, 0xBA98, 0x5AEB, 0xFC38, 0xFC38, 0xFC38, 0xFC38, 0xEFAD, 0x6D83, 0xFC38,
};

std::uint16_t ReferenceCrc(std::span<const std::uint8_t> bytes, std::uint16_t start)
{
    std::uint16_t crc = start;
    for (std::uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc >> 1) ^ ((crc & 1) != 0 ? 0xC387 : 0));
    }
    return crc;
}

Bytes WithReferenceCheckData(Bytes rom, bool stadium, bool base)
{
    if (rom.size() < checksumAt + 2)
        return rom;
    PutWord(rom, checksumAt, 0);
    if (rom.size() == romSize && base)
        RebuildBase(rom);
    if (rom.size() == romSize && stadium)
        RebuildStadium(rom);
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < rom.size(); ++i)
        if (i != checksumAt && i != checksumAt + 1)
            sum = static_cast<std::uint16_t>(sum + rom[i]);
    PutWord(rom, checksumAt, sum);
    return rom;
}

void ForceBankCrc(std::span<std::uint8_t> bank, std::uint16_t crc)
{
    const std::uint16_t head = ReferenceCrc(bank.first(bank.size() - 2), 0xFEFE);
    const auto tail = bank.last(2);
    for (unsigned value = 0; value < 0x10000; ++value) {
        tail[0] = static_cast<std::uint8_t>(value >> 8);
        tail[1] = static_cast<std::uint8_t>(value);
        if (ReferenceCrc(tail, head) == crc)
            return;
    }
}
