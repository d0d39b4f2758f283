// SPDX-License-Identifier: MIT
// The toolbar's twenty kinds of button, one row each: name and glyph, hint, group, whether
// it runs under the wait cursor, when it can be clicked, when it is shown down, and what a
// click does to the view.
#include "controls/imagetoolbar/image_toolbar.h"

#include "imaging/error_invalid.h"

namespace controls {

namespace {

using Row = ToolbarButtonRow;
using E = ToolbarButtonRow::Enabling;

// A quarter or half turn of the whole picture; a fitted picture is fitted again.
void Turn(TPDBMultiImage& view, double angle) {
    view.RotateImage(0, 0, 0, 0, angle);
    if (view.StretchRatio())
        view.ResetZoom();
}

} // namespace

std::span<const ToolbarButtonRow> TILDBMultiImageToolBar::Rows() {
    using Bar = TILDBMultiImageToolBar;
    using View = TPDBMultiImage;
    // Scanning needs the window the engine's dialogs open over.
    static constexpr auto scanner = [](Bar& bar, View& view, bool select) {
        QWidget* parent = bar.ParentWindow();
        if (!parent)
            throw imaging::ErrorInvalid(QStringLiteral("Parent Window Handle required"));
        bar.Busy();
        if (select)
            view.SelectScanner(parent);
        else
            view.ScanImage(parent);
    };
    static const Row rows[kToolbarButtonCount] = {
        {.Kind = ibdbiOpen,
         .Stem = "OPEN",
         .Hint = "Open file",
         .Run = [](Bar& bar, View&, bool) { bar.Open(); }},
        {.Kind = ibdbiSave,
         .Stem = "SAVE",
         .Hint = "Save file",
         .Run = [](Bar& bar, View&, bool) { bar.Save(); }},
        {.Kind = ibdbiPrint,
         .Stem = "PRINT",
         .Hint = "Print file",
         .Run = [](Bar& bar, View&, bool) { bar.Print(); }},
        {.Kind = ibdbiScan,
         .Stem = "SCANPAGES",
         .Hint = "Scan Image",
         .Run = [](Bar& bar, View& view, bool) { scanner(bar, view, false); }},
        {.Kind = ibdbiSelectScanner,
         .Stem = "SELECTSCANNER",
         .Hint = "Select Scanner",
         .Run = [](Bar& bar, View& view, bool) { scanner(bar, view, true); }},
        {.Kind = ibdbiPanZoom,
         .Stem = "PANZOOM",
         .Hint = "Toggle Panning Zooming",
         .Group = 3,
         .Enabled = E::ViewNotFitted,
         .Pressed = [](const View& view) { return !view.AllowRubberBand(); },
         .Run = [](Bar&, View& view, bool pressed) { view.SetAllowRubberBand(!pressed); }},
        {.Kind = ibdbiZoomIn,
         .Stem = "ZOOMIN",
         .Hint = "Zoom In",
         .Busy = true,
         .Enabled = E::ViewNotFitted,
         .Run = [](Bar&, View& view, bool) { view.ZoomIn(1.1); }},
        {.Kind = ibdbiZoomOut,
         .Stem = "ZOOMOUT",
         .Hint = "Zoom out",
         .Busy = true,
         .Enabled = E::ViewNotFitted,
         .Run = [](Bar&, View& view, bool) { view.ZoomOut(0.9); }},
        {.Kind = ibdbiBestFit,
         .Stem = "BESTFIT",
         .Hint = "Best Fit Image",
         .Group = 4,
         .Pressed = [](const View& view) { return view.StretchRatio(); },
         .Run = [](Bar&, View& view, bool pressed) { view.SetStretchRatio(pressed); }},
        {.Kind = ibdbiCenter,
         .Stem = "CENTER",
         .Hint = "Center Image",
         .Group = 5,
         .Pressed = [](const View& view) { return view.Center(); },
         .Run = [](Bar&, View& view, bool pressed) { view.SetCenter(pressed); }},
        {.Kind = ibdbiResetZoom,
         .Stem = "RESETZOOM",
         .Hint = "Reset Zoom",
         .Busy = true,
         .Run = [](Bar&, View& view, bool) { view.ResetZoom(); }},
        {.Kind = ibdbiCut,
         .Stem = "CUT",
         .Hint = "Cut to Clipboard",
         .Busy = true,
         .Run = [](Bar&, View& view, bool) { view.CutToClipboard(); }},
        {.Kind = ibdbiCopy,
         .Stem = "COPY",
         .Hint = "Copy to Clipboard",
         .Busy = true,
         .Run = [](Bar&, View& view, bool) { view.CopyToClipboard(); }},
        {.Kind = ibdbiPaste,
         .Stem = "PASTE",
         .Hint = "Paste from Clipboard",
         .Busy = true,
         .Enabled = E::ClipboardPicture,
         .Run = [](Bar&, View& view, bool) { view.PasteFromClipboard(); }},
        {.Kind = ibdbiUndo,
         .Stem = "UNDO",
         .Hint = "Undo Image",
         .Busy = true,
         .Enabled = E::Undo,
         .Run = [](Bar&, View& view, bool) { view.UndoImage(); }},
        {.Kind = ibdbiAnnotEdit,
         .Stem = "ANNOTEDIT",
         .Hint = "Toggle Annotation mode",
         .Group = 2,
         .Busy = true,
         .Pressed = [](const View& view) { return view.EditAnnotat(); },
         .Run = [](Bar&, View& view, bool pressed) { view.SetEditAnnotat(pressed); }},
        {.Kind = ibdbiInvert,
         .Stem = "INVERT",
         .Hint = "Invert",
         .Busy = true,
         .Run = [](Bar&, View& view, bool) { view.InvertImage(); }},
        {.Kind = ibdbiRotate90,
         .Stem = "ROTATE90",
         .Hint = "Rotate 90\u00BA",
         .Busy = true,
         .Run = [](Bar&, View& view, bool) { Turn(view, -90); }},
        {.Kind = ibdbiRotate180,
         .Stem = "ROTATE180",
         .Hint = "Rotate 180\u00BA",
         .Busy = true,
         .Run = [](Bar&, View& view, bool) { Turn(view, 180); }},
        {.Kind = ibdbiEffects,
         .Stem = "EFFECTS",
         .Hint = "Effect Manager",
         .Run = [](Bar&, View& view, bool) { view.ShowEffects(); }},
    };
    return rows;
}

} // namespace controls
