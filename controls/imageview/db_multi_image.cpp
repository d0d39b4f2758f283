// SPDX-License-Identifier: MIT
#include "controls/imageview/db_multi_image.h"

#include "controls/imageview/grab_hand.h"
#include "data/data_source.h"
#include "data/field.h"
#include "engines/crde2000/crde2000.h"
#include "imaging/engine/annotation_calls.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/error_invalid.h"
#include "platform/core/error_reporter.h"
#include "platform/ui/panel.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace controls {

namespace {

// The credit texts move on a timer of the view's own: one tick message every 10 ms.
constexpr int kCreditTickMs = 10;

} // namespace

TPDBMultiImage::TPDBMultiImage(QWidget* parent)
    : QWidget(parent)
    , Picture(document_.Picture) {
    setAttribute(Qt::WA_OpaquePaintEvent); // the paint covers the whole area itself
    setFocusPolicy(Qt::StrongFocus);       // a tab stop that takes the focus on a click
    resize(105, 105);
    setContentsMargins(1, 1, 1, 1); // the single border; the client area lies inside it
    version_ = imaging::EngineBinding::Instance().LibraryVersion();
    initialBrushColor_ = platform::ColorToQColor(platform::clWindow);
    font_ = QWidget::font();

    connect(&document_, &PictureDocument::PictureChanged, this, [this] { PictureChanged(); });
    connect(&sharp_, &SharpRendering::Arrived, this, qOverload<>(&QWidget::update));
    dataLink_.OnDataChange = [this] { platform::RunGuarded([this] { DataChange(); }); };
    dataLink_.OnUpdateData = [this] { UpdateData(); };
    // From the first change to the post or cancel, an undo stays within the record's edit
    // (whether or not this view may change the record); the toolbar's Undo follows.
    document_.RecordEditing = [this] {
        const data::TDataSource* source = dataLink_.DataSource();
        return source && data::IsEditState(source->State());
    };
    dataLink_.OnEditingChange = [this] { PostStateChanged(); };

    // Vertical bar first, then the horizontal one; zero size, not tab stops.
    vertScrollBar_ = new QScrollBar(Qt::Vertical, this);
    horzScrollBar_ = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar* bar : {vertScrollBar_, horzScrollBar_}) {
        bar->setGeometry(0, 0, 0, 0);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this, bar](int position) {
            platform::RunGuarded([&] { ScrollBarMoved(bar->orientation(), position); });
        });
    }
    scrollCorner_ = new platform::TPanel(this);
    scrollCorner_->setGeometry(0, 0, 0, 0);
    scrollCorner_->hide();

    creditTimer_.setInterval(kCreditTickMs);
    connect(&creditTimer_, &QTimer::timeout, this, [this] {
        platform::PostMessage(this, ScmShowing() ? kScrollingTickMessage : kRollingTickMessage);
    });

    platform::CursorRegistry::Set(5, GrabHandCursorShape());
    grabHandCursor_ = 5;
}

TPDBMultiImage::~TPDBMultiImage() {
    if (annotationBound_) {
        try {
            imaging::DestroyAnnotation(this);
        } catch (...) { // a destructor reports nothing
        }
    }
    document_.disconnect(this);
    document_.RecordEditing = nullptr;
    dataLink_.OnEditingChange = nullptr;
    dataLink_.OnDataChange = nullptr;
    dataLink_.OnUpdateData = nullptr;
    dataLink_.SetDataSource(nullptr);
}

void TPDBMultiImage::Loaded() {
    layoutReady_ = true;
    scrollCorner_->SetBevels(platform::TBevel::bvNone, platform::TBevel::bvNone, 0);
    scrollCorner_->setFrameShape(QFrame::NoFrame);
    LayoutScrollBars();
    BindAnnotation();
}

// ---- Properties ----------------------------------------------------------------------------

void TPDBMultiImage::SetGrabHandCursor(platform::TCursor id) {
    if (id == grabHandCursor_)
        return;
    platform::CursorRegistry::Set(id, platform::CursorRegistry::Get(5));
    grabHandCursor_ = id;
}

void TPDBMultiImage::SetEditAnnotat(bool value) {
    if (value != editAnnotat_) {
        if (!value)
            imaging::RubberBandOFF(this);
        editAnnotat_ = value;
        platform::PostMessage(AnnotationWindow, kAnnotationEditMessage, value ? 1 : 0,
                              reinterpret_cast<std::intptr_t>(this));
        update();
    }
    PostStateChanged();
}

void TPDBMultiImage::SetScrolling(bool value) {
    zoom_.Scrolling = value;
    LayoutScrollBars();
    vertScrollBar_->setEnabled(value);
    horzScrollBar_->setEnabled(value);
    scrollCorner_->setEnabled(value);
    PictureChanged();
}

