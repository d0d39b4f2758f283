// SPDX-License-Identifier: MIT
#pragma once

#include "controls/imageview/print_placement.h"

#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;
class QRadioButton;

/// The print dialog's Placement page: the picture at its own size (the default), fitted to
/// the page, or fitted into a size in millimetres; centred or at the top left. The last
/// choice is kept, and the print preview shows it.
class PrintPlacementPage : public QWidget {
public:
    PrintPlacementPage();

    controls::PrintPlacement Placement() const;
    /// Keeps the choice for the next print and preview.
    void Remember() const;
    /// The choice kept last (the default when none was).
    static controls::PrintPlacement Remembered();

private:
    void Follow();

    QRadioButton* own_;
    QRadioButton* fit_;
    QRadioButton* sized_;
    QDoubleSpinBox* width_;
    QDoubleSpinBox* height_;
    QCheckBox* centred_;
};
