#pragma once

#include "GameLayout.h"
#include "StarterSettings.h"

#include <QImage>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

// The 562 × 89 banner across the top of the main window, painted sharp for
// the given device pixel ratio, with its built-in art.
QPixmap PaintBanner(qreal devicePixelRatio);

// A ROM's own front pictures of Poké Balls 1 to 3, then of the rival's
// starters 1 to 3, in the normal colours with colour 0 transparent; a null
// image for a species without a picture.
using StarterPictures = std::array<QImage, 6>;
StarterPictures PicturesOf(std::span<const std::uint8_t> rom, const GameLayout& layout,
                           const StarterSettings& values);

// The banner with the ROM's pictures: the balls' at the left end, the rival's
// at the right, one picture pixel to a whole number of device pixels.
QPixmap PaintBanner(qreal devicePixelRatio, const StarterPictures& pictures);

// The main window's banner: the built-in art until a ROM is loaded, then that
// ROM's pictures of the species shown.
class StarterBanner {
public:
    // A ROM that cannot be read brings back the built-in art.
    void Load(const std::filesystem::path& rom, const GameLayout& layout);
    QPixmap Paint(qreal devicePixelRatio, const StarterSettings& shown) const;

private:
    std::vector<std::uint8_t> image;
    const GameLayout* layout = nullptr;
};
