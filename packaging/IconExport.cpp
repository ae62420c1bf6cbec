// Writes the program's icon as PNG files for the desktop's icon theme.
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "resources/Skin.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: kel-icon-export SIZE FILE.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    const int size = QString(argv[1]).toInt();
    const QPixmap pixmap = kel::skin::AppIcon().pixmap(size, size);
    return !pixmap.isNull() && pixmap.save(argv[2], "PNG") ? 0 : 1;
}
