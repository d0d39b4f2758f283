// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QList>
#include <QPageSize>

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
    bool printerChosen_ = false; // the user picked a printer (else the current one stays)
    QComboBox* paper_;
    QList<QPageSize> papers_; // the paper box's entries, in its order
    QRadioButton* portrait_;
    QRadioButton* landscape_;
};

} // namespace platform
