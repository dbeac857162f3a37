// Build tool: writes the application icon as a PNG of the given size, each
// pixel of the 32 × 32 picture enlarged to a square block.
#include <QImage>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ICON SIZE OUTPUT.png\n", argv[0]);
        return EXIT_FAILURE;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    const int size = std::atoi(argv[2]);
    if (icon.isNull() || size <= 0
        || !icon.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
