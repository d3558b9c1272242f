// Build tool: the 16-pixel Silk image enlarged pixel for pixel to the icon
// sizes a desktop asks for, so it stays as crisp as the window's own icons.
//   scale_icon SOURCE.png SIZE OUTPUT.png
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: scale_icon SOURCE.png SIZE OUTPUT.png\n", stderr);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    const int size = std::atoi(argv[2]);
    if (source.isNull() || size <= 0 || size % source.width() != 0) {
        std::fprintf(stderr, "scale_icon: cannot make %s at %s pixels\n", argv[1], argv[2]);
        return 1;
    }
    const QImage scaled = source.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return scaled.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
