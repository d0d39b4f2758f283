// SPDX-License-Identifier: MIT
#pragma once

// What the image view's benchmarks share: photograph-like pictures and a view bound to a
// catalogue table of them, shown on the offscreen screen.

#include "controls/imageview/db_multi_image.h"
#include "data/data_source.h"
#include "data/table.h"
#include "tools/catalog/catalogue_tables.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QWindow>

#include <memory>
#include <vector>

namespace bench {

inline const QSize kView(640, 480);

// A photograph-like picture: gradients crossed by a fine pattern, so JPEG has work to do.
inline QImage Photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb((x * 255 / w + (x * y) % 7) & 255, (y * 255 / h) ^ (x & 15),
                          ((x + y) * 3) & 255);
    }
    return image;
}

inline QByteArray Jpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 88);
    return bytes;
}

// Shows the view and waits until its window is on the (offscreen) screen, so repaints paint.
inline void ShowExposed(QWidget* view) {
    view->show();
    for (int i = 0; i < 100 && !(view->windowHandle() && view->windowHandle()->isExposed()); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

struct Fixture {
    QTemporaryDir dir;
    data::TTable table;
    data::TDataSource source;
    std::unique_ptr<controls::TPDBMultiImage> view;
    QByteArray photo;

    void Open(const std::vector<QByteArray>& pictures, bool fit) {
        catalog::CatalogueWriter writer(dir.filePath("vlmor.db"));
        for (std::size_t i = 0; i < pictures.size(); ++i)
            writer.Add({QStringLiteral("P%1.JPG").arg(i), QStringLiteral("d"),
                        QStringLiteral("misc"), pictures[i]});
        writer.Commit();
        table.SetTableName(dir.filePath("vlmor.db"));
        source.SetDataSet(&table);
        view = std::make_unique<controls::TPDBMultiImage>();
        view->resize(kView);
        view->SetStretchRatio(fit);
        view->SetDataField("GraphicFile");
        view->SetDataSource(&source);
        view->Loaded();
        ShowExposed(view.get());
        table.Open();
    }
};

} // namespace bench
