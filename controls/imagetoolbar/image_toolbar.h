// SPDX-License-Identifier: MIT
#pragma once

#include "controls/imagetoolbar/media_dialogs.h"
#include "controls/imageview/db_multi_image.h"
#include "platform/ui/panel.h"

#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <set>

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
    void Open();
    void Save();
    void Print();
    QWidget* ParentWindow() const;
    void Rearrange();

    std::array<TILDBMultiImageToolBarButton*, kToolbarButtonCount> buttons_{};
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
