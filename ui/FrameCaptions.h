#pragma once

#include <QProxyStyle>

// Draws a frame's caption in blue while the frame is enabled, in the
// application's own style otherwise. A style sheet would do the same, but it
// would also keep the window's font from reaching the controls inside.
class FrameCaptionStyle : public QProxyStyle {
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override;
};
