#include "FormFont.h"

#include <QGuiApplication>
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

QFont ApplicationFont()
{
    QFont font = QGuiApplication::font();
    font.setFamilies(FormFont().families());
    font.setStyleHint(QFont::SansSerif);
    return font;
}
