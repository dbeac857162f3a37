#include "FrameCaptions.h"

#include <QStyleOptionGroupBox>

void FrameCaptionStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                           QPainter* painter, const QWidget* widget) const
{
    const auto* frame = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (!frame || !(frame->state & State_Enabled)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    // Some styles take the caption's colour from the option, others from the palette.
    QStyleOptionGroupBox blue = *frame;
    blue.textColor = QColor(0, 0, 255);
    blue.palette.setColor(QPalette::WindowText, blue.textColor);
    QProxyStyle::drawComplexControl(control, &blue, painter, widget);
}