void TPDBMultiImage::SetShowScrollbars(bool value) {
    SyncZoomModel();
    zoom_.SetShowScrollbars(value);
    LayoutScrollBars();
    PictureChanged();
}

void TPDBMultiImage::SetJPegSaveQuality(int value) {
    jpegQuality_ = value >= 1 && value <= 100 ? value : 25;
}

void TPDBMultiImage::SetJPegSaveSmooth(int value) {
    jpegSmooth_ = value >= 1 && value <= 100 ? value : 5;
}

void TPDBMultiImage::SetAutoDisplay(bool value) {
    if (value == autoDisplay_)
        return;
    autoDisplay_ = value;
    if (value)
        LoadPicture();
}

void TPDBMultiImage::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    // The border lies inside the widget: the client area shrinks by one pixel on each side.
    setContentsMargins(value == bsSingle ? QMargins(1, 1, 1, 1) : QMargins());
    update();
}

void TPDBMultiImage::SetCenter(bool value) {
    if (value != center_) {
        center_ = value;
        update();
    }
    PostStateChanged();
}

void TPDBMultiImage::SetDataSource(data::TDataSource* source) {
    if (DataSource())
        disconnect(DataSource(), &QObject::destroyed, this, nullptr);
    dataLink_.SetDataSource(source);
    // The removal of the source leaves the control without one, and without a failure.
    if (source)
        connect(source, &QObject::destroyed, this, [this] { dataLink_.SetDataSource(nullptr); });
}

void TPDBMultiImage::SetStretchRatio(bool value) {
    SyncZoomModel();
    zoom_.SetStretchRatio(value);
    update();
    PostStateChanged();
}

void TPDBMultiImage::SetStretch(bool value) {
    if (value == zoom_.Stretch)
        return;
    zoom_.Stretch = value;
    if (value && zoom_.StretchRatio()) {
        SyncZoomModel();
        zoom_.SetStretchRatio(false);
        zoom_.Stretch = true;
    }
    update();
}

void TPDBMultiImage::SetScrollbarWidth(int value) {
    if (value == zoom_.ScrollbarWidth)
        return;
    zoom_.ScrollbarWidth = value;
    update();
}

void TPDBMultiImage::SetText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    update(); // the overlay is drawn with the picture as with the placeholder
}

void TPDBMultiImage::SetBlitMode(imaging::TBlitMode value) {
    blitMode_ = value;
    RepaintNow();
}

void TPDBMultiImage::SetColor(platform::TColor value) {
    color_ = value;
    update();
}

void TPDBMultiImage::SetFont(const QFont& font) {
    font_ = font;
    update();
}

int TPDBMultiImage::DeviceBitsPerPixel() const {
    return imaging::DisplayBitDepth(this);
}

imaging::HPALETTE TPDBMultiImage::GetPalette() const {
    return imaging::EngineBinding::Instance().SharedPalette();
}

// ---- Data link -----------------------------------------------------------------------------

void TPDBMultiImage::DataChange() {
    // While the record is edited it cannot change: only its fields do.
    if (!document_.RecordEditing())
        document_.RecordChanged();
    document_.Info.Clear();
    if (ScmShowing() || CmsShowing())
        ClearPicture(true);
    document_.Loaded = false;
    if (autoDisplay_)
        LoadPicture();
    else
        update();
    document_.RecordShown();
}

void TPDBMultiImage::PictureChanged() {
    dataLink_.SetModified();
    document_.Loaded = true;
    SyncZoomModel();
    if (OnPictureChanged)
        OnPictureChanged(this);
    update();
}

void TPDBMultiImage::PostStateChanged() {
    platform::PostMessage(ToolbarWindow, kStateChangedMessage, 0,
                          reinterpret_cast<std::intptr_t>(this));
}

void TPDBMultiImage::ClearPicture(bool emptyPicture) {
    if (ScmShowing() || CmsShowing())
        color_ = savedColor_;
    credit_.Stop();
    creditTimer_.stop();
    sharp_.Clear();
    if (emptyPicture) {
        Picture.Clear();
        update(); // the next paint fills the whole area with the colour
    }
}

// ---- Messages and keys ---------------------------------------------------------------------

