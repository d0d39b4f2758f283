// SPDX-License-Identifier: MIT
#pragma once

#include "controls/imageview/credit_display.h"
#include "controls/imageview/paint_plan.h"
#include "controls/imageview/picture.h"
#include "controls/imageview/picture_document.h"
#include "controls/imageview/print_placement.h"
#include "controls/imageview/sharp_rendering.h"
#include "controls/imageview/view_messages.h"
#include "controls/imageview/zoom_model.h"
#include "data/field_data_link.h"
#include "imaging/decoding/blob_detection.h"
#include "imaging/decoding/picture_decoding.h"
#include "imaging/decoding/read_ahead.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/image_types.h"
#include "platform/core/cursors.h"
#include "platform/core/messages.h"
#include "platform/core/system_colours.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

class QScrollBar;

namespace data {
class TDataSource;
class TField;
} // namespace data
namespace platform {
class TPanel;
}

namespace controls {

// What the view detects and decodes, spoken of in its own terms.
using imaging::BlobInfo;
using imaging::DecodePictureBlob;
using imaging::DecodesMonochrome;
using imaging::DecodesToBitmap;
using imaging::DetectBlob;
using imaging::Detection;
using imaging::GraphicHeaderOffset;
using imaging::ReadDepth;

enum TBWImageFlag { C_DEL, C_AND, C_OR, C_ANTIALIAS, C_ANTIALIAS256 };
/// A set of TBWImageFlag: bit n stands for the member of ordinal n.
using TBWImageFlags = unsigned;
constexpr TBWImageFlags BWFlag(TBWImageFlag flag) {
    return 1u << flag;
}
enum TBlobUpDate {
    bUpdateAsJPG,
    bUpdateAsBMP,
    bUpdateAsGIF,
    bUpdateAsPCX,
    bUpdateAsTGA,
    bUpdateAsPNG,
    bUpdateAsTIF
};
enum TBorderStyle { bsNone, bsSingle };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

/// The data-aware picture control: bound to a blob field, it decodes the current record's
/// picture through the imaging engine and shows it fitted, stretched, centred or zoomed, with
/// scroll bars and a grab hand for panning. The state lives in plain classes (ZoomModel,
/// BlobInfo, PaintPlan, CreditDisplay); this widget routes input and paints.
class TPDBMultiImage : public QWidget {
    Q_OBJECT
    // The picture, its blob information, loading, saving and editing; first, so that the
    // members that refer to it are made after it.
    PictureDocument document_;

public:
    explicit TPDBMultiImage(QWidget* parent = nullptr);
    ~TPDBMultiImage() override;

    /// The end of loading from the form: scroll bars laid out, the annotation layer bound.
    void Loaded();

    // Published properties.
    platform::TCursor GrabHandCursor() const { return grabHandCursor_; }
    void SetGrabHandCursor(platform::TCursor id);
    bool EditAnnotat() const { return editAnnotat_; }
    void SetEditAnnotat(bool value);
    bool Scrolling() const { return zoom_.Scrolling; }
    void SetScrolling(bool value);
    bool ShowScrollbars() const { return zoom_.ShowScrollbars; }
    void SetShowScrollbars(bool value);
    bool TiffAppend = false;
    imaging::TLoadResolution ImageReadRes = imaging::lAutoMatic;
    imaging::TSaveResolution ImageWriteRes = imaging::sAutoMatic;
    int JPegSaveQuality() const { return jpegQuality_; }
    void SetJPegSaveQuality(int value);
    int JPegSaveSmooth() const { return jpegSmooth_; }
    void SetJPegSaveSmooth(int value);
    bool PNGInterLaced = false;
    bool P_Begin_End_Doc = true;
    imaging::TPCDMode PCDMode = imaging::pcd_BASE4;
    bool ImageDither = false;
    bool AutoDisplay() const { return autoDisplay_; }
    void SetAutoDisplay(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TBWImageFlags B_W_CopyFlags = BWFlag(C_DEL);
    bool ILUndo = true;
    imaging::TSortDither ReduceDither = imaging::IL_BAYER;
    platform::TColor RotateBackColor = platform::clBtnFace;
    imaging::TFXMethod FXMethod = imaging::FXNone;
    int FXDelay = 25;
    int FXColRowThick = 4;
    bool Center() const { return center_; }
    void SetCenter(bool value);
    QString DataField() const { return dataLink_.FieldName(); }
    void SetDataField(const QString& name) { dataLink_.SetFieldName(name); }
    data::TDataSource* DataSource() const { return dataLink_.DataSource(); }
    void SetDataSource(data::TDataSource* source);
    bool ReadOnly() const { return dataLink_.ReadOnly(); }
    void SetReadOnly(bool value) { dataLink_.SetReadOnly(value); }
    bool StretchRatio() const { return zoom_.StretchRatio(); }
    void SetStretchRatio(bool value);
    bool Stretch() const { return zoom_.Stretch; }
    void SetStretch(bool value);
    int ScrollbarWidth() const { return zoom_.ScrollbarWidth; }
    void SetScrollbarWidth(int value);
    QString Text() const { return text_; }
    void SetText(const QString& text);
    bool TextShadow = false;
    platform::TColor TextShadowColor = platform::clBlack;
    int TextLeft = 0, TextTop = 0, TextRotate = 0;
    bool TextTransParent = true;
    imaging::TTiffCompression TifSaveCompress = imaging::sNONE;
    std::int16_t TiffPage = 1;
    imaging::TBlitMode BlitMode() const { return blitMode_; }
    void SetBlitMode(imaging::TBlitMode value);
    TMouseButton RubberBandBtn = mbLeft;
    bool AllowRubberBand() const { return zoom_.AllowRubberBand; }
    void SetAllowRubberBand(bool value) { zoom_.AllowRubberBand = value; }
    double Version() const { return version_; }
    int ZoomBy = 10;
    TBlobUpDate BlobUpDate = bUpdateAsJPG;
    // Inherited ones the view reads itself.
    platform::TColor Color() const { return color_; }
    void SetColor(platform::TColor value);
    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font);
    QColor FontColor = Qt::black;

