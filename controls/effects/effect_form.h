// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/engine/effects_binding.h"
#include "imaging/image_types.h"
#include "platform/core/cursors.h"
#include "platform/memory/memory_block.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <vector>

class QAbstractButton;
class QAbstractSpinBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QVBoxLayout;

namespace controls {

class EffectPreview;

/// The "Filters and Effects" window: a picture (a DIB) goes in, the user changes it with the
/// effects engine's operations while a preview shows the result, and it comes out on OK with
/// the transition settings. The tone sliders act last, on the result of the other operations;
/// "Reset" goes back to the picture as it came in.
class TEffectForm : public QDialog {
    Q_OBJECT
public:
    explicit TEffectForm(QWidget* owner);
    ~TEffectForm() override;

    /// The window that is open, if any (one at a time).
    static TEffectForm* Current();

    // The values passed in and out.
    int FXDelay() const;
    void SetFXDelay(int delay);
    int FXColRowThick() const;
    void SetFXColRowThick(int thickness);
    /// Checks exactly the choice of the transition.
    void SetTransition(imaging::TFXMethod method);
    /// The radio choice of a transition, in the order of TFXMethod.
    QRadioButton* TransitionChoice(imaging::TFXMethod method) const;
    /// The picture, which the window now owns.
    void SetDib(HGLOBAL dib);
    /// The picture with every change made, tones included; the window keeps it.
    HGLOBAL Dib();
    /// The colour the corners of a rotated picture take.
    void SetRotateBackground(const QColor& colour) { rotateBackground_ = colour; }
    /// The cursor shown while the window is open (the caller's, before its wait cursor).
    platform::TCursor RestoreCursor = platform::crDefault;

    // The window's operations, as its buttons call them; each works on the whole picture.
    void ApplyEffect(imaging::Effect effect, double value = 0);
    void InvertPicture();
    void RotatePicture(double degrees);
    /// Reduces to 2, 16 or 256 colours; dither 0 none, else 1 + the engine's method.
    void ReduceColours(int colours, int dither);
    void SetTones(int brightness, int contrast, double gamma);
    void ResetPicture();
    /// Plays the chosen transition in the preview.
    void PreviewTransition();

    /// What the preview shows: the picture fitted into the preview, tones applied.
    const QImage& PreviewImage() const { return preview_; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QWidget* BuildTones();
    QWidget* BuildColours();
    QWidget* BuildGeometry();
    QWidget* BuildTransitions();
    /// The tab's operations as their rows describe them.
    void BuildRows(imaging::EffectRow::Tab tab, QWidget* page, QVBoxLayout* layout);
    /// A row's button (run with the value in `value`, if any) and its value box.
    QAbstractButton* RowButton(const imaging::EffectRow& row, QWidget* parent,
                               QAbstractSpinBox* value = nullptr);
    QAbstractSpinBox* RowValue(const imaging::EffectRow& row, QWidget* parent);
    // Replaces the picture by the operation's result (none: a message, the picture kept).
    void Replace(HGLOBAL result);
    void RebuildPreviewBase();
    void RefreshPreview();
    HGLOBAL WithTones(HGLOBAL dib) const;
    void SleepInPreview(int milliseconds);

    platform::MemoryBlock original_; // as given, for Reset
    platform::MemoryBlock base_;     // after the operations, before the tones
    platform::MemoryBlock result_;   // the last Dib()
    QImage previewBase_, preview_;
    QColor rotateBackground_ = Qt::white;
    bool stopping_ = false;

    EffectPreview* previewWidget_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QSlider* brightness_ = nullptr;
    QSlider* contrast_ = nullptr;
    QSlider* gamma_ = nullptr;
    QComboBox* colours_ = nullptr;
    QComboBox* dither_ = nullptr;
    std::vector<QSlider*> tones_; // in the order of their rows
    QSpinBox* delay_ = nullptr;
    QSpinBox* thickness_ = nullptr;
    std::array<QRadioButton*, 6> transitions_{};
    QList<QWidget*> pictureControls_;
};

} // namespace controls
