// SPDX-License-Identifier: MIT
// The image toolbar: its buttons, their layout, hints and states, and the keyboard. The
// actions are in toolbar_actions.cpp.
#include "controls/imagetoolbar/image_toolbar.h"

#include "controls/imagetoolbar/toolbar_button.h"
#include "controls/imageview/db_multi_image.h"
#include "platform/core/messages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPaintEvent>

namespace controls {

namespace {

// Whether the clipboard holds something a picture can be pasted from; only its list of
// formats is looked at, nothing is decoded.
bool ClipboardHasPicture() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return false;
    for (const QString& format : mime->formats())
        if (format.startsWith(QLatin1String("image/")) ||
            format == QLatin1String("application/x-qt-image"))
            return true;
    return false;
}

} // namespace

TILDBMultiImageToolBar::TILDBMultiImageToolBar(QWidget* owner)
    : platform::TPanel(owner, platform::TBevel::bvNone, platform::TBevel::bvNone) {
    setFocusPolicy(Qt::NoFocus); // TabStop off
    for (int k = 0; k < kToolbarButtonCount; ++k)
        visible_.insert(static_cast<TILDBMultiImageToolBarBtn>(k));
    for (int k = 0; k < kToolbarButtonCount; ++k) {
        auto* b = new TILDBMultiImageToolBarButton(this, k);
        const ToolbarButtonRow& row = Rows()[std::size_t(k)];
        b->setObjectName(QStringLiteral("ILTB_") + QLatin1String(row.Stem));
        b->SetFlat(flat_);
        b->GroupIndex = row.Group;
        b->setCheckable(row.Group != 0); // alone in its group: a second click releases
        b->setGeometry(20 * k, 0, 20, 18);
        b->SetGlyphs(b->objectName());
        b->setEnabled(false);
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, b] { ButtonAction(b, b->Index()); });
        connect(b, &QObject::destroyed, this, [this, k] { buttons_[std::size_t(k)] = nullptr; });
        buttons_[std::size_t(k)] = b;
    }
    ApplyHints();
    resize(241, 25);
    buttonWidth_ = 0;
    focused_ = 0;
}

TILDBMultiImageToolBar::~TILDBMultiImageToolBar() {
    SetDBMultiImage(nullptr);
}

TILDBMultiImageToolBarButton* TILDBMultiImageToolBar::Buttons(int kind) const {
    return kind >= 0 && kind < kToolbarButtonCount ? buttons_[std::size_t(kind)] : nullptr;
}

void TILDBMultiImageToolBar::SetDBMultiImage(TPDBMultiImage* image) {
    image_ = image;
    if (image)
        image->ToolbarWindow = this;
    UpdateButtonsEnabled();
}

void TILDBMultiImageToolBar::SetVisibleButtons(const TILDBMultiImageToolBarButtonSet& kinds) {
    visible_ = kinds;
    for (int k = 0; k < kToolbarButtonCount; ++k)
        if (buttons_[std::size_t(k)])
            buttons_[std::size_t(k)]->setVisible(
                visible_.count(static_cast<TILDBMultiImageToolBarBtn>(k)) > 0);
    Rearrange();
    update();
}

void TILDBMultiImageToolBar::SetFlat(bool flat) {
    if (flat == flat_)
        return;
    flat_ = flat;
    for (auto* b : buttons_)
        if (b)
            b->SetFlat(flat);
}

void TILDBMultiImageToolBar::SetTabStop(bool value) {
    setFocusPolicy(value ? Qt::TabFocus : Qt::NoFocus);
}

QStringList TILDBMultiImageToolBar::Hints() const {
    return hints_.isEmpty() ? defaultHints_ : hints_;
}

void TILDBMultiImageToolBar::SetHints(const QStringList& hints) {
    if (defaultHints_.isEmpty())
        ApplyHints();
    hints_ = hints.join(u'\n') == defaultHints_.join(u'\n') ? QStringList() : hints;
    ApplyHints();
}

void TILDBMultiImageToolBar::ApplyHints() {
    if (defaultHints_.isEmpty())
        for (const ToolbarButtonRow& row : Rows())
            defaultHints_ << QString::fromUtf8(row.Hint);
    for (int k = 0; k < kToolbarButtonCount; ++k)
        if (buttons_[std::size_t(k)])
            buttons_[std::size_t(k)]->setToolTip(defaultHints_[k]);
    for (int i = 0; i < hints_.size() && i < kToolbarButtonCount; ++i)
        if (!hints_[i].isEmpty() && buttons_[std::size_t(i)])
            buttons_[std::size_t(i)]->setToolTip(hints_[i]);
    // Assistive tools name each button by its hint, as the pointer's tooltip does.
    for (auto* b : buttons_)
        if (b)
            b->setAccessibleName(b->toolTip());
}