    // Events.
    using TNotifyEvent = std::function<void(TPDBMultiImage*)>;
    using TMouseEvent =
        std::function<void(TPDBMultiImage*, TMouseButton, Qt::KeyboardModifiers, int, int)>;
    using TMouseMoveEvent = std::function<void(TPDBMultiImage*, Qt::KeyboardModifiers, int, int)>;
    using TKeyEvent = std::function<void(TPDBMultiImage*, int& key, Qt::KeyboardModifiers)>;
    TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit, OnPaint, OnPictureChanged,
        OnFinishedLoadSave, OnAnnoDone;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TKeyEvent OnKeyDown, OnKeyUp;
    std::function<void(TPDBMultiImage*, QChar& key)> OnKeyPress;
    std::function<void(TPDBMultiImage*, std::int16_t progress, const QString& message,
                       bool& cancel)>
        OnProgress;
    std::function<void(TPDBMultiImage*, std::int16_t code, const QString& text, const char* ptext)>
        OnIlibError;
    std::function<void(TPDBMultiImage*, int x, int y, int xx, int yy)> OnPaintArea;
    std::function<void(TPDBMultiImage*, TMouseButton, Qt::KeyboardModifiers, int x, int y, int xx,
                       int yy)>
        OnRubberband;
    std::function<void(TPDBMultiImage*, std::intptr_t object, bool selecting)> OnAnnoClick;
    std::function<void(TPDBMultiImage*, void* dc, const QString& name, int x, int y, int xx,
                       int yy)>
        OnCustomAnnotationDraw;
    std::function<void(TPDBMultiImage*, void* bitmap, const QString& name, int x, int y, int xx,
                       int yy)>
        OnCustomAnnotationHardDraw;
    std::function<void(TPDBMultiImage*, int passCode, bool& canDraw, const QString& name)>
        OnBeforeAnnotationDraw;
    std::function<void(TPDBMultiImage*, const QString& name)> OnAfterAnnotationDraw;

    // Internal fields the other parts of the view and the toolbar read.
    TPicture& Picture;
    bool PictureLoaded() const { return document_.Loaded; }
    const struct BlobInfo& BlobInfo() const { return document_.Info; }
    /// The picture document under the view.
    PictureDocument& Document() { return document_; }
    const PictureDocument& Document() const { return document_; }
    double ZoomFactor() const { return zoom_.ZoomFactor; }
    int ViewOriginX() const { return zoom_.ViewOriginX; }
    int ViewOriginY() const { return zoom_.ViewOriginY; }
    QPoint SavedViewOrigin() const { return zoom_.SavedViewOrigin; }
    double SavedZoomFactor() const { return zoom_.SavedZoomFactor; }
    bool LayoutReady() const { return layoutReady_; }
    bool ScmShowing() const { return credit_.Showing() == CreditDisplay::Kind::Scrolling; }
    bool CmsShowing() const { return credit_.Showing() == CreditDisplay::Kind::Rolling; }
    const CreditDisplay& Credit() const { return credit_; }
    QScrollBar* VertScrollBar() const { return vertScrollBar_; }
    QScrollBar* HorzScrollBar() const { return horzScrollBar_; }
    platform::TPanel* ScrollCorner() const { return scrollCorner_; }
    platform::HWND ToolbarWindow;
    platform::HWND AnnotationWindow;
    QColor InitialBrushColor() const { return initialBrushColor_; }
    const imaging::TBitmap& TransitionBitmap() const { return transitionBitmap_; }
    data::TFieldDataLink& DataLink() { return dataLink_; }
    /// The centring offsets of the last zoomed paint.
    QPoint CentringOffsets() const { return {offsetX_, offsetY_}; }
    /// The device the control paints on has this many bits per pixel (the screen's).
    int DeviceBitsPerPixel() const;

