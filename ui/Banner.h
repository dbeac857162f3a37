#pragma once

#include "GameLayout.h"
#include "RomDocument.h"

#include <QImage>
#include <QPixmap>

#include <array>
#include <cstdint>
#include <span>

// The 562 × 89 banner across the top of the main window, painted sharp for
// the given device pixel ratio, with its built-in art.
QPixmap PaintBanner(qreal devicePixelRatio);

// The same, as painted when Tidewell was built for the usual ratios, since
// painting its title would hold up the window's first appearance; painted
// now for any other ratio.
QPixmap BlankBanner(qreal devicePixelRatio);

// A ROM's own front pictures of Poké Balls 1 to 3, then of the rival's
// starters 1 to 3, in the normal colours with colour 0 transparent; a null
// image for a species without a picture.
using StarterPictures = std::array<QImage, 6>;
StarterPictures PicturesOf(std::span<const std::uint8_t> rom, const GameLayout& layout, const ShownValues& shown);

// The banner with the ROM's pictures: the balls' at the left end, the rival's
// at the right, one picture pixel to a whole number of device pixels.
QPixmap PaintBanner(qreal devicePixelRatio, const StarterPictures& pictures);
