#include "Banner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

constexpr QSize bannerSize(562, 89);
constexpr int spriteScale = 2;
constexpr int spriteSize = 24 * spriteScale;
constexpr int spriteGap = 4;
constexpr int edgeMargin = 10;

// Johto's starters face the title from the left, Kanto's from the right.
constexpr std::array<const char*, 3> leftSprites{"cyndaquil", "chikorita", "totodile"};
constexpr std::array<const char*, 3> rightSprites{"bulbasaur", "squirtle", "charmander"};

void PaintBackground(QPainter& painter)
{
    QLinearGradient green(0, 0, 0, bannerSize.height());
    green.setColorAt(0.0, QColor(0x9c, 0xdb, 0x6e));
    green.setColorAt(0.55, QColor(0x4c, 0xa8, 0x45));
    green.setColorAt(1.0, QColor(0x1f, 0x6b, 0x2e));
    painter.fillRect(QRect(QPoint(0, 0), bannerSize), green);

    // A light swell along the bottom, for the tide in the name.
    QPainterPath wave;
    wave.moveTo(0, 74);
    for (int x = 0; x < bannerSize.width(); x += 70)
        wave.cubicTo(x + 20, 66, x + 50, 82, x + 70, 74);
    wave.lineTo(bannerSize.width(), bannerSize.height());
    wave.lineTo(0, bannerSize.height());
    wave.closeSubpath();
    painter.fillPath(wave, QColor(255, 255, 255, 40));
}

void PaintTitle(QPainter& painter)
{
    QFont font({"Liberation Sans", "Arial", "DejaVu Sans"}, -1, QFont::Black);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(46);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);

    QPainterPath title;
    title.addText(0, 0, font, "Tidewell");
    const QRectF bounds = title.boundingRect();
    title.translate(bannerSize.width() / 2.0 - bounds.center().x(),
                    bannerSize.height() / 2.0 - bounds.center().y() - 2);

    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(title.translated(2, 3), QColor(0x12, 0x4a, 0x1e, 150));
    painter.setPen(QPen(QColor(0x1b, 0x5e, 0x20), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(title);
    painter.fillPath(title, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void PaintSprite(QPainter& painter, const char* name, int x)
{
    const int y = (bannerSize.height() - spriteSize) / 2 - 2;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x10, 0x40, 0x18, 70));
    painter.drawEllipse(QRectF(x + 6, y + spriteSize - 7, spriteSize - 12, 9));
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QPixmap sprite(QStringLiteral(":/sprites/%1.xpm").arg(QLatin1String(name)));
    painter.drawPixmap(QRect(x, y, spriteSize, spriteSize), sprite);
}

} // namespace

QPixmap PaintBanner(qreal devicePixelRatio)
{
    QPixmap banner(bannerSize * devicePixelRatio);
    banner.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&banner);
    // Pixel art stays crisp when it is enlarged.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    PaintBackground(painter);
    for (int i = 0; i < 3; ++i) {
        PaintSprite(painter, leftSprites[i], edgeMargin + i * (spriteSize + spriteGap));
        PaintSprite(painter, rightSprites[i], bannerSize.width() - edgeMargin - spriteSize
                                                  - (2 - i) * (spriteSize + spriteGap));
    }
    PaintTitle(painter);
    return banner;
}
