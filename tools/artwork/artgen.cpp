// SPDX-License-Identifier: MIT
// Writes the program's artwork (splash picture and icons) into a folder at build time.
#include "tools/artwork/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vlmor-artgen OUTPUT-DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "vlmor-artgen: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = artwork::DrawSplashArtwork().save(out.filePath(QStringLiteral("splash.png")));
    for (int size : {32, 64, 128, 256})
        ok = ok && artwork::DrawProgramIcon(size).save(
                       out.filePath(QStringLiteral("vellamore-%1.png").arg(size)));
    if (!ok) {
        std::fprintf(stderr, "vlmor-artgen: cannot write the artwork\n");
        return 1;
    }
    return 0;
}