bool TPDBMultiImage::event(QEvent* event) {
    if (event->type() == platform::MessageEvent::EventType()) {
        auto& message = static_cast<platform::MessageEvent&>(*event);
        platform::RunGuarded([&] { HandleMessage(message); });
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // The clipboard keys belong to the view while it has the focus.
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
            key->matches(QKeySequence::Cut)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void TPDBMultiImage::HandleMessage(platform::MessageEvent& message) {
    switch (message.Msg) {
    case kScrollingTickMessage:
        CreditTick(CreditDisplay::Kind::Scrolling);
        break;
    case kRollingTickMessage:
        CreditTick(CreditDisplay::Kind::Rolling);
        break;
    case kAnnotationClickMessage: {
        const bool selecting = message.WParam == 1;
        if (OnAnnoClick)
            OnAnnoClick(this, message.LParam, selecting);
        if (message.LParam != 0)
            platform::PostMessage(AnnotationWindow, kAnnotationObjectMessage, message.WParam,
                                  message.LParam);
        break;
    }
    case WM_CUT:
        CutToClipboard();
        break;
    case WM_COPY:
        CopyToClipboard();
        break;
    case WM_PASTE:
        PasteFromClipboard();
        break;
    case WM_COMMAND:
        if (editAnnotat_)
            imaging::MenuMsg(this, int(message.WParam & 0xFFFF));
        break;
    default:
        break;
    }
}

void TPDBMultiImage::keyPressEvent(QKeyEvent* event) {
    platform::RunGuarded([&] {
        int key = event->key();
        const Qt::KeyboardModifiers shift = event->modifiers();
        if (OnKeyDown)
            OnKeyDown(this, key, shift);
        if (key != 0)
            KeyDown(key, shift);
        // The character level: control characters for Ctrl + letter, as the platform sends.
        QChar ch;
        if (shift & Qt::ControlModifier) {
            if (event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
                ch = QChar(event->key() - Qt::Key_A + 1);
        } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            ch = QChar(13);
        } else if (event->key() == Qt::Key_Escape) {
            ch = QChar(27);
        } else if (!event->text().isEmpty()) {
            ch = event->text().at(0);
        }
        if (!ch.isNull()) {
            if (OnKeyPress)
                OnKeyPress(this, ch);
            if (!ch.isNull())
                KeyPress(ch);
        }
    });
    event->accept();
}

void TPDBMultiImage::keyReleaseEvent(QKeyEvent* event) {
    int key = event->key();
    if (OnKeyUp)
        OnKeyUp(this, key, event->modifiers());
    QWidget::keyReleaseEvent(event);
}

void TPDBMultiImage::KeyDown(int key, Qt::KeyboardModifiers shift) {
    // The zoom keys, beside the toolbar's buttons: Ctrl+Plus (or Ctrl+=) and Ctrl+Minus zoom
    // around the middle of the view, Ctrl+0 fits the picture.
    const bool control = (shift & Qt::ControlModifier) != 0;
    if (control && (key == Qt::Key_Plus || key == Qt::Key_Equal))
        KeyZoom(1);
    else if (control && key == Qt::Key_Minus)
        KeyZoom(-1);
    else if (control && key == Qt::Key_0)
        SetStretchRatio(true);
    else if (key == Qt::Key_Insert && (shift & Qt::ShiftModifier))
        PasteFromClipboard();
    else if (key == Qt::Key_Insert && (shift & Qt::ControlModifier))
        CopyToClipboard();
    else if (key == Qt::Key_Delete && (shift & Qt::ShiftModifier))
        CutToClipboard();
    else if (key == Qt::Key_Delete && editAnnotat_ && annotationBound_)
        imaging::MenuMsg(this, CRDE_ANNO_DELETE); // the selected annotation

    platform::PostMessage(AnnotationWindow, kKeyDownMessage, key,
                          reinterpret_cast<std::intptr_t>(this));
}

void TPDBMultiImage::KeyZoom(int steps) {
    if (!Picture.HasGraphic())
        return;
    // A fitted picture leaves the fit at the zoom it was fitted at, then takes the step.
    if (StretchRatio()) {
        SyncZoomModel();
        const double fitted = zoom_.ZoomFactor;
        SetStretchRatio(false);
        zoom_.ZoomFactor = fitted;
    }
    SyncZoomModel();
    const QSize client = ClientSize();
    if (zoom_.WheelZoom(steps, QPoint(client.width() / 2, client.height() / 2)))
        RepaintNow();
    PostStateChanged();
}

bool TPDBMultiImage::KeyPress(QChar key) {
    switch (key.unicode()) {
    case 3:
        CopyToClipboard();
        return true;
    case 13:
        LoadPicture();
        return true;
    case 22:
        PasteFromClipboard();
        return true;
    case 24:
        CutToClipboard();
        return true;
    case 27:
        // The link shows the stored value again: the picture comes back from the field.
        dataLink_.Reset();
        return true;
    default:
        return false;
    }
}

void TPDBMultiImage::focusInEvent(QFocusEvent* event) {
    if (OnEnter)
        OnEnter(this);
    update();
    QWidget::focusInEvent(event);
}

void TPDBMultiImage::focusOutEvent(QFocusEvent* event) {
    if (OnExit)
        OnExit(this);
    update();
    QWidget::focusOutEvent(event);
}

void TPDBMultiImage::mouseDoubleClickEvent(QMouseEvent* event) {
    platform::RunGuarded([&] {
        if (event->button() == Qt::LeftButton)
            LoadPicture();
        if (OnDblClick)
            OnDblClick(this);
    });
}

} // namespace controls
