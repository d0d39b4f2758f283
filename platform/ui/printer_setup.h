// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

class QComboBox;
class QPrinter;
class QRadioButton;

namespace platform {

/// Print Setup: which printer, its paper and the page's orientation, for the program's
/// printer. The toolkit's page setup offers no printer choice here, so the program has its own.
class PrinterSetup : public QDialog {
public:
    PrinterSetup(const QPrinter& printer, QWidget* parent = nullptr);
    /// Gives the printer the choices made.
    void Apply(QPrinter& printer) const;

private:
    QComboBox* printer_;
    QComboBox* paper_;
    QRadioButton* portrait_;
    QRadioButton* landscape_;
};

} // namespace platform