void TILDBMultiImageToolBar::ArrangeButtons(int& width, int& height) {
    if (!buttons_[0])
        return;
    int n = int(visible_.size());
    if (n == 0)
        n = 1;
    width = std::max(width, n * MinButtonWidth);
    height = std::max(height, MinButtonHeight);
    buttonWidth_ = width / n;
    if (Align == TToolbarAlign::alNone)
        width = n * buttonWidth_; // a whole number of buttons
    const int space = width - n * buttonWidth_;
    int gap = n / 2, x = 0;
    for (int k = 0; k < kToolbarButtonCount; ++k) {
        TILDBMultiImageToolBarButton* b = buttons_[std::size_t(k)];
        if (!b)
            continue;
        if (visible_.count(static_cast<TILDBMultiImageToolBarBtn>(k))) {
            int extra = 0;
            // The left-over pixels go one each to evenly spaced buttons.
            if (space != 0) {
                gap -= space;
                if (gap < 0) {
                    gap += n;
                    extra = 1;
                }
            }
            b->setGeometry(x, 0, buttonWidth_ + extra, height);
            x += buttonWidth_ + extra;
        } else {
            b->setGeometry(this->width() + 1, 0, buttonWidth_, height);
        }
    }
}

void TILDBMultiImageToolBar::SetBounds(int left, int top, int width, int height) {
    ArrangeButtons(width, height);
    setGeometry(left, top, width, height);
}

void TILDBMultiImageToolBar::Rearrange() {
    if (arranging_)
        return;
    arranging_ = true;
    int w = width(), h = height();
    ArrangeButtons(w, h);
    if (w != width() || h != height()) {
        if (Align == TToolbarAlign::alNone)
            setGeometry(x(), y(), w, h);
        else
            setMinimumSize(w, h);
    }
    arranging_ = false;
}

void TILDBMultiImageToolBar::resizeEvent(QResizeEvent* event) {
    platform::TPanel::resizeEvent(event);
    Rearrange();
}

void TILDBMultiImageToolBar::UpdateButtonsEnabled() {
    if (!isEnabled() || !image_)
        for (auto* b : buttons_)
            if (b)
                b->setEnabled(false);
    RefreshButtons();
}

void TILDBMultiImageToolBar::RefreshButtons() {
    if (!image_ || !isEnabled())
        return;
    const bool e = image_->isEnabled();
    const bool fit = image_->StretchRatio();
    for (const ToolbarButtonRow& row : Rows()) {
        TILDBMultiImageToolBarButton* b = buttons_[std::size_t(row.Kind)];
        if (!b)
            continue;
        bool enabled = e;
        switch (row.Enabled) {
        case ToolbarButtonRow::Enabling::View:
            break;
        case ToolbarButtonRow::Enabling::ViewNotFitted:
            enabled = e && !fit;
            break;
        case ToolbarButtonRow::Enabling::ClipboardPicture:
            enabled = e && ClipboardHasPicture();
            break;
        case ToolbarButtonRow::Enabling::Undo:
            enabled = e && image_->Document().UndoAvailable();
            break;
        }
        if (b->isEnabled() != enabled)
            b->setEnabled(enabled);
        if (row.Pressed && b->isChecked() != row.Pressed(*image_))
            b->setChecked(row.Pressed(*image_));
    }
}

bool TILDBMultiImageToolBar::event(QEvent* event) {
    if (event->type() == platform::MessageEvent::EventType()) {
        auto* m = static_cast<platform::MessageEvent*>(event);
        if (m->Msg == kStateChangedMessage &&
            m->LParam == reinterpret_cast<std::intptr_t>(image_.data()))
            RefreshButtons();
        return true;
    }
    return platform::TPanel::event(event);
}

bool TILDBMultiImageToolBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint)
        ++paints_;
    return platform::TPanel::eventFilter(watched, event);
}

void TILDBMultiImageToolBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        UpdateButtonsEnabled();
    platform::TPanel::changeEvent(event);
}

void TILDBMultiImageToolBar::ButtonMouseDown(int kind) {
    const int old = focused_;
    focused_ = kind;
    if (!TabStop())
        return;
    if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
    } else if (old != kind) {
        if (auto* b = Buttons(old))
            b->update();
        if (auto* b = Buttons(kind))
            b->update();
    }
}

void TILDBMultiImageToolBar::keyPressEvent(QKeyEvent* event) {
    const int old = focused_;
    switch (event->key()) {
    case Qt::Key_Space:
        if (auto* b = Buttons(focused_); b && b->isEnabled())
            ButtonAction(b, focused_); // the pressed state is the mouse's to change
        return;
    case Qt::Key_Left:
        do
            --focused_;
        while (focused_ > 0 && !visible_.count(static_cast<TILDBMultiImageToolBarBtn>(focused_)));
        focused_ = std::max(focused_, 0);
        break;
    case Qt::Key_Right:
        do
            ++focused_;
        while (focused_ < kToolbarButtonCount - 1 &&
               !visible_.count(static_cast<TILDBMultiImageToolBarBtn>(focused_)));
        focused_ = std::min(focused_, kToolbarButtonCount - 1);
        break;
    default:
        platform::TPanel::keyPressEvent(event);
        return;
    }
    if (focused_ != old) {
        if (auto* b = Buttons(old))
            b->update();
        if (auto* b = Buttons(focused_))
            b->update();
    }
}

void TILDBMultiImageToolBar::focusInEvent(QFocusEvent* event) {
    platform::TPanel::focusInEvent(event);
    if (auto* b = Buttons(focused_))
        b->update();
}

void TILDBMultiImageToolBar::focusOutEvent(QFocusEvent* event) {
    platform::TPanel::focusOutEvent(event);
    if (auto* b = Buttons(focused_))
        b->update();
}

} // namespace controls
