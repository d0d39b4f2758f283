// SPDX-License-Identifier: MIT
// The main window's picture commands: Save As in the four formats of the save dialog, Copy
// to Clipboard, Print and Print Setup, from the File menu and the tool buttons. The image
// view does the work; its errors are shown by the event loop's guard.
#include "app/main_window.h"

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

QString TfMain::CurrentFileName() const {
    if (data_ && data_->Table1 && data_->Table1->Active())
        if (data::TField* field = data_->Table1->LookupField(QStringLiteral("Filename")))
            return field->AsString();
    return {};
}

void TfMain::SaveAs1Click() {
    platform::RunGuarded([this] {
        const QString defaultName = FileNameNoExt(CurrentFileName());
        platform::SaveRequest request;
        request.caption = QStringLiteral("Save Image");
        request.initialDir = programDir_;
        request.fileName = defaultName;
        request.filter = imaging::FilterEntries(imaging::FormatList::MainSave);
        request.defaultExtension = QStringLiteral("TIF");
        request.confirmOverwrite = false;
        const std::optional<QString> chosen = platform::Dialogs().SaveFileName(this, request);
        if (!chosen)
            return;
        // The dialog leaves the process in the chosen file's folder (it does not protect the
        // current directory): a relative DataPath is found there at the next activation.
        platform::SetCurrentDir(platform::ExtractFilePath(*chosen));
        platform::Screen::SetCursor(platform::crHourGlass);
        struct Restore {
            ~Restore() { platform::Screen::SetCursor(platform::crDefault); }
        } restore;
        // The four formats of the list, by their main extension; any other writes nothing.
        const imaging::PictureFormat* format = imaging::FormatOfMainExtension(*chosen);
        const bool tiff = format && format->Engine == imaging::EngineFormat::Tiff;
        PDBMultiImage1->ImageWriteRes = tiff ? imaging::sMonoChrome : imaging::sAutoMatic;
        if (format && format->Place[int(imaging::FormatList::MainSave)] > 0)
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
        if (platform::Dialogs().PrintDialog(this))
            PDBMultiImage1->PrintImage(0, 0, 0, 0);
    });
}

void TfMain::PrintSetup1Click() {
    platform::RunGuarded([this] { platform::Dialogs().PrinterSetupDialog(this); });
}
