// SPDX-License-Identifier: MIT
#pragma once

#include "controls/imagetoolbar/media_dialogs.h"
#include "controls/imageview/db_multi_image.h"
#include "platform/core/cursors.h"
#include "platform/ui/panel.h"

#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <set>
#include <span>

namespace controls {

class TILDBMultiImageToolBarButton;

/// The kinds of the toolbar's buttons, in their order.
enum TILDBMultiImageToolBarBtn {
    ibdbiOpen,
    ibdbiSave,
    ibdbiPrint,
    ibdbiScan,
    ibdbiSelectScanner,
    ibdbiPanZoom,
    ibdbiZoomIn,
    ibdbiZoomOut,
    ibdbiBestFit,
    ibdbiCenter,
    ibdbiResetZoom,
    ibdbiCut,
    ibdbiCopy,
    ibdbiPaste,
    ibdbiUndo,
    ibdbiAnnotEdit,
    ibdbiInvert,
    ibdbiRotate90,
    ibdbiRotate180,
    ibdbiEffects,
};
constexpr int kToolbarButtonCount = 20;
using TILDBMultiImageToolBarButtonSet = std::set<TILDBMultiImageToolBarBtn>;

class TILDBMultiImageToolBar;

/// What one kind of button is and does, in one row.
struct ToolbarButtonRow {
    /// When the button can be clicked (the view is enabled in every case).
    enum class Enabling {
        View,             // whenever the view is
        ViewNotFitted,    // while the view is not fitted
        ClipboardPicture, // while the clipboard holds a picture
        Undo,             // while an undo would bring a picture back for this view
    };
    TILDBMultiImageToolBarBtn Kind;
    /// The button's name after "ILTB_", which also names its glyph resource.
    const char* Stem;
    const char* Hint;
    /// 0: a push button; else the button stays down, alone in its group.
    int Group = 0;
    /// The action runs under the wait cursor.
    bool Busy = false;
    Enabling Enabled = Enabling::View;
    /// Whether the button is shown down; null: a push button.
    bool (*Pressed)(const TPDBMultiImage& view) = nullptr;
    /// What a click does (`pressed`: the button's state after the click).
    void (*Run)(TILDBMultiImageToolBar& bar, TPDBMultiImage& view, bool pressed) = nullptr;
};

/// How the toolbar lies in its parent: placed by its bounds, or filling the top edge.
enum class TToolbarAlign { alNone, alTop };

/// A row of twenty small buttons bound to one image view: each click is one operation of
/// the view, and the buttons' enabled and pressed states follow the view's state messages.
class TILDBMultiImageToolBar : public platform::TPanel {
    Q_OBJECT
public:
    explicit TILDBMultiImageToolBar(QWidget* owner = nullptr);
    ~TILDBMultiImageToolBar() override;

    static constexpr int MinButtonWidth = 20;
    static constexpr int MinButtonHeight = 18;

    TILDBMultiImageToolBarButton* Buttons(int kind) const;
    /// Every kind of button, in the order of the kinds.
    static std::span<const ToolbarButtonRow> Rows();
    TPDBMultiImage* DBMultiImage() const { return image_; }
    void SetDBMultiImage(TPDBMultiImage* image);
    const TILDBMultiImageToolBarButtonSet& VisibleButtons() const { return visible_; }
    void SetVisibleButtons(const TILDBMultiImageToolBarButtonSet& kinds);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    /// The custom hints (line i for kind i), or the defaults when there are none.
    QStringList Hints() const;
    void SetHints(const QStringList& hints);
    const QStringList& DefaultHints() const { return defaultHints_; }
    TToolbarAlign Align = TToolbarAlign::alNone;
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void SetTabStop(bool value);
    int ButtonWidth() const { return buttonWidth_; }
    int FocusedButton() const { return focused_; }

    QPointer<TMMOpenDialog> MMOpenDialog;
    QPointer<TMMSaveDialog> MMSaveDialog;
    QPointer<TPrintDialog> PrintDialog;
    std::function<void(TILDBMultiImageToolBar*, TILDBMultiImageToolBarBtn, bool& process)>
        BeforeAction;
    std::function<void(TILDBMultiImageToolBar*, TILDBMultiImageToolBarBtn)> AfterAction;

    void SetBounds(int left, int top, int width, int height);
    void ArrangeButtons(int& width, int& height);
    void ApplyHints();
    void UpdateButtonsEnabled();
    void RefreshButtons();
    /// The action of one kind, as a click or the Space key runs it.
    void ButtonAction(TILDBMultiImageToolBarButton* sender, int kind);
    /// A mouse-down on a button: the focus mark moves to it.
    void ButtonMouseDown(int kind);
    /// How many times the toolbar has painted itself (its buttons included).
    int Paints() const { return paints_; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void RunAction(int kind);
    /// The wait cursor until the action is over (the default cursor follows it).
    void Busy();
    /// After an action, also a failed one: the default cursor and the buttons in step.
    void Settle();
    void Open();
    void Save();
    void Print();
    QWidget* ParentWindow() const;
    void Rearrange();

    std::array<TILDBMultiImageToolBarButton*, kToolbarButtonCount> buttons_{};
    std::optional<platform::WaitCursor> busy_;
    QPointer<TPDBMultiImage> image_;
    TILDBMultiImageToolBarButtonSet visible_;
    bool flat_ = true;
    QStringList hints_, defaultHints_;
    int buttonWidth_ = 0;
    int focused_ = 0;
    int paints_ = 0;
    bool arranging_ = false;
};

} // namespace controls
