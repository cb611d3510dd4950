// Build tool: renders the program's scalable icon into square PNG files of the given sizes,
// for the icon theme and the window icon. Usage: RenderIcon icon.svg out-dir size...
// Writes out-dir/<size>x<size>/apps/<icon file name>.png for each size.

#include "IconDrawing.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s icon.svg out-dir size...\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    QSvgRenderer renderer(source);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read the icon %s\n", argv[1]);
        return 1;
    }
    const QString name = QFileInfo(source).completeBaseName() + QStringLiteral(".png");
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 4096) {
            std::fprintf(stderr, "bad icon size %s\n", argv[i]);
            return 2;
        }
        const QImage image = DrawIcon(renderer, size);
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        if (!QDir().mkpath(dir) || !image.save(dir + QLatin1Char('/') + name, "PNG")) {
            std::fprintf(stderr, "cannot write the %dx%d icon under %s\n", size, size,
                         qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
