// SPDX-License-Identifier: MIT
// Hostile metafiles for one of the two players (VLMOR_FUZZ_TARGET "wmf" or "emf"): any bytes
// are loaded as the image view loads a metafile blob and played into a small picture; the
// player draws or refuses, within its limits, and never crashes.
#include "imaging/metafile/metafile.h"
#include "imaging/metafile/metafile_player.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    // Text records need the toolkit's fonts: a GUI application (the replay main has one).
    static int argc = 1;
    static char name[] = "metafile_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;

    const QByteArray data(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QString error;
    const bool enhanced = std::strcmp(VLMOR_FUZZ_TARGET, "emf") == 0;
    // Through the picture object when the header says so, and straight to the player always,
    // so a damaged header still reaches the records' checks.
    imaging::Metafile metafile;
    if (metafile.Load(data))
        metafile.Play(painter, QRectF(0, 0, 64, 48), &error);
    if (enhanced)
        imaging::PlayEnhancedMetafile(data, painter, QRectF(2, 2, 60, 44), &error);
    else
        imaging::PlayWindowsMetafile(data, painter, QRectF(2, 2, 60, 44), &error);
    return 0;
}
