// SPDX-License-Identifier: MIT
// What each button of the image toolbar does to its image view.
#include "controls/imagetoolbar/image_toolbar.h"

#include "controls/imagetoolbar/print_options.h"
#include "controls/imagetoolbar/toolbar_button.h"
#include "controls/imageview/db_multi_image.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/error_invalid.h"
#include "imaging/formats/format_table.h"
#include "platform/core/cursors.h"
#include "platform/core/dialogs.h"
#include "platform/ui/printer.h"

#include <QFileInfo>
#include <QRadioButton>

namespace controls {

namespace {

// Sets a value for its lifetime and puts the old one back, also on an exception.
struct KeepDocumentFlag {
    TPDBMultiImage* view;
    bool saved;
    ~KeepDocumentFlag() { view->P_Begin_End_Doc = saved; }
};

} // namespace

void TILDBMultiImageToolBar::ButtonAction(TILDBMultiImageToolBarButton*, int kind) {
    if (!image_)
        return;
    bool process = true;
    if (BeforeAction)
        BeforeAction(this, static_cast<TILDBMultiImageToolBarBtn>(kind), process);
    if (!process) {
        Settle();
        return;
    }
    try {
        RunAction(kind);
    } catch (...) {
        Settle();
        throw;
    }
    Settle();
    if (AfterAction)
        AfterAction(this, static_cast<TILDBMultiImageToolBarBtn>(kind));
}

void TILDBMultiImageToolBar::Busy() {
    busy_.emplace(platform::crDefault);
}

void TILDBMultiImageToolBar::Settle() {
    busy_.reset();
    platform::Screen::SetCursor(platform::crDefault);
    RefreshButtons();
}

QWidget* TILDBMultiImageToolBar::ParentWindow() const {
    return parentWidget() ? parentWidget()->window() : nullptr;
}

void TILDBMultiImageToolBar::RunAction(int kind) {
    if (kind < 0 || kind >= kToolbarButtonCount)
        return;
    const ToolbarButtonRow& row = Rows()[std::size_t(kind)];
    if (row.Busy)
        Busy();
    row.Run(*this, *image_, buttons_[std::size_t(kind)]->isChecked());
}

void TILDBMultiImageToolBar::Open() {
    if (!BeforeAction && !MMOpenDialog)
        platform::Dialogs().MessageBox(
            this,
            QStringLiteral("Toolbar. Assign either a MMOpenDialog or a BeforeAction event to open "
                           "a file"),
            QStringLiteral("Toolbar"), platform::MB_OK | platform::MB_ICONINFORMATION);
    if (!MMOpenDialog || !MMOpenDialog->Execute(ParentWindow()))
        return;
    Busy();
    image_->TiffPage = static_cast<std::int16_t>(MMOpenDialog->TiffSelectedPage);
    image_->LoadFromFile(MMOpenDialog->FileName);
}

void TILDBMultiImageToolBar::Save() {
    if (!BeforeAction && !MMSaveDialog)
        platform::Dialogs().MessageBox(
            this,
            QStringLiteral("Toolbar. Assign either a MMSaveDialog or a BeforeAction event to save "
                           "a file"),
            QStringLiteral("Toolbar"), platform::MB_OK | platform::MB_ICONINFORMATION);
    if (!MMSaveDialog || !MMSaveDialog->Execute(ParentWindow()))
        return;
    Busy();
    const QString file = MMSaveDialog->FileName;
    // The format of the file's main extension: a picture the engine writes, or a credit
    // message saved as the record holds it.
    const imaging::PictureFormat* format = imaging::FormatOfMainExtension(file);
    if (!format)
        return;
    if (format->EngineWrites)
        image_->SaveAs(*format->Engine, file);
    else if (format->SavesBlob && image_->BlobInfo().BlobFormat == QLatin1String(format->LoadName))
        image_->SaveBlobToFile(file);
}

void TILDBMultiImageToolBar::Print() {
    if (!PrintDialog)
        return;
    TPrintOptions options(this);
    const int result = options.exec();
    KeepDocumentFlag keep{image_, image_->P_Begin_End_Doc};
    image_->P_Begin_End_Doc = true;
    if (result != QDialog::Accepted || !PrintDialog->Execute(ParentWindow()))
        return;
    Busy();
    if (options.ImageSize()->isChecked()) {
        image_->PrintImage(0, 0, image_->BlobInfo().BlobWidth, image_->BlobInfo().BlobHeight);
    } else {
        platform::TPrinter& printer = platform::Printer();
        image_->PrintImage(0, 0, printer.PageWidth(), printer.PageHeight());
    }
    busy_.reset();
}

} // namespace controls