    // Operations.
    void LoadPicture();
    /// Detects the current blob's format, fills BlobInfo and gives the load name.
    QString GetBlobInfo();
    void ClearPicture(bool emptyPicture);
    bool ReportProgress(std::int16_t progress);
    /// Raises ErrorInvalid with the binding's last error, or hands it to OnIlibError.
    void ReportEngineError();
    void ZoomIn(double factor);
    void ZoomOut(double factor);
    void ResetZoom();
    void ComputeFitZoom();
    void LayoutScrollBars();
    // Saving (image_saving.cpp): the picture through the engine's writers, or the raw blob.
    /// Writes the picture as a file of a format the engine writes.
    void SaveAs(imaging::EngineFormat format, const QString& fileName);
    /// The extensions a vector picture is saved as (its own, SVG, PNG); empty for a bitmap.
    QStringList VectorSaveExtensions() const;
    /// Writes the vector picture shown as its own bytes, an SVG or a PNG, by the extension.
    void SaveVector(const QString& fileName);
    void SaveAsBMP(const QString& fileName);
    void SaveAsGIF(const QString& fileName);
    void SaveAsTIF(const QString& fileName);
    void SaveAsPCX(const QString& fileName);
    void SaveAsTGA(const QString& fileName);
    void SaveAsEPS(const QString& fileName);
    void SaveAsPNG(const QString& fileName);
    void SaveAsJPG(const QString& fileName);
    void SaveBlobToFile(const QString& fileName);
    // Editing (image_editing.cpp).
    void LoadFromFile(const QString& fileName);
    void UndoImage();
    void InvertImage();
    /// Turns the picture by `angle` degrees; a zero right or bottom means the whole picture.
    void RotateImage(int left, int top, int right, int bottom, double angle);
    /// Opens the "Filters and Effects" window on the picture; OK takes its result and
    /// transition settings.
    void ShowEffects();
    /// Scans a picture from the chosen scanner at the read depth (dialogs over the window).
    void ScanImage(QWidget* parentWindow);
    /// Lets the user choose the scanner; a failure (no scanner) is reported.
    void SelectScanner(QWidget* parentWindow);
    /// Prints the picture on the program's printer (image_printing.cpp).
    void PrintImage(int left, int top, int width, int height);
    /// Prints the picture placed on the printer's page as `placement` says (a drawing still
    /// as vectors).
    void PrintPlaced(const PrintPlacement& placement);
    void CopyToClipboard();
    void PasteFromClipboard();
    void CutToClipboard();
    /// The palette the form realises for the control: the imaging binding's shared palette.
    imaging::HPALETTE GetPalette() const;

    // Reading ahead (picture_loading.cpp): decodes on the decoder's workers that LoadPicture
    // takes instead of decoding again, with every event and message as before.
    /// How the view would read this blob now (read depth, dither, page, Photo CD mode).
    imaging::DecodeRequest ReadRequest(const QByteArray& blob) const;
    /// Where LoadPicture looks for a picture read ahead; null: nowhere. Not owned.
    void SetReadAhead(imaging::ReadAhead* readAhead) { readAhead_ = readAhead; }
    /// The workers that draw EPS and DXF pictures again when zoomed in or printed (none: they
    /// stay scaled).
    void SetDecoder(imaging::Decoder* decoder) { sharp_.SetDecoder(decoder); }

signals:
    /// LoadPicture is done: the picture (or what stands for it) is shown.
    void PictureShown();

public:
    /// The progress callback handed to every engine call (user: the control).
    static std::int16_t ProgressThunk(std::int16_t progress, void* user);

    /// What the view shows for a record without a picture: "(" + the field's display label
    /// + ")", or the control's name when no field is bound, cut to 63 characters.
    QString PlaceholderText() const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The data link's notifications.
    void DataChange();
    void UpdateData();
    void PictureChanged();
    void HandleMessage(platform::MessageEvent& message);
    void PostStateChanged();
    bool KeyPress(QChar key);
    void KeyDown(int key, Qt::KeyboardModifiers shift);

