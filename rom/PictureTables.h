#pragma once

#include "ByteSlice.h"

#include <cstdint>

// Where one family of games keeps its front pictures and their palettes.
struct PictureTables {
    std::int32_t pointers;      // 6 bytes per species, species 1 first
    std::int32_t unownPointers; // 6 bytes per letter, A first
    std::int32_t palettes;      // 8 bytes per species, indexed by the species number itself
    // The bank a pointer's stored bank byte stands for; negative for none.
    int (*bankOf)(std::uint8_t stored);
};

constexpr int GoldSilverPictureBank(std::uint8_t stored)
{
    switch (stored) {
    case 0x13: return 0x1F;
    case 0x14: return 0x20;
    case 0x1F: return 0x2E;
    default: return stored;
    }
}

// Crystal looks the bank up in a table of 24 banks from 0x48.
constexpr int CrystalPictureBank(std::uint8_t stored)
{
    return stored >= 0x12 && stored <= 0x29 ? stored + 0x36 : -1;
}

inline constexpr PictureTables GoldSilverPictures{0x48000, 0x7C000, 0xAD3D, GoldSilverPictureBank};
inline constexpr PictureTables CrystalPictures{0x120000, 0x124000, 0xA8CE, CrystalPictureBank};

static_assert(GoldSilverPictureBank(0x13) == 0x1F && GoldSilverPictureBank(0x14) == 0x20
              && GoldSilverPictureBank(0x1F) == 0x2E && GoldSilverPictureBank(0x1E) == 0x1E);
static_assert(CrystalPictureBank(0x11) < 0 && CrystalPictureBank(0x12) == 0x48 && CrystalPictureBank(0x29) == 0x5F
              && CrystalPictureBank(0x2A) < 0);
// Species 1: Crystal's entry 1D 6D 7D, Gold's 1E 6C 6D.
static_assert(BankedOffset(CrystalPictureBank(0x1D), 0x7D6D) == 0x14FD6D);
static_assert(BankedOffset(GoldSilverPictureBank(0x1E), 0x6D6C) == 0x7AD6C);
