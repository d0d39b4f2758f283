// SPDX-License-Identifier: MIT
// A small program for the end-to-end paste test: an image view bound to an editable one-record
// catalogue pastes what the X clipboard holds (put there by another program) and writes the
// picture it then shows to the PNG file named by its argument. Exit 0 when a picture was
// pasted, 1 when none was, 2 on a wrong call.
#include "controls/imageview/db_multi_image.h"
#include "data/data_source.h"
#include "data/session.h"
#include "data/table.h"
#include "imaging/engine/engine_binding.h"
#include "tests/support/catalogue_fixture.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    qputenv("VLMOR_WINDOWS_DIR", QFile::encodeName(QDir::tempPath()));
    data::Session().AddPassword("tamsin###");
    imaging::EngineBinding::Instance().Start();
    int status = 1;
    {
        // The record's own picture: one black pixel.
        QImage black(1, 1, QImage::Format_RGB32);
        black.fill(Qt::black);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        black.save(&buffer, "PNG");
        CatalogueFixture fixture;
        fixture.WriteCatalogue(
            QStringLiteral("vlmor.db"),
            {{QStringLiteral("P0"), QStringLiteral("d"), QStringLiteral("misc"), png}});
        data::TTable table;
        table.SetTableName(fixture.Path(QStringLiteral("vlmor.db")));
        data::TDataSource source;
        source.SetDataSet(&table);
        controls::TPDBMultiImage view;
        view.resize(200, 150);
        view.SetDataField(QStringLiteral("GraphicFile"));
        view.SetDataSource(&source);
        view.Loaded();
        view.show();
        table.Open();
        view.PasteFromClipboard();
        const QImage shown = view.Picture.Bitmap().Handle();
        if (table.State() == data::TDataSetState::dsEdit && !shown.isNull() &&
            shown.size() != QSize(1, 1) &&
            shown.convertToFormat(QImage::Format_RGB32)
                .save(QString::fromLocal8Bit(argv[1]), "PNG"))
            status = 0;
        table.Cancel();
    }
    imaging::EngineBinding::Instance().End();
    return status;
}
