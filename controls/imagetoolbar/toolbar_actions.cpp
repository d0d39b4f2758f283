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

void Busy() {
    platform::Screen::SetCursor(platform::crHourGlass);
}

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
        platform::Screen::SetCursor(platform::crDefault);
        RefreshButtons();
        return;
    }
    try {
        RunAction(kind);
    } catch (...) {
        platform::Screen::SetCursor(platform::crDefault);
        RefreshButtons();
        throw;
    }
    platform::Screen::SetCursor(platform::crDefault);
    RefreshButtons();
    if (AfterAction)
        AfterAction(this, static_cast<TILDBMultiImageToolBarBtn>(kind));
}

QWidget* TILDBMultiImageToolBar::ParentWindow() const {
    return parentWidget() ? parentWidget()->window() : nullptr;
}

void TILDBMultiImageToolBar::RunAction(int kind) {
    TPDBMultiImage& view = *image_;
    auto pressed = [this, kind] { return buttons_[std::size_t(kind)]->isChecked(); };
    switch (kind) {
    case ibdbiOpen:
        Open();
        break;
    case ibdbiSave:
        Save();
        break;
    case ibdbiPrint:
        Print();
        break;
    case ibdbiScan:
    case ibdbiSelectScanner: {
        QWidget* parent = ParentWindow();
        if (!parent)
            throw imaging::ErrorInvalid(QStringLiteral("Parent Window Handle required"));
        Busy();
        if (kind == ibdbiScan)
            view.ScanImage(parent);
        else
            view.SelectScanner(parent);
        break;
    }
    case ibdbiPanZoom:
        view.SetAllowRubberBand(!pressed());
        break;
    case ibdbiZoomIn:
        Busy();
        view.ZoomIn(1.1);
        break;
    case ibdbiZoomOut:
        Busy();
        view.ZoomOut(0.9);
        break;
    case ibdbiBestFit:
        view.SetStretchRatio(pressed());
        break;
    case ibdbiCenter:
        view.SetCenter(pressed());
        break;
    case ibdbiResetZoom:
        Busy();
        view.ResetZoom();
        break;
    case ibdbiCut:
        Busy();
        view.CutToClipboard();
        break;
    case ibdbiCopy:
        Busy();
        view.CopyToClipboard();
        break;
    case ibdbiPaste:
        Busy();
        view.PasteFromClipboard();
        break;
    case ibdbiUndo:
        Busy();
        view.UndoImage();
        break;
    case ibdbiAnnotEdit:
        Busy();
        view.SetEditAnnotat(pressed());
        break;
    case ibdbiInvert:
        Busy();
        view.InvertImage();
        break;
    case ibdbiRotate90:
    case ibdbiRotate180:
        Busy();
        view.RotateImage(0, 0, 0, 0, kind == ibdbiRotate90 ? -90 : 180);
        if (view.StretchRatio())
            view.ResetZoom();
        break;
    case ibdbiEffects:
        view.ShowEffects();
        break;
    default:
        break;
    }
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
    platform::Screen::SetCursor(platform::crDefault);
}

} // namespace controls