    // Loading (picture_loading.cpp).
    QByteArray BlobBytes() const;
    bool BlobFieldBound() const;
    void DecodeBitmap(const QString& loadName, const QByteArray& blob, int readDepth);
    /// The picture read ahead for this blob as it is read now, decoded into `target`.
    std::optional<imaging::TBitmap> TakeReadAhead(const QByteArray& blob);
    void ShowCreditMessage(const QString& loadName, const QByteArray& blob);
    void CreditTick(CreditDisplay::Kind kind);

    /// The document, keeping undo copies as ILUndo says now.
    PictureDocument& Edits();
    /// The engine's progress reports go to this view's ReportProgress.
    Progress ToView() { return {this, &ProgressThunk}; }
    /// The write options the view's properties give for a file extension.
    imaging::WriteOptions WriteOptionsFor(const QString& extension) const;
    // Saving.
    void CheckSavePreconditions(bool needsPicture);

    // Painting (image_painting.cpp).
    /// Whether the picture goes the drawing's way (painted and printed as vectors): the record's
    /// format names a drawing and no bitmap was put in its place (pasted, scanned, edited).
    bool DrawsAsGraphic() const;
    /// A drawing fitted or zoomed: played at the shown scale; the target it was drawn into.
    QRect PaintScaledDrawing(QPainter& painter, const QColor& background);
    void PaintBitmapPath(QPainter& painter);
    void PaintGraphicPath(QPainter& painter);
    void PaintPlaceholder(QPainter& painter);
    void PaintOverlay(QPainter& painter);
    void PaintFocus(QPainter& painter);
    void PaintCredit(QPainter& painter);
    void CopyStretched(QPainter& painter, const QRect& source, const QRect& target);
    /// The picture to print into `size` canvas pixels: an EPS or DXF drawn again for the
    /// paper's resolution.
    QImage PrintedPicture(QSize size);
    void RunTransition();
    PaintInput PaintState() const;
    QSize ClientSize() const;

    // Zoom and panning (image_zoom.cpp).
    void SyncZoomModel();
    /// The two scroll bars and the corner panel.
    std::array<QWidget*, 3> ScrollParts() const;
    /// Repaints the scroll parts shown, after a paint of the picture under them.
    void UpdateScrollParts();
    void RepaintNow();
    void RepaintQuietly(); // a paint failure is swallowed (the zoom steps)
    void ScrollBarMoved(Qt::Orientation bar, int position);
    void BoundsChanged();
    /// A zoom key: `steps` of the toolbar's zoom in (positive) or out.
    void KeyZoom(int steps);
    void DrawRubberBand();
    static unsigned PackXY(int x, int y);
    /// A mouse position in the client area's coordinates (inside the border).
    QPoint ClientPoint(QPointF widgetPoint) const;

    // Annotation layer.
    void BindAnnotation();
    bool annotationBound_ = false;

    data::TFieldDataLink dataLink_{this};
    ZoomModel zoom_;
    CreditDisplay credit_;
    QTimer creditTimer_;
    imaging::TBitmap transitionBitmap_;
    imaging::ReadAhead* readAhead_ = nullptr;
    SharpRendering sharp_;
    QImage transitionSurface_; // what a running transition has painted so far
    bool transitionRunning_ = false;

    platform::TCursor grabHandCursor_ = 5;
    bool editAnnotat_ = false;
    int jpegQuality_ = 25, jpegSmooth_ = 0;
    bool autoDisplay_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    bool center_ = true;
    QString text_;
    imaging::TBlitMode blitMode_ = imaging::sLight;
    double version_ = 0;
    platform::TColor color_ = platform::clWindow;
    platform::TColor savedColor_ = platform::clWindow; // the colour before a credit message
    QFont font_;
    QColor initialBrushColor_;
    bool layoutReady_ = false;
    int offsetX_ = 0, offsetY_ = 0;
    bool quietPaint_ = false;

    QScrollBar* vertScrollBar_ = nullptr;
    QScrollBar* horzScrollBar_ = nullptr;
    platform::TPanel* scrollCorner_ = nullptr;

    // Pan and rubber band.
    platform::TCursor cursorBeforeDrag_ = platform::crDefault;
    platform::TCursor screenCursorBeforeDrag_ = platform::crDefault;
    QPoint bandStart_, bandEnd_;
    bool bandRight_ = false, bandLeft_ = false, bandDrawn_ = false;
    platform::TCursor cursorId_ = platform::crDefault; // the control's own cursor
};

} // namespace controls
