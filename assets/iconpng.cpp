// Writes the program's 16-colour icon as a PNG, for the window and for the desktop's icon
// theme, enlarged by whole pixels so that the pixel art stays sharp.
//
//   iconpng ICON SIZE OUT.png
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("usage: iconpng ICON SIZE OUT.png\n", stderr);
        return 2;
    }
    QImage icon(QString::fromLocal8Bit(argv[1]));
    const int size = QByteArray(argv[2]).toInt();
    if (icon.isNull() || size <= 0 || size % icon.width() != 0) {
        std::fprintf(stderr, "iconpng: cannot make a %s px icon from %s\n", argv[2], argv[1]);
        return 1;
    }
    const QImage scaled = icon.convertToFormat(QImage::Format_ARGB32)
                              .scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return scaled.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
