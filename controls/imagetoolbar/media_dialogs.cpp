// SPDX-License-Identifier: MIT
// The toolbar's file dialogs: the toolkit's own file dialog with a preview of the picture and,
// for a TIFF of several pages, the page to open.
#include "controls/imagetoolbar/media_dialogs.h"

#include "imaging/engine_calls.h"
#include "imaging/shared_tables.h"
#include "platform/core/dialogs.h"
#include "platform/ui/widget_dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QSpinBox>

namespace controls {

namespace {

// The pages of a TIFF file by the engine, 1 for anything else or on failure.
int TiffPages(const QString& file) {
    if (!file.endsWith(QLatin1String(".tif"), Qt::CaseInsensitive) &&
        !file.endsWith(QLatin1String(".tiff"), Qt::CaseInsensitive))
        return 1;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() > (64 << 20))
        return 1;
    const QByteArray bytes = f.readAll();
    imaging::TiffPageInfo info;
    if (!imaging::GetInfoStream(bytes.constData(), std::int32_t(bytes.size()), 0, &info))
        return 1;
    return std::max<int>(1, info.PageCount);
}

} // namespace

bool TMMOpenDialog::Execute(QWidget* parent) {
    QFileDialog dialog(parent, QStringLiteral("Open"), QString(),
                       platform::QtFilter(Filter.isEmpty() ? imaging::MediaFilter() : Filter));
    dialog.setObjectName(QStringLiteral("MMOpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    // Below the toolkit's own rows: the preview and the page of a TIFF.
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setFixedSize(160, 120);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    auto* page = new QSpinBox(&dialog);
    page->setObjectName(QStringLiteral("TiffPage"));
    page->setEnabled(false);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(new QLabel(QStringLiteral("Preview:"), &dialog), row, 0);
        grid->addWidget(preview, row, 1);
        grid->addWidget(new QLabel(QStringLiteral("TIFF &page:"), &dialog), row + 1, 0);
        grid->addWidget(page, row + 1, 1);
    }
    QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog, [=](const QString& file) {
        QImageReader reader(file);
        reader.setScaledSize(QSize(160, 120));
        const QSize size = reader.size();
        if (size.isValid())
            reader.setScaledSize(size.scaled(160, 120, Qt::KeepAspectRatio));
        const QImage shown = reader.read();
        preview->setPixmap(QPixmap::fromImage(shown));
        if (shown.isNull())
            preview->setText(QStringLiteral("no preview"));
        const int pages = TiffPages(file);
        page->setRange(1, pages);
        page->setValue(1);
        page->setEnabled(pages > 1);
    });
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    TiffSelectedPage = page->value() - 1; // the engine counts pages from 0
    return true;
}

bool TMMSaveDialog::Execute(QWidget* parent) {
    platform::SaveRequest request;
    request.caption = QStringLiteral("Save");
    request.fileName = FileName;
    request.filter = QStringLiteral(
        "Windows Bitmap    (BMP) |*.BMP|Jpeg    (JPG) |*.JPG|Portable Graphics    (PNG) |*.PNG|"
        "Tagged Image    (TIF) |*.TIF|PaintShop Pro    (PCX) |*.PCX|Compuserve Gif    (GIF) "
        "|*.GIF|Targe Image    (TGA) |*.TGA|Encapsulated PostScript    (EPS) |*.EPS|"
        "Scrolling Message    (SCM) |*.SCM|Credit Message    (CMS) |*.CMS");
    const std::optional<QString> chosen = platform::Dialogs().SaveFileName(parent, request);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

bool TPrintDialog::Execute(QWidget* parent) {
    return platform::Dialogs().PrintDialog(parent);
}

} // namespace controls
