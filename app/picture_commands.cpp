// SPDX-License-Identifier: MIT
// The main window's picture commands: Save As in the four formats of the save dialog, Copy
// to Clipboard, Print and Print Setup, from the File menu and the tool buttons. The image
// view does the work; its errors are shown by the event loop's guard.
#include "app/main_window.h"
#include "app/print_options.h"

#include "app/data_module.h"
#include "app/util.h"
#include "controls/imageview/db_multi_image.h"
#include "data/field.h"
#include "data/table.h"
#include "imaging/formats/format_table.h"
#include "platform/core/cursors.h"
#include "platform/core/dialogs.h"
#include "platform/core/error_reporter.h"
#include "platform/core/paths.h"
#include "platform/ui/printer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString TfMain::CurrentFileName() const {
    if (data_ && data_->Table1 && data_->Table1->Active())
        if (data::TField* field = data_->Table1->LookupField(QStringLiteral("Filename")))
            return field->AsString();
    return {};
}

// The folder the Save dialog starts in: the program's, or the user's pictures folder when
// the program's cannot be written (an installed program).
static QString SaveFolder(const QString& programDir) {
    if (QFileInfo(programDir).isWritable())
        return programDir;
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QDir().mkpath(pictures);
    return pictures;
}

// The Save dialog's entries for a vector picture: its own format, SVG and PNG.
static QString VectorFilter(const QStringList& extensions) {
    QStringList entries;
    for (const QString& extension : extensions) {
        const imaging::PictureFormat* format = imaging::FormatOfLoadName(extension);
        const QString label = format ? QString::fromLatin1(format->Label)
                                     : QStringLiteral("Scalable Vector Graphics");
        entries << QStringLiteral("%1    (%2) |*.%2").arg(label, extension);
    }
    return entries.join(u'|');
}

void TfMain::SaveAs1Click() {
    platform::RunGuarded([this] {
        const QString defaultName = FileNameNoExt(CurrentFileName());
        // A vector picture is saved as its own bytes, an SVG or a PNG; a bitmap in the
        // formats the engine writes.
        const QStringList vector = PDBMultiImage1->VectorSaveExtensions();
        platform::SaveRequest request;
        request.caption = QStringLiteral("Save Image");
        request.initialDir = SaveFolder(programDir_);
        request.fileName = defaultName;
        request.filter = vector.isEmpty() ? imaging::FilterEntries(imaging::FormatList::MainSave)
                                          : VectorFilter(vector);
        request.defaultExtension = vector.isEmpty() ? QStringLiteral("TIF") : vector.front();
        // Replacing a file is asked below, once, whichever dialog chose it.
        request.confirmOverwrite = false;
        const std::optional<QString> chosen = platform::Dialogs().SaveFileName(this, request);
        if (!chosen)
            return;
        // The dialog leaves the process in the chosen file's folder (it does not protect the
        // current directory): a relative DataPath is found there at the next activation.
        platform::SetCurrentDir(platform::ExtractFilePath(*chosen));
        // The format is the extension's, in any spelling the format table knows; one the
        // engine cannot write is named, with those it can.
        const imaging::PictureFormat* format = imaging::FormatOfFile(*chosen);
        const bool writable = vector.isEmpty()
                                  ? format && format->Engine && format->EngineWrites
                                  : vector.contains(QFileInfo(*chosen).suffix().toUpper());
        if (!writable) {
            platform::Dialogs().MessageBox(
                this,
                QStringLiteral("%1 cannot be saved as \"%2\". Give the file one of these "
                               "extensions: %3.")
                    .arg(vector.isEmpty() ? QStringLiteral("Pictures")
                                          : QStringLiteral("This vector picture"),
                         platform::ExtractFileName(*chosen),
                         vector.isEmpty() ? imaging::WritableExtensions()
                                          : vector.join(QStringLiteral(", "))),
                request.caption, platform::MB_OK | platform::MB_ICONWARNING);
            return;
        }
        if (QFileInfo::exists(*chosen) &&
            platform::Dialogs().MessageBox(
                this,
                QStringLiteral("%1 already exists.\nDo you want to replace it?")
                    .arg(platform::ExtractFileName(*chosen)),
                request.caption, platform::MB_YESNO | platform::MB_ICONQUESTION) != platform::IDYES)
            return;
        platform::Screen::SetCursor(platform::crHourGlass);
        struct Restore {
            ~Restore() { platform::Screen::SetCursor(platform::crDefault); }
        } restore;
        if (!vector.isEmpty()) {
            PDBMultiImage1->SaveVector(*chosen);
            return;
        }
        const bool tiff = format->Engine == imaging::EngineFormat::Tiff;
        PDBMultiImage1->ImageWriteRes = tiff ? imaging::sMonoChrome : imaging::sAutoMatic;
        PDBMultiImage1->SaveAs(*format->Engine, *chosen);
    });
}

void TfMain::mnuCopyClick() {
    platform::RunGuarded([this] { PDBMultiImage1->CopyToClipboard(); });
}

void TfMain::Print1Click() {
    platform::RunGuarded([this] {
        // The print job is named after the picture's file, so the queue shows which it is.
        const QString file = CurrentFileName();
        platform::Printer().Device().setDocName(file.isEmpty() ? windowTitle() : file);
        PrintPlacementPage placement;
        if (platform::Dialogs().PrintDialogWithOptions(this, {&placement})) {
            placement.Remember();
            PDBMultiImage1->PrintPlaced(placement.Placement());
        }
    });
}

void TfMain::PrintPreview1Click() {
    platform::RunGuarded([this] {
        const QString file = CurrentFileName();
        platform::Printer().Device().setDocName(file.isEmpty() ? windowTitle() : file);
        // The pages Print makes, placed as the print dialog placed the last picture.
        const controls::PrintPlacement placement = PrintPlacementPage::Remembered();
        platform::Dialogs().PrintPreview(
            this, [this, placement] { PDBMultiImage1->PrintPlaced(placement); });
    });
}

void TfMain::PrintSetup1Click() {
    platform::RunGuarded([this] { platform::Dialogs().PrinterSetupDialog(this); });
}
