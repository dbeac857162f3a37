#pragma once

#include <QPixmap>

// The 562 × 89 banner across the top of the main window, painted sharp for
// the given device pixel ratio.
QPixmap PaintBanner(qreal devicePixelRatio);
