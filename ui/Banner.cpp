#include "Banner.h"

#include "FrontPicture.h"

// Built in, like the program's icon (see Artwork.cpp).
#include "sprites/bulbasaur.xpm"
#include "sprites/charmander.xpm"
#include "sprites/chikorita.xpm"
#include "sprites/cyndaquil.xpm"
#include "sprites/squirtle.xpm"
#include "sprites/totodile.xpm"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QResource>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr QSize bannerSize(562, 89);
constexpr int spriteScale = 2;
constexpr int spriteSize = 24 * spriteScale;
constexpr int spriteGap = 4;
constexpr int edgeMargin = 10;
constexpr int pictureBox = 56; // the game's 7 × 7 tiles
constexpr int pictureGap = 2;
constexpr int pictureMargin = 8;
constexpr int titlePadding = 6;

// Johto's starters face the title from the left, Kanto's from the right.
using Xpm = const char* const*;
constexpr std::array<Xpm, 3> leftSprites{cyndaquil_xpm, chikorita_xpm, totodile_xpm};
constexpr std::array<Xpm, 3> rightSprites{bulbasaur_xpm, squirtle_xpm, charmander_xpm};

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

// Centred, and made smaller where it would not fit between `left` and `right`.
void PaintTitle(QPainter& painter, qreal left, qreal right)
{
    QFont font({"Liberation Sans", "Arial", "DejaVu Sans"}, -1, QFont::Black);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(46);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);

    QPainterPath title;
    title.addText(0, 0, font, "Tidewell");
    const qreal room = right - left - 2 * titlePadding;
    if (title.boundingRect().width() > room) {
        const qreal scale = room / title.boundingRect().width();
        title = QTransform::fromScale(scale, scale).map(title);
    }
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

void PaintShadow(QPainter& painter, const QRectF& sprite)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x10, 0x40, 0x18, 70));
    painter.drawEllipse(QRectF(sprite.x() + 6, sprite.bottom() - 7, sprite.width() - 12, 9));
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void PaintSprite(QPainter& painter, Xpm sprite, int x)
{
    const int y = (bannerSize.height() - spriteSize) / 2 - 2;
    PaintShadow(painter, QRectF(x, y, spriteSize, spriteSize));
    painter.drawPixmap(QRect(x, y, spriteSize, spriteSize), QPixmap(sprite));
}

QImage ImageOf(const FrontPicture& picture, const Palette& palette)
{
    QImage image(picture.width, picture.height, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t index = picture.indices[y * picture.width + x];
            image.setPixel(x, y, index == 0 ? qRgba(0, 0, 0, 0)
                                            : qRgb(palette[index].red, palette[index].green, palette[index].blue));
        }
    return image;
}

// Where the game's 7 × 7 box holds a smaller picture: at the bottom, 8 pixels from the left.
QPointF PlaceInBox(const QImage& picture, qreal pixel)
{
    return {std::min(pictureMargin, pictureBox - picture.width()) * pixel, (pictureBox - picture.height()) * pixel};
}

void PaintPicture(QPainter& painter, const QImage& picture, const QRectF& box, qreal devicePixelRatio)
{
    PaintShadow(painter, box);
    if (picture.isNull()) {
        painter.setPen(QPen(QColor(255, 255, 255, 120), 1, Qt::DashLine));
        painter.setBrush(QColor(255, 255, 255, 50));
        painter.drawRoundedRect(box.adjusted(4, 4, -4, -4), 6, 6);
        return;
    }
    const int scale = std::max(1, static_cast<int>(std::floor(devicePixelRatio)));
    QImage enlarged = picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    enlarged.setDevicePixelRatio(devicePixelRatio);
    painter.drawImage(box.topLeft() + PlaceInBox(picture, scale / devicePixelRatio), enlarged);
}

QPixmap EmptyBanner(qreal devicePixelRatio)
{
    QPixmap banner(bannerSize * devicePixelRatio);
    banner.setDevicePixelRatio(devicePixelRatio);
    return banner;
}

} // namespace

QPixmap PaintBanner(qreal devicePixelRatio)
{
    QPixmap banner = EmptyBanner(devicePixelRatio);
    QPainter painter(&banner);
    // Pixel art stays crisp when it is enlarged.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    PaintBackground(painter);
    for (int i = 0; i < 3; ++i) {
        PaintSprite(painter, leftSprites[i], edgeMargin + i * (spriteSize + spriteGap));
        PaintSprite(painter, rightSprites[i], bannerSize.width() - edgeMargin - spriteSize
                                                  - (2 - i) * (spriteSize + spriteGap));
    }
    const int besideSprites = edgeMargin + 3 * spriteSize + 2 * spriteGap;
    PaintTitle(painter, besideSprites, bannerSize.width() - besideSprites);
    return banner;
}

QPixmap BlankBanner(qreal devicePixelRatio)
{
    const QResource built(QStringLiteral(":/banner-%1x.rgb").arg(devicePixelRatio));
    const QByteArray bytes = built.uncompressedData();
    const QSize size = bannerSize * devicePixelRatio;
    QImage image(reinterpret_cast<const uchar*>(bytes.constData()), size.width(), size.height(),
                 QImage::Format_RGB888);
    if (bytes.size() != image.sizeInBytes())
        return PaintBanner(devicePixelRatio);
    image.setDevicePixelRatio(devicePixelRatio);
    return QPixmap::fromImage(image);
}

StarterPictures PicturesOf(std::span<const std::uint8_t> rom, const GameLayout& layout, const ShownValues& shown)
{
    using enum StarterValue;
    constexpr std::array order{poke1, poke2, poke3, rival1, rival2, rival3};
    StarterPictures pictures;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::uint8_t species = shown[IndexOf(order[i])].value_or(0);
        const auto picture = FrontPictureOf(rom, layout, species);
        const auto palettes = PalettesOf(rom, layout, species);
        if (picture && palettes)
            pictures[i] = ImageOf(*picture, palettes->normal);
    }
    return pictures;
}

QPixmap PaintBanner(qreal devicePixelRatio, const StarterPictures& pictures)
{
    QPixmap banner = EmptyBanner(devicePixelRatio);
    QPainter painter(&banner);
    PaintBackground(painter);
    const qreal box = pictureBox * std::max(1.0, std::floor(devicePixelRatio)) / devicePixelRatio;
    const qreal top = std::round((bannerSize.height() - box) / 2 - 2);
    for (int i = 0; i < 3; ++i) {
        PaintPicture(painter, pictures[i], QRectF(pictureMargin + i * (box + pictureGap), top, box, box),
                     devicePixelRatio);
        PaintPicture(painter, pictures[3 + i],
                     QRectF(bannerSize.width() - pictureMargin - box - (2 - i) * (box + pictureGap), top, box, box),
                     devicePixelRatio);
    }
    const qreal besidePictures = pictureMargin + 3 * box + 2 * pictureGap;
    PaintTitle(painter, besidePictures, bannerSize.width() - besidePictures);
    return banner;
}
