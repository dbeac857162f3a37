// Build tool: writes the banner without a ROM, painted for the given device
// pixel ratio, as the rows of an 8-bit RGB image in Qt's layout.
#include "Banner.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    const QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s RATIO OUTPUT\n", argv[0]);
        return EXIT_FAILURE;
    }
    const QImage banner = PaintBanner(std::atof(argv[1])).toImage().convertToFormat(QImage::Format_RGB888);
    QFile output(QString::fromLocal8Bit(argv[2]));
    const auto bytes = reinterpret_cast<const char*>(banner.constBits());
    if (!output.open(QIODevice::WriteOnly) || output.write(bytes, banner.sizeInBytes()) != banner.sizeInBytes()
        || !output.flush()) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
