// Writes the program's icon as PNG files: OUTDIR/SIZE/NAME.png for every SIZE given.

#include "ui/icon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: pagewick-render-icons OUTDIR NAME SIZE...\n");
        return 2;
    }
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        const QString dir = QStringLiteral("%1/%2").arg(outDir).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(dir, name);
        if (size <= 0 || !QDir().mkpath(dir) || !pagewick::DrawPagewickIcon(size).save(file)) {
            std::fprintf(stderr, "pagewick-render-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
