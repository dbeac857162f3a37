#include "FormFont.h"

#include <QStringList>

QFont FormFont()
{
    QFont font;
    font.setFamilies({"@Arial Unicode MS", "Arial Unicode MS", "Arial", "Liberation Sans"});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}
