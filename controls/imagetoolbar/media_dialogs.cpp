// SPDX-License-Identifier: MIT
// The toolbar's file dialogs: the toolkit's own file dialog with a preview of the picture and,
// for a TIFF of several pages, the page to open.
#include "controls/imagetoolbar/media_dialogs.h"

#include "controls/imagetoolbar/file_preview.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/formats/format_table.h"
#include "platform/core/cursors.h"
#include "platform/core/dialogs.h"
#include "platform/ui/widget_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>

namespace controls {

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
        auto* pageLabel = new QLabel(QStringLiteral("TIFF &page:"), &dialog);
        pageLabel->setBuddy(page);
        grid->addWidget(pageLabel, row + 1, 0);
        grid->addWidget(page, row + 1, 1);
    }
    // The file under the cursor is shown as the view would show it; a TIFF's page chooser
    // follows its pages and shows the page chosen.
    QString current;
    auto show = [&, preview, page](int pageIndex) {
        platform::WaitCursor wait;
        const FilePreview shown = PreviewFile(current, pageIndex, preview->contentsRect().size());
        if (shown.picture.isNull())
            preview->setText(QStringLiteral("no preview"));
        else
            preview->setPixmap(QPixmap::fromImage(shown.picture));
        return shown.pages;
    };
    auto follow = [&, page](const QString& file) {
        if (file == current || !QFileInfo(file).isFile())
            return;
        current = file;
        const int pages = show(0);
        const QSignalBlocker quiet(page);
        page->setRange(1, pages);
        page->setValue(1);
        page->setEnabled(pages > 1);
    };
    // The current file is the one under the cursor in the list, or the name in the file name
    // box (which a click in the list fills, and which the user may type).
    QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog, follow);
    if (auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        QObject::connect(name, &QLineEdit::textChanged, &dialog, [&](const QString& text) {
            if (!text.isEmpty())
                follow(QDir(dialog.directory()).absoluteFilePath(text));
        });
    QObject::connect(page, &QSpinBox::valueChanged, &dialog, [&](int value) { show(value - 1); });
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
    request.filter = imaging::FilterEntries(imaging::FormatList::ToolbarSave);
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
